#include "edit/XyPath.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lumetra {

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

// Ceiling of a value computed with sin, cos or asin. Whole numbers come out
// of those with rounding noise (sin 180 is 1.2e-16, cos 60 is
// 0.5000000000000001); the noise would push them up by one, so a value
// within 1e-9 of a whole number counts as that number.
int ceilExact(double v) {
    const double whole = std::round(v);
    if (std::fabs(v - whole) < 1e-9) return static_cast<int>(whole);
    return static_cast<int>(std::ceil(v));
}

std::uint8_t sinusByte(int v) {
    return static_cast<std::uint8_t>(v >= 0 ? v + 127 : v + 128);
}

// Offset of a level from the centre: 128..255 count from 127, 0..127 from
// 128, so both halves reach +-128 and neither holds a zero.
int fromCentre(int v) {
    return v >= 128 ? v - 127 : v - 128;
}

int shrink(int v) {
    if (v >= 1 && v <= 127) ++v;
    if (v >= 128 && v != 255) --v;
    return v;
}

int grow(int v) {
    if (v >= 1 && v <= 127) --v;
    if (v >= 128 && v != 255) ++v;
    return v;
}

XyPoint nudged(XyPoint p, XyNudge code) {
    switch (code) {
        case XyNudge::Right:
            if (p.x != 255) ++p.x;
            break;
        case XyNudge::Left:
            if (p.x != 0) --p.x;
            break;
        case XyNudge::Up:
            if (p.y != 255) ++p.y;
            break;
        case XyNudge::Down:
            if (p.y != 0) --p.y;
            break;
        case XyNudge::MirrorX:
            p.x = 255 - p.x;
            break;
        case XyNudge::MirrorY:
            p.y = 255 - p.y;
            break;
        case XyNudge::Shrink:
            p = {shrink(p.x), shrink(p.y)};
            break;
        case XyNudge::Grow:
            p = {grow(p.x), grow(p.y)};
            break;
        case XyNudge::None:
            break;
    }
    return p;
}

}  // namespace

XyRange wholeShowRange(const ShowMemory& show) {
    return {1, show.lastScene() + 1};
}

XyPoint pointOf(const ShowMemory& show, int firstChannel, int scene) {
    const auto s = static_cast<std::uint8_t>(scene);
    return {show.DataRead(s, static_cast<std::uint8_t>(firstChannel + 1)),
            show.DataRead(s, static_cast<std::uint8_t>(firstChannel + 2))};
}

void setPoint(ShowMemory& show, int firstChannel, int scene, XyPoint point) {
    show.DataWriteXY(static_cast<std::uint8_t>(scene), firstChannel, point.x, point.y);
}

XyPoint fromPixel(int column, int row) {
    return {std::clamp(column, 0, 255), 255 - std::clamp(row, 0, 255)};
}

std::optional<int> SearchScena(const ShowMemory& show, int firstChannel, XyRange range,
                               XyPoint at) {
    std::optional<int> hit;
    for (int s = range.last(); s >= range.first(); --s) {
        const XyPoint p = pointOf(show, firstChannel, s);
        if (std::abs(p.x - at.x) <= xy::kHitRadius && std::abs(p.y - at.y) <= xy::kHitRadius)
            hit = s;
    }
    return hit;
}

void ButtonRepeat(ShowMemory& show, int firstChannel, XyRange range, XyNudge code) {
    for (int s = range.first(); s <= range.last(); ++s)
        setPoint(show, firstChannel, s, nudged(pointOf(show, firstChannel, s), code));
}

SinusBytes Sinus(int angle, int size) {
    const double a = ((angle % 360) + 360) % 360 * kDegree;
    const double half = size / 2.0;
    return {sinusByte(ceilExact(std::sin(a) * half)), sinusByte(ceilExact(std::cos(a) * half))};
}

XyPoint RotateXY(int x, int y, int angle) {
    const double dx = fromCentre(x) / 128.0;
    const double dy = fromCentre(y) / 128.0;
    const int base = y < 128 ? 180 : 0;
    const double g = std::min(1.0, std::sqrt(dx * dx + dy * dy));  // never 0: dx is never 0
    const double h = std::clamp(dy > 0 ? dx / g : -dx / g, -1.0, 1.0);
    const double theta = std::asin(h) / kDegree + angle + base;
    const SinusBytes b = Sinus(ceilExact(theta), ceilExact(255.0 * g));
    return {b.sine, b.cosine};
}

void RotateArea(ShowMemory& show, int firstChannel, XyRange range, int angle) {
    if (angle == 0) return;
    for (int s = range.first(); s <= range.last(); ++s) {
        const XyPoint p = pointOf(show, firstChannel, s);
        setPoint(show, firstChannel, s, RotateXY(p.x, p.y, angle));
    }
}

void CopyToPairs(ShowMemory& show, int firstChannel, XyRange range,
                 const std::array<int, 3>& targets) {
    for (int s = range.first(); s <= range.last(); ++s) {
        const XyPoint p = pointOf(show, firstChannel, s);
        for (int target : targets)
            if (target >= 0) setPoint(show, target, s, p);
    }
}

bool XyDrag::press(ShowMemory& show, int firstChannel, XyRange range, XyPoint at, bool left,
                   bool running, bool changeScene) {
    mode = left ? Moving : Sizing;
    grabbed = xy::kNoScene;
    if (mode == Moving)
        if (auto hit = SearchScena(show, firstChannel, range, at)) grabbed = *hit;
    if (running || grabbed == xy::kNoScene || !changeScene) return false;
    show.setCell(cell::kCurrentScene, static_cast<std::uint8_t>(grabbed));
    if (show.lastScene() < grabbed)
        show.setCell(cell::kLastScene, static_cast<std::uint8_t>(grabbed));
    return true;
}

std::optional<int> XyDrag::move(ShowMemory& show, int firstChannel, XyRange range, XyPoint at) {
    const std::optional<int> hit = SearchScena(show, firstChannel, range, at);
    if (hit) grabbed = *hit;
    if (mode == Moving && grabbed < 255) setPoint(show, firstChannel, grabbed, at);
    return hit;
}

}  // namespace lumetra
