#include <gtest/gtest.h>

#include <memory>

#include "edit/XyFigures.h"

namespace lumetra {
namespace {

constexpr int kPair = 0;  // channels 1 and 2

class XyFiguresTest : public ::testing::Test {
  protected:
    FigureResult make(XyFigure figure, XyRange range = {1, 32}, int size = 200, int option = 7) {
        return makeFigure(*show_, kPair, figure, {range, size, option});
    }
    XyPoint at(int scene) { return pointOf(*show_, kPair, scene); }
    XyPoint sinus(int angle, int size) {
        const SinusBytes b = Sinus(angle, size);
        return {b.sine, b.cosine};
    }

    std::unique_ptr<ShowMemory> show_ = std::make_unique<ShowMemory>();
};

TEST_F(XyFiguresTest, StraightFiguresWithTheDefaultRange) {
    ASSERT_EQ(make(XyFigure::Line), FigureResult::Done);
    EXPECT_EQ(at(0), (XyPoint{28, 42}));
    EXPECT_EQ(at(1), (XyPoint{40, 54}));
    EXPECT_EQ(at(16), (XyPoint{222, 208}));
    EXPECT_EQ(at(17), (XyPoint{210, 196}));

    make(XyFigure::Rectangle);
    EXPECT_EQ(at(0), (XyPoint{32, 32}));
    EXPECT_EQ(at(8), (XyPoint{32, 224}));
    EXPECT_EQ(at(16), (XyPoint{224, 224}));
    EXPECT_EQ(at(24), (XyPoint{224, 32}));
    EXPECT_EQ(at(31), (XyPoint{7, 32}));  // 224 - 7 * (24 + 7)

    make(XyFigure::Triangle);
    EXPECT_EQ(at(0), (XyPoint{28, 29}));
    EXPECT_EQ(at(11), (XyPoint{127, 227}));
    EXPECT_EQ(at(22), (XyPoint{226, 29}));
    EXPECT_EQ(at(31), (XyPoint{1, 29}));

    make(XyFigure::Cross);
    EXPECT_EQ(at(8), (XyPoint{32, 224}));
    EXPECT_EQ(at(12), (XyPoint{128, 128}));  // the diagonal down crosses the centre
    EXPECT_EQ(at(16), (XyPoint{224, 32}));
    EXPECT_EQ(at(24), (XyPoint{224, 224}));
    EXPECT_EQ(at(25), (XyPoint{193, 193}));
}

TEST_F(XyFiguresTest, SnakeRunsInRowsAcrossTheWidth) {
    make(XyFigure::Snake);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(at(i), (XyPoint{28 + 48 * i, 16})) << i;
    EXPECT_EQ(at(5), (XyPoint{220, 48}));
    EXPECT_EQ(at(9), (XyPoint{28, 48}));
    EXPECT_EQ(at(10), (XyPoint{28, 80}));
    // Option 0: a single row through the middle.
    make(XyFigure::Snake, {1, 32}, 200, 0);
    EXPECT_EQ(at(0), (XyPoint{28, 128}));
    EXPECT_EQ(at(31), (XyPoint{214, 128}));
}

TEST_F(XyFiguresTest, CircularFigures) {
    make(XyFigure::Circle);
    EXPECT_EQ(at(0), (XyPoint{127, 227}));
    EXPECT_EQ(at(1), sinus(11, 200));  // 50 * 7 / 31 degrees a scene
    EXPECT_EQ(at(31), sinus(341, 200));
    make(XyFigure::Circle, {1, 32}, 200, 0);
    for (int i = 0; i < 32; ++i) ASSERT_EQ(at(i), (XyPoint{127, 227})) << i;

    make(XyFigure::Spiral);
    EXPECT_EQ(at(0), sinus(0, 200));
    EXPECT_EQ(at(1), sinus(56, 194));
    EXPECT_EQ(at(31), sinus(56 * 31, 14));

    // Both loops of the eight meet at the centre.
    make(XyFigure::Eight);
    EXPECT_EQ(at(0), (XyPoint{127, 128}));
    EXPECT_EQ(at(15), (XyPoint{127, 127}));
    EXPECT_EQ(at(16), (XyPoint{sinus(22, 100).x, sinus(22, 100).y - 50}));

    // Quarter 2 overwrites the last scene of quarter 1.
    make(XyFigure::FourLeaf);
    EXPECT_EQ(at(0), (XyPoint{127, 177}));
    EXPECT_EQ(at(1), (XyPoint{sinus(57, 100).x - 50, sinus(57, 100).y + 50}));
    EXPECT_EQ(at(7), (XyPoint{177, 128}));
    EXPECT_EQ(at(21), (XyPoint{sinus(0, 100).x - 50, sinus(0, 100).y - 50}));
}

TEST_F(XyFiguresTest, OneSceneRangeLeavesTheShowAloneForTheSpreadFigures) {
    for (int s = 0; s < 8; ++s) setPoint(*show_, kPair, s, {s + 1, s + 2});
    ShowMemory::Image before{};
    show_->snapshot(before);
    for (XyFigure f : {XyFigure::Snake, XyFigure::Circle, XyFigure::Eight, XyFigure::FourLeaf,
                       XyFigure::Spiral}) {
        EXPECT_EQ(make(f, {4, 4}), FigureResult::TooFewScenes);
        ShowMemory::Image after{};
        show_->snapshot(after);
        ASSERT_EQ(before, after);
    }
    // A straight figure draws its first point on the one scene, and only there.
    EXPECT_EQ(make(XyFigure::Rectangle, {4, 4}), FigureResult::Done);
    EXPECT_EQ(at(3), (XyPoint{112, 112}));
    EXPECT_EQ(at(4), (XyPoint{5, 6}));
}

TEST_F(XyFiguresTest, ShortRangesNeverWriteOutsideTheRangeOrPastScene255) {
    for (XyFigure f : {XyFigure::Triangle, XyFigure::Rectangle, XyFigure::Cross}) {
        for (XyRange r : {XyRange{1, 2}, XyRange{1, 3}, XyRange{10, 15}}) {
            show_ = std::make_unique<ShowMemory>();
            make(f, r);
            for (int s = 0; s < layout::kSceneCount; ++s) {
                if (r.contains(s)) continue;
                ASSERT_EQ(at(s), (XyPoint{0, 0})) << r.from << "-" << r.to;
            }
        }
    }
    for (XyFigure f :
         {XyFigure::Line, XyFigure::Triangle, XyFigure::Rectangle, XyFigure::Cross, XyFigure::Snake,
          XyFigure::Circle, XyFigure::Eight, XyFigure::FourLeaf, XyFigure::Spiral}) {
        show_ = std::make_unique<ShowMemory>();
        make(f, {254, 255});
        EXPECT_NE(at(253), (XyPoint{0, 0}));
        EXPECT_EQ(at(255), (XyPoint{0, 0}));
    }
}

}  // namespace
}  // namespace lumetra
