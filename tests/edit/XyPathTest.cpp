#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "edit/XyPath.h"

namespace lumetra {
namespace {

constexpr int kPair = 20;  // pair 1 on channels 21 and 22

class XyPathTest : public ::testing::Test {
  protected:
    ShowMemory& show() { return *show_; }
    void put(int scene, int x, int y) { setPoint(show(), kPair, scene, {x, y}); }
    XyPoint at(int scene) { return pointOf(show(), kPair, scene); }
    void repeat(XyRange range, XyNudge code, int times = 1) {
        for (int k = 0; k < times; ++k) ButtonRepeat(show(), kPair, range, code);
    }

    std::unique_ptr<ShowMemory> show_ = std::make_unique<ShowMemory>();
};

TEST_F(XyPathTest, ShrinkAndGrowMoveTowardAndAwayFromTheCentreWithFixedEnds) {
    const XyRange one{1, 1};
    put(0, 10, 250);
    repeat(one, XyNudge::Shrink, 200);
    EXPECT_EQ(at(0), (XyPoint{127, 127}));

    put(0, 127, 128);
    repeat(one, XyNudge::Grow);
    EXPECT_EQ(at(0), (XyPoint{126, 129}));
    put(0, 128, 127);
    repeat(one, XyNudge::Shrink);
    EXPECT_EQ(at(0), (XyPoint{127, 127}));

    for (XyNudge code : {XyNudge::Shrink, XyNudge::Grow}) {
        put(0, 0, 255);
        repeat(one, code, 5);
        EXPECT_EQ(at(0), (XyPoint{0, 255}));
    }
}

TEST_F(XyPathTest, NudgesStopAtTheEdgesAndMirrorsInvert) {
    put(2, 255, 0);
    put(3, 0, 255);
    put(4, 77, 77);  // outside the range 3..4
    const XyRange range{3, 4};
    repeat(range, XyNudge::Right);
    repeat(range, XyNudge::Down);
    EXPECT_EQ(at(2), (XyPoint{255, 0}));
    EXPECT_EQ(at(3), (XyPoint{1, 254}));
    repeat(range, XyNudge::Left, 3);
    repeat(range, XyNudge::Up, 2);
    EXPECT_EQ(at(2), (XyPoint{252, 2}));
    EXPECT_EQ(at(3), (XyPoint{0, 255}));

    repeat(range, XyNudge::MirrorX);
    EXPECT_EQ(at(3), (XyPoint{255, 255}));
    repeat(range, XyNudge::MirrorY);
    EXPECT_EQ(at(2), (XyPoint{3, 253}));
    repeat(range, XyNudge::MirrorX);
    repeat(range, XyNudge::MirrorY);
    EXPECT_EQ(at(2), (XyPoint{252, 2}));
    EXPECT_EQ(at(4), (XyPoint{77, 77}));
}

TEST_F(XyPathTest, EditorAddressesScenesByIndexAndLeavesCurrentSceneBase) {
    show().RaschetAdr(9);
    put(0, 5, 6);
    repeat({1, 3}, XyNudge::Right);
    RotateArea(show(), kPair, {1, 3}, 90);
    EXPECT_EQ(show().CurrentSceneBase(), layout::sceneOffset(9));
    // The pair at the last slider position is channels 254 and 255.
    setPoint(show(), xy::kMaxFirstChannel, 7, {1, 2});
    EXPECT_EQ(show().level(7, 254), 1);
    EXPECT_EQ(show().level(7, 255), 2);
}

TEST_F(XyPathTest, SinusMapsCeilingsToLevelsWithoutRoundingNoise) {
    const SinusBytes up = Sinus(0, 200);
    EXPECT_EQ(up.sine, 127);
    EXPECT_EQ(up.cosine, 227);
    const SinusBytes right = Sinus(90, 200);
    EXPECT_EQ(right.sine, 227);
    EXPECT_EQ(right.cosine, 127);
    // sin 180 is exactly 0 (127), cos 60 exactly 0.5 (50 + 127).
    EXPECT_EQ(Sinus(180, 200).sine, 127);
    EXPECT_EQ(Sinus(180, 200).cosine, 28);
    EXPECT_EQ(Sinus(60, 200).cosine, 177);
    // -1 maps to 127 as 0 does; negative and large angles wrap.
    EXPECT_EQ(Sinus(181, 200).sine, 127);
    EXPECT_EQ(Sinus(-90, 200).sine, Sinus(270, 200).sine);
    EXPECT_EQ(Sinus(720 + 30, 200).sine, 177);
}

TEST_F(XyPathTest, RotationTurnsClockwiseAboutTheCentre) {
    EXPECT_EQ(RotateXY(227, 127, 90), (XyPoint{127, 29}));
    put(0, 227, 127);
    put(1, 40, 200);
    RotateArea(show(), kPair, {1, 2}, 0);
    EXPECT_EQ(at(0), (XyPoint{227, 127}));
    EXPECT_EQ(at(1), (XyPoint{40, 200}));
    RotateArea(show(), kPair, {1, 1}, 90);
    EXPECT_EQ(at(0), (XyPoint{127, 29}));
    EXPECT_EQ(at(1), (XyPoint{40, 200}));

    // Straight up turned by 90 points right; the distance keeps within a level.
    const XyPoint r = RotateXY(127, 227, 90);
    EXPECT_NEAR(r.x, 227, 1);
    EXPECT_NEAR(r.y, 127, 1);
    auto radius = [](XyPoint p) {
        const double dx = p.x >= 128 ? p.x - 127 : p.x - 128;
        const double dy = p.y >= 128 ? p.y - 127 : p.y - 128;
        return std::sqrt(dx * dx + dy * dy);
    };
    for (int angle : {30, 45, 90, 200, 359})
        for (XyPoint p : {XyPoint{200, 60}, XyPoint{30, 180}, XyPoint{140, 140}})
            EXPECT_LE(std::abs(radius(RotateXY(p.x, p.y, angle)) - radius(p)), 1.5)
                << angle << " " << p.x << "," << p.y;
}

TEST_F(XyPathTest, HitTestPicksTheLowestSceneWithinThreeLevels) {
    put(4, 100, 100);
    put(6, 102, 97);
    put(8, 100, 100);  // outside the range 5..8 (indices 4..7)
    const XyRange range{5, 8};
    EXPECT_EQ(SearchScena(show(), kPair, range, {101, 100}), 4);
    EXPECT_EQ(SearchScena(show(), kPair, range, {105, 97}), 6);
    EXPECT_EQ(SearchScena(show(), kPair, range, {106, 97}), std::nullopt);
    EXPECT_EQ(SearchScena(show(), kPair, {6, 9}, {100, 100}), 6);
}

TEST_F(XyPathTest, GrabbingMakesTheSceneCurrentOnlyWhenStoppedAndAllowed) {
    put(5, 50, 50);
    show().setCell(cell::kLastScene, 2);
    const XyRange range{1, 10};
    XyDrag drag;
    EXPECT_FALSE(drag.press(show(), kPair, range, {50, 50}, true, true, true));
    EXPECT_EQ(drag.grabbed, 5);
    EXPECT_EQ(show().currentScene(), 0);
    EXPECT_FALSE(drag.press(show(), kPair, range, {50, 50}, true, false, false));
    EXPECT_TRUE(drag.press(show(), kPair, range, {50, 50}, true, false, true));
    EXPECT_EQ(show().currentScene(), 5);
    EXPECT_EQ(show().lastScene(), 5);  // the show grows to reach the scene
    // The right button grabs nothing.
    EXPECT_FALSE(drag.press(show(), kPair, range, {50, 50}, false, false, true));
    EXPECT_EQ(drag.grabbed, xy::kNoScene);
    EXPECT_EQ(drag.mode, XyDrag::Sizing);
    drag.move(show(), kPair, range, {10, 10});
    EXPECT_EQ(at(5), (XyPoint{50, 50}));
}

TEST_F(XyPathTest, DraggingHandsOverToALowerSceneButNotToAHigherOne) {
    put(3, 60, 60);
    put(6, 100, 100);
    put(9, 140, 140);
    const XyRange range{1, 12};
    XyDrag drag;
    // The mouse moves a level at a time along the diagonal.
    XyPoint cursor{100, 100};
    auto dragTo = [&](int to) {
        while (cursor.x != to) {
            cursor.x += cursor.x < to ? 1 : -1;
            cursor.y = cursor.x;
            drag.move(show(), kPair, range, cursor);
        }
    };
    drag.press(show(), kPair, range, cursor, true, false, false);
    ASSERT_EQ(drag.grabbed, 6);
    dragTo(140);  // across scene 9: scene 6 stays held
    EXPECT_EQ(drag.grabbed, 6);
    EXPECT_EQ(at(6), (XyPoint{140, 140}));
    EXPECT_EQ(at(9), (XyPoint{140, 140}));
    dragTo(61);  // onto scene 3: it takes over three levels away
    EXPECT_EQ(drag.grabbed, 3);
    EXPECT_EQ(at(3), (XyPoint{61, 61}));
    EXPECT_EQ(at(6), (XyPoint{64, 64}));
    EXPECT_EQ(at(9), (XyPoint{140, 140}));
    drag.release();
    drag.move(show(), kPair, range, {10, 10});
    EXPECT_EQ(at(3), (XyPoint{61, 61}));
}

TEST_F(XyPathTest, CopyWritesPairOneIntoTheTickedPairsOverTheRange) {
    put(0, 11, 12);
    put(1, 13, 14);
    put(2, 15, 16);
    CopyToPairs(show(), kPair, {1, 2}, {100, -1, 253});
    EXPECT_EQ(pointOf(show(), 100, 0), (XyPoint{11, 12}));
    EXPECT_EQ(pointOf(show(), 100, 1), (XyPoint{13, 14}));
    EXPECT_EQ(pointOf(show(), 253, 1), (XyPoint{13, 14}));
    EXPECT_EQ(pointOf(show(), 100, 2), (XyPoint{0, 0}));
}

TEST_F(XyPathTest, MousePositionsAreClampedAndFlipped) {
    EXPECT_EQ(fromPixel(0, 0), (XyPoint{0, 255}));
    EXPECT_EQ(fromPixel(300, 300), (XyPoint{255, 0}));
    EXPECT_EQ(fromPixel(-4, 55), (XyPoint{0, 200}));
    EXPECT_EQ(pixelOf({0, 200}), (XyPoint{0, 55}));
}

}  // namespace
}  // namespace lumetra
