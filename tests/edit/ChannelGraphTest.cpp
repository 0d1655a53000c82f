#include <gtest/gtest.h>

#include <memory>

#include "edit/ChannelGraph.h"

namespace lumetra {
namespace {

class ChannelGraphTest : public ::testing::Test {
  protected:
    ShowMemory& show() { return console->show; }
    int level(int scene) { return show().level(scene, kChannel); }
    // x of the middle of a scene's column on page 0, zoom 1.
    static int xOf(int scene) { return scene * 2 + 1; }
    static int yOf(int level) { return 255 - level; }

    static constexpr int kChannel = 5;
    std::unique_ptr<Console> console = std::make_unique<Console>();
    ChannelGraph graph{console->show};
    GraphView view{kChannel - 1, 1, 256, 0};
};

TEST_F(ChannelGraphTest, ZoomAndPageLabels) {
    const GraphLabels zoomed = graphLabels({0, 8, 32, 2});
    EXPECT_EQ(zoomed.sceneFrom, "от Сцены = 65");
    EXPECT_EQ(zoomed.sceneLast, "до Сцены = 96");
    EXPECT_EQ(zoomed.zoom, " Масштаб = 8/1");
    EXPECT_TRUE(zoomed.pageSliderEnabled);
    EXPECT_EQ(zoomed.pageSliderMaximum, 7);
    EXPECT_EQ(graphSceneAt(16 * 3 + 5, {0, 8, 32, 2}), 67);  // 16-pixel columns

    const GraphLabels whole = graphLabels(view);
    EXPECT_EQ(whole.sceneFrom, "от Сцены = 1");
    EXPECT_EQ(whole.sceneLast, "до Сцены = 256");
    EXPECT_FALSE(whole.pageSliderEnabled);
    EXPECT_EQ((GraphView{255, 1, 256, 0}.channel()), 255);  // slider end stays on 255
}

TEST_F(ChannelGraphTest, PointerReadoutsAndLevelsOutsideTheGraph) {
    show().setLevel(50, kChannel, 128);
    const PointerLabels labels = graph.pointer(view, 100, yOf(255));
    EXPECT_EQ(labels.scene, " Сцена = 51");
    EXPECT_EQ(labels.newLevel, " Новый уровень канала = 255     100%");
    EXPECT_EQ(labels.dmxLevel, " Уровень канала сцены 51 = 128     51%");
    EXPECT_EQ(level(50), 128);  // no button held: nothing written
    EXPECT_EQ(graphLevelAt(-40), 255);
    EXPECT_EQ(graphLevelAt(255), 0);
    EXPECT_EQ(graphLevelAt(300), 0);
}

TEST_F(ChannelGraphTest, ArrowPressWritesOneSceneAndSetsTheAnchor) {
    graph.press(view, GraphButton::Left, 100, yOf(77));
    EXPECT_EQ(level(50), 77);
    EXPECT_EQ(level(49), 0);
    EXPECT_EQ(level(51), 0);
    EXPECT_EQ(graph.anchorScene(), 50);
    graph.move(view, xOf(60), yOf(20));  // dragging writes where it passes
    EXPECT_EQ(level(60), 20);
    graph.release();
    graph.move(view, xOf(70), yOf(20));
    EXPECT_EQ(level(70), 0);
}

TEST_F(ChannelGraphTest, RampsUpDownAndShortOfTheFarEnd) {
    graph.tool = GraphTool::Line;
    graph.press(view, GraphButton::Left, xOf(10), yOf(0));
    graph.release();
    graph.press(view, GraphButton::Right, xOf(20), yOf(100));
    graph.release();
    for (int k = 11; k <= 20; ++k) EXPECT_EQ(level(k), 10 * (k - 10)) << k;

    // d = 100 div 3 = 33: the far end stays at 99.
    graph.press(view, GraphButton::Left, xOf(30), yOf(0));
    graph.press(view, GraphButton::Right, xOf(33), yOf(100));
    EXPECT_EQ(level(31), 33);
    EXPECT_EQ(level(32), 66);
    EXPECT_EQ(level(33), 99);

    // Right press left of the anchor: the ramp starts from the lower scene.
    graph.press(view, GraphButton::Left, xOf(120), yOf(0));
    graph.press(view, GraphButton::Right, xOf(110), yOf(100));
    EXPECT_EQ(level(110), 100);
    for (int k = 111; k <= 120; ++k) EXPECT_EQ(level(k), 100 - 10 * (k - 110)) << k;
}

TEST_F(ChannelGraphTest, PenFillsUpToScene254Only) {
    graph.tool = GraphTool::Pen;
    show().setLevel(255, kChannel, 9);
    graph.press(view, GraphButton::Left, xOf(250), yOf(200));
    for (int k = 250; k <= 254; ++k) EXPECT_EQ(level(k), 200) << k;
    EXPECT_EQ(level(249), 0);
    EXPECT_EQ(level(255), 9);
}

TEST_F(ChannelGraphTest, DragOutsideTheGraphIsHeldToThePageShown) {
    const GraphView page2{kChannel - 1, 8, 32, 2};  // scenes 64..95
    graph.press(page2, GraphButton::Left, 16 * 5, yOf(10));
    EXPECT_EQ(level(64 + 5), 10);
    graph.move(page2, -300, -20);  // far left and above: first scene, level 255
    graph.move(page2, 5000, 400);  // far right and below: last scene, level 0
    show().setLevel(95, kChannel, 50);
    graph.move(page2, 5000, 400);
    EXPECT_EQ(level(64), 255);
    EXPECT_EQ(level(95), 0);
    EXPECT_EQ(level(63), 0);
    EXPECT_EQ(level(96), 0);
    EXPECT_EQ(graph.pointer(page2, -300, 0).scene, " Сцена = 65");
}

TEST_F(ChannelGraphTest, PaintedColumnsAndMarkers) {
    show().setLevel(3, kChannel, 100);
    show().setCell(cell::kLastScene, 9);
    const auto fills = graphFills(show(), {kChannel - 1, 8, 32, 0}, 4, 3);
    auto has = [&](graph::Fill f) {
        for (const auto& g : fills)
            if (g.x0 == f.x0 && g.y0 == f.y0 && g.x1 == f.x1 && g.y1 == f.y1 && g.color == f.color)
                return true;
        return false;
    };
    EXPECT_TRUE(has({48, 0, 64, 155, graph::kBackground}));  // scene 3, 16-pixel column
    EXPECT_TRUE(has({48, 155, 64, 255, graph::kBar}));       // 100 pixels high
    EXPECT_TRUE(has({53, 152, 59, 158, graph::kAnchor}));    // anchor on the bar's top
    EXPECT_TRUE(has({71, 0, 72, 255, graph::kCurrentScene}));
    EXPECT_TRUE(has({160, 0, 162, 255, graph::kEndOfShow}));  // column of scene 10
    EXPECT_EQ(fills.back().x0, 512);                          // the extra column lands outside

    show().setCell(cell::kLastScene, 255);
    for (const auto& f : graphFills(show(), view, 0, 1))
        if (f.color == graph::kEndOfShow) {
            EXPECT_GE(f.x0, graph::kWidth);
        }
}

}  // namespace
}  // namespace lumetra
