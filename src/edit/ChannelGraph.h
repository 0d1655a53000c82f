#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/Console.h"

namespace lumetra {

// The graph of one channel across the scenes ("График Канала"): 512 x 256
// pixels, one column per scene of the page shown, bar height = level.
namespace graph {
constexpr int kWidth = 512;
constexpr int kHeight = 256;
constexpr int kPenLastScene = 254;  // the pen never writes scene 255

struct Rgb {
    std::uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};
inline constexpr Rgb kBackground{50, 150, 150};
inline constexpr Rgb kBar{255, 255, 10};
inline constexpr Rgb kEndOfShow{0, 0, 255};
inline constexpr Rgb kCurrentScene{0, 255, 0};
inline constexpr Rgb kAnchor{255, 0, 0};

// A filled rectangle, right and bottom edges exclusive.
struct Fill {
    int x0, y0, x1, y1;
    Rgb color;
};
}  // namespace graph

enum class GraphTool { Arrow, Pen, Line };
enum class GraphButton { Left, Right, Other };

// What the graph shows: channel slider, zoom and page.
struct GraphView {
    int channelPosition = 0;  // ScrollBarChanellGrafik, 0..255
    int zoom = 1;             // GraphZoom: 1, 2, 4, 8
    int pageScenes = 256;     // GraphPageScenes, zoom x pageScenes = 256
    int page = 0;             // ScrollBarGrafikArea, 0..zoom-1

    // The edited channel, 1..255.
    int channel() const;
    int firstScene() const { return page * pageScenes; }
    int lastScene() const { return firstScene() + pageScenes - 1; }
};

// The static readouts of ReturnGrafikLabel (the window adds the channel
// and its name to LabelNameChanel).
struct GraphLabels {
    std::string sceneFrom;   // LabelScenaGrafikFrom
    std::string sceneLast;   // LabelScenaGrafikLast
    std::string zoom;        // LabelGrafZoom
    bool pageSliderEnabled;  // ScrollBarGrafikArea
    int pageSliderMaximum;
};

// The pointer readouts of GrafikLabel.
struct PointerLabels {
    std::string scene;     // LabelScenaGrafik
    std::string newLevel;  // LabelLevelNewGrafik
    std::string dmxLevel;  // LabelLevelDmxGrafik
};

GraphLabels graphLabels(const GraphView& view);

// Level of a pointer at height y: 255 - y, bounded to 0..255.
int graphLevelAt(int y);
// Scene under a pointer at x, kept within the page shown (a pointer dragged
// outside the graph counts as the nearest column of the page).
int graphSceneAt(int x, const GraphView& view);

// The fills that draw the page: columns, end-of-show, current-scene and
// anchor markers, in painting order.
std::vector<graph::Fill> graphFills(const ShowMemory& show, const GraphView& view, int currentScene,
                                    int anchorScene);

// The drawing side of the page: the tool, the anchor and the held button.
class ChannelGraph {
  public:
    explicit ChannelGraph(ShowMemory& show) : show_(show) {}

    GraphTool tool = GraphTool::Arrow;
    int anchorScene() const { return anchor_; }
    bool mouseDown() const { return mouseDown_; }

    // GrafikLabel: readouts for the pointer and, while a button is held, the
    // tool's write. `wrote` tells whether the show was written.
    PointerLabels pointer(const GraphView& view, int x, int y, bool* wrote = nullptr);
    PointerLabels press(const GraphView& view, GraphButton button, int x, int y);
    PointerLabels move(const GraphView& view, int x, int y, bool* wrote = nullptr);
    void release() { mouseDown_ = false; }

    // The line tool's ramp from scene a to scene b of a channel.
    static void ramp(ShowMemory& show, int channel, int a, int b);

  private:
    ShowMemory& show_;
    int anchor_ = 1;
    bool mouseDown_ = false;
};

}  // namespace lumetra
