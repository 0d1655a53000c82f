// The approach rule, with its modulo-256 arithmetic.
#include <gtest/gtest.h>

#include "output/OutputCycle.h"

namespace lumetra {
namespace {

TEST(Approach, StepOf255ReachesAnyTargetInOneTick) {
    EXPECT_EQ(approachLevel(0, 255, 255), 255);
    EXPECT_EQ(approachLevel(0, 1, 255), 1);
    EXPECT_EQ(approachLevel(255, 0, 255), 0);
    EXPECT_EQ(approachLevel(200, 3, 255), 3);
}

TEST(Approach, StepOf10From0To255Takes26TicksAndLandsOn255) {
    std::uint8_t o = 0;
    int ticks = 0;
    while (o != 255) {
        const std::uint8_t before = o;
        o = approachLevel(o, 255, 10);
        ++ticks;
        ASSERT_GT(o, before);
        ASSERT_LE(ticks, 26);
    }
    EXPECT_EQ(ticks, 26);
}

TEST(Approach, StepOf0LeavesADifferingChannelWhereItIs) {
    EXPECT_EQ(approachLevel(40, 200, 0), 40);
    EXPECT_EQ(approachLevel(200, 40, 0), 200);
}

TEST(Approach, RisingAdditionThatWrapsLandsOnTheTarget) {
    EXPECT_EQ(approachLevel(250, 255, 10), 255);  // 250 + 10 wraps to 4
    EXPECT_EQ(approachLevel(240, 252, 20), 252);  // 260 wraps to 4
}

TEST(Approach, FallingSubtractionThatWrapsLandsOnTheTarget) {
    EXPECT_EQ(approachLevel(5, 0, 10), 0);  // 5 - 10 wraps to 251
    EXPECT_EQ(approachLevel(5, 2, 10), 2);
}

TEST(Approach, NeverOvershoots) {
    EXPECT_EQ(approachLevel(100, 105, 10), 105);
    EXPECT_EQ(approachLevel(100, 95, 10), 95);
    EXPECT_EQ(approachLevel(100, 110, 10), 110);  // lands exactly
    EXPECT_EQ(approachLevel(100, 111, 10), 110);
    EXPECT_EQ(approachLevel(100, 89, 10), 90);
}

TEST(Approach, AtTheTargetNothingMoves) {
    for (int r : {0, 1, 10, 255})
        EXPECT_EQ(approachLevel(77, 77, static_cast<std::uint8_t>(r)), 77);
}

TEST(Approach, ExhaustiveAgainstTheArithmeticOfTheSpec) {
    // Plain integer reading of the rule: move by r, clamp at the target.
    for (int o = 0; o < 256; ++o)
        for (int t = 0; t < 256; ++t)
            for (int r = 0; r < 256; r += 3) {
                int want = o;
                if (o < t) want = std::min(o + r, t);
                if (o > t) want = std::max(o - r, t);
                ASSERT_EQ(approachLevel(o, t, r), want) << o << " " << t << " " << r;
            }
}

}  // namespace
}  // namespace lumetra
