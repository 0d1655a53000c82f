#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "show/ShowMemory.h"

namespace lumetra {

// The beam editor reads two adjacent channels of each scene as a point: the
// first channel is X, the next one Y. The pair is chosen by a slider
// position p (0..253): X is channel p + 1, Y channel p + 2. Scenes are
// always addressed by their index, never through CurrentSceneBase, so the
// tick's view of the current scene is never disturbed.
namespace xy {
constexpr int kMaxFirstChannel = 253;
constexpr int kNoScene = 300;  // grabbed scene when no point is held
constexpr int kHitRadius = 3;  // levels around the cursor that grab a point
constexpr int kAreaSize = 256;
}  // namespace xy

struct XyPoint {
    int x = 0;
    int y = 0;
    bool operator==(const XyPoint&) const = default;
};

// The scene range of the editor as the operator sees it: scene numbers
// from..to (1-based), scene indices from - 1 .. to - 1.
struct XyRange {
    int from = 1;
    int to = 32;
    int first() const { return from - 1; }
    // Never past the last scene of the show image.
    int last() const { return to - 1 < layout::kSceneCount ? to - 1 : layout::kSceneCount - 1; }
    bool contains(int scene) const { return scene >= first() && scene <= last(); }
};

// "Все сцены": the whole show, scene 1 to the last scene.
XyRange wholeShowRange(const ShowMemory& show);

// The point of pair p in a scene, and its direct write (no clamping needed:
// both values are levels already).
XyPoint pointOf(const ShowMemory& show, int firstChannel, int scene);
void setPoint(ShowMemory& show, int firstChannel, int scene, XyPoint point);

// A mouse position on the 256 x 256 area (column, row; row 0 at the top) as
// a point: clamped to the area, Y growing upwards. pixelOf is the inverse.
XyPoint fromPixel(int column, int row);
constexpr XyPoint pixelOf(XyPoint point) {
    return {point.x, 255 - point.y};
}

// Hit test: the scene of the range whose point lies within 3 levels of the
// cursor in both axes. The scan runs from the top of the range down and
// every match overwrites, so the lowest-numbered scene wins; nullopt when
// nothing matches.
std::optional<int> SearchScena(const ShowMemory& show, int firstChannel, XyRange range, XyPoint at);

// The nudge, mirror and size buttons by their held-button code.
enum class XyNudge {
    None = 0,
    Right = 1,
    Left = 2,
    Up = 3,
    Down = 4,
    MirrorX = 5,
    MirrorY = 6,
    Shrink = 7,
    Grow = 8
};

// Codes that the repeat timer keeps applying while the button is held.
constexpr bool repeats(XyNudge code) {
    return code == XyNudge::Right || code == XyNudge::Left || code == XyNudge::Up ||
           code == XyNudge::Down || code == XyNudge::Shrink || code == XyNudge::Grow;
}

// One step of a nudge, mirror or size code over every scene of the range.
// Levels never leave 0..255; 0 and 255 are fixed points of shrink and grow.
void ButtonRepeat(ShowMemory& show, int firstChannel, XyRange range, XyNudge code);

// Circle point mapping: ceil(sin(angle) * size / 2) and the same for the
// cosine, each mapped to a level (v + 127 from 0 up, v + 128 below 0).
// Angles are whole degrees, any sign. The circular figures and the
// rotation take the sine byte as X and the cosine byte as Y: angle 0 points
// straight up and growing angles turn clockwise on the screen.
struct SinusBytes {
    std::uint8_t sine;
    std::uint8_t cosine;
};
SinusBytes Sinus(int angle, int size);

// Turns a point about the centre clockwise on the screen by angle degrees,
// keeping its distance from the centre within one level.
XyPoint RotateXY(int x, int y, int angle);

// RotateXY over every scene of the range; angle 0 changes nothing.
void RotateArea(ShowMemory& show, int firstChannel, XyRange range, int angle);

// Copies pair 1 of every scene of the range into the other pairs, given by
// their slider positions; a negative position is a pair that is not ticked.
// The caller takes the undo copy first.
void CopyToPairs(ShowMemory& show, int firstChannel, XyRange range,
                 const std::array<int, 3>& targets);

// The drag state of the path area: which button is held and which scene
// the cursor holds.
struct XyDrag {
    enum Mode { Idle = 0, Moving = 1, Sizing = 2 };
    int mode = Idle;
    int grabbed = xy::kNoScene;

    // Mouse down (left: Moving, otherwise Sizing). The held point's scene
    // becomes current when changeScene is set and the show is stopped
    // (never while it plays); the show grows to reach it if needed. Returns
    // true when cell 131 was set.
    bool press(ShowMemory& show, int firstChannel, XyRange range, XyPoint at, bool left,
               bool running, bool changeScene);
    // Mouse move: the hit test runs again (so a point dragged across a
    // lower-numbered one hands over to it); while Moving, the held point
    // goes to the cursor. Returns the scene hit, if any.
    std::optional<int> move(ShowMemory& show, int firstChannel, XyRange range, XyPoint at);
    void release() { mode = Idle; }
};

}  // namespace lumetra
