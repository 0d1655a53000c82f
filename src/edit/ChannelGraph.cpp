#include "edit/ChannelGraph.h"

#include <algorithm>
#include <cstdlib>

#include "edit/FaderTools.h"

namespace lumetra {

namespace {
std::string str(int v) {
    return std::to_string(v);
}

std::uint8_t levelIn(const ShowMemory& show, int scene, int channel) {
    return show.level(((scene % layout::kSceneCount) + layout::kSceneCount) % layout::kSceneCount,
                      channel);
}
}  // namespace

int GraphView::channel() const {
    return std::clamp(channelPosition + 1, 1, layout::kChannels);
}

GraphLabels graphLabels(const GraphView& view) {
    GraphLabels labels;
    labels.sceneFrom = "от Сцены = " + str(view.firstScene() + 1);
    labels.sceneLast = "до Сцены = " + str(view.lastScene() + 1);
    labels.zoom = " Масштаб = " + str(view.zoom) + "/1";
    labels.pageSliderEnabled = view.zoom != 1;
    labels.pageSliderMaximum = view.zoom - 1;
    return labels;
}

int graphLevelAt(int y) {
    return std::clamp(255 - y, 0, 255);
}

int graphSceneAt(int x, const GraphView& view) {
    const int scene = (x / 2) / view.zoom + view.firstScene();
    return std::clamp(scene, view.firstScene(), view.lastScene());
}

std::vector<graph::Fill> graphFills(const ShowMemory& show, const GraphView& view, int currentScene,
                                    int anchorScene) {
    std::vector<graph::Fill> fills;
    const int w = 2 * view.zoom;
    const int ch = view.channel();
    int x = 0;
    // One column more than fits: it lands at x = 512, outside the graph.
    for (int i = view.firstScene(); i <= view.firstScene() + view.pageScenes; ++i, x += w) {
        const int y = 255 - levelIn(show, i, ch);
        fills.push_back({x, 0, x + w, y, graph::kBackground});
        fills.push_back({x, y, x + w, 255, graph::kBar});
        if (i == show.lastScene() + 1) fills.push_back({x, 0, x + 2, 255, graph::kEndOfShow});
        const int cx = x + w / 2;
        if (i == currentScene) fills.push_back({cx - 1, 0, cx, 255, graph::kCurrentScene});
        if (i == anchorScene) fills.push_back({cx - 3, y - 3, cx + 3, y + 3, graph::kAnchor});
    }
    return fills;
}

PointerLabels ChannelGraph::pointer(const GraphView& view, int x, int y, bool* wrote) {
    const int i = graphSceneAt(x, view);
    const int level = graphLevelAt(y);
    const int ch = view.channel();
    const int shown = show_.level(i, ch);
    PointerLabels labels;
    labels.scene = " Сцена = " + str(i + 1);
    labels.newLevel = " Новый уровень канала = " + str(level) + "     " +
                      str(levelPercent(static_cast<std::uint8_t>(level))) + "%";
    labels.dmxLevel = " Уровень канала сцены " + str(i + 1) + " = " + str(shown) + "     " +
                      str(levelPercent(static_cast<std::uint8_t>(shown))) + "%";
    if (wrote) *wrote = false;
    if (!mouseDown_) return labels;
    const auto v = static_cast<std::uint8_t>(level);
    if (tool == GraphTool::Pen) {
        for (int k = i; k <= graph::kPenLastScene; ++k) show_.setLevel(k, ch, v);
    } else {
        show_.setLevel(i, ch, v);
    }
    if (wrote) *wrote = true;
    return labels;
}

PointerLabels ChannelGraph::press(const GraphView& view, GraphButton button, int x, int y) {
    const int s = graphSceneAt(x, view);
    mouseDown_ = true;
    if (button == GraphButton::Left) anchor_ = s;
    PointerLabels labels = pointer(view, x, y);
    if (button == GraphButton::Right && tool == GraphTool::Line)
        ramp(show_, view.channel(), anchor_, s);
    return labels;
}

PointerLabels ChannelGraph::move(const GraphView& view, int x, int y, bool* wrote) {
    return pointer(view, x, y, wrote);
}

void ChannelGraph::ramp(ShowMemory& show, int channel, int a, int b) {
    if (a == b) return;
    const int la = show.level(a, channel);
    const int lb = show.level(b, channel);
    int d = std::abs(lb - la);
    const int n = std::abs(b - a);
    if (d != 0 && n != 0) d /= n;
    const int dir = la < lb ? 1 : (la > lb ? -1 : 0);
    if (b > a) {
        int v = la;
        for (int k = a + 1; k <= b; ++k) {
            v += dir * d;
            show.setLevel(k, channel, clampLevel(v));
        }
    } else {
        int v = lb;
        for (int k = b + 1; k <= a; ++k) {
            v -= dir * d;
            show.setLevel(k, channel, clampLevel(v));
        }
    }
}

}  // namespace lumetra
