#include <gtest/gtest.h>

#include <memory>

#include "edit/RateScale.h"

namespace lumetra {
namespace {

TEST(RateScaleTest, PositionsGiveStepsAndLabels) {
    const int steps[] = {1, 2, 4, 8, 20, 50, 100, 255};
    const char* labels[] = {"15", "7", "3", "2", "1", "0,5", "0,2", "no"};
    for (int p = 0; p < kRatePositions; ++p) {
        EXPECT_EQ(TabRate(p).step, steps[p]);
        EXPECT_EQ(TabRate(p).label, labels[p]);
        EXPECT_EQ(RateSliderPosition(TabRate(p).step), p) << "canonical step maps back";
    }
    EXPECT_EQ(TabRate(-1).step, 1);
    EXPECT_EQ(TabRate(8).label, "no");
}

TEST(RateScaleTest, EveryStoredStepHasOnePositionInItsBand) {
    EXPECT_EQ(RateSliderPosition(0), 0);
    EXPECT_EQ(RateSliderPosition(3), 2);
    EXPECT_EQ(RateSliderPosition(60), 6);
    // Bands: 0..1, 2, 3..4, 5..8, 9..20, 21..50, 51..100, 101..255.
    const int upper[] = {1, 2, 4, 8, 20, 50, 100, 255};
    int previous = 0;
    for (int s = 0; s < 256; ++s) {
        const int p = RateSliderPosition(static_cast<std::uint8_t>(s));
        ASSERT_GE(p, 0);
        ASSERT_LT(p, kRatePositions);
        EXPECT_LE(s, upper[p]) << s;
        if (p > 0) {
            EXPECT_GT(s, upper[p - 1]) << s;
        }
        EXPECT_GE(p, previous) << "positions never go back as the step grows";
        previous = p;
    }
}

class RateChangeTest : public ::testing::Test {
  protected:
    void SetUp() override { console->show.fill(255, layout::kRateTable, layout::kRateTable + 256); }
    std::uint8_t rate(int channel) { return console->show.get(layout::rateOffset(channel)); }
    std::unique_ptr<Console> console = std::make_unique<Console>();
};

TEST_F(RateChangeTest, RowSliderStoresIntoItsOwnChannel) {
    console->controls.bankOffset.set(228);
    EXPECT_EQ(ScrollBarRateChange(*console, 27, 0), "15");
    EXPECT_EQ(rate(255), 1);
    EXPECT_EQ(ScrollBarRateChange(*console, 26, 5), "0,5");
    EXPECT_EQ(rate(254), 50);
    EXPECT_EQ(rate(253), 255);
    EXPECT_EQ(console->show.get(layout::kChannelNameTable), 0) << "nothing past the table";

    console->showRunning.set(1);
    console->controls.bankOffset.set(0);
    ScrollBarRateChange(*console, 1, 3);
    EXPECT_EQ(rate(1), 8);
    EXPECT_EQ(rate(0), 255);
}

TEST_F(RateChangeTest, NewShowShowsEveryRowAtNoCrossfade) {
    for (int p : ReturnRate(*console)) EXPECT_EQ(p, 7);
    console->show.set(layout::rateOffset(1), 0);
    console->show.set(layout::rateOffset(2), 3);
    auto positions = ReturnRate(*console);
    EXPECT_EQ(positions[0], 0);
    EXPECT_EQ(positions[1], 2);
    EXPECT_EQ(rate(2), 3) << "showing a step does not change it";
}

TEST_F(RateChangeTest, GroupSliderWithNothingSelectedSetsOnlyTheCell) {
    EXPECT_EQ(ScrollBarRateLeuelChange(*console, 2, CheckStates{}), "3");
    EXPECT_EQ(console->show.cell(cell::kGroupRate), 4);
    for (int c = 1; c <= 255; ++c) EXPECT_EQ(rate(c), 255) << c;
}

TEST_F(RateChangeTest, GroupSliderSetsEverySelectedChannel) {
    console->show.set(layout::selectionOffset(4), 2);    // visible, shown unticked
    console->show.set(layout::selectionOffset(150), 2);  // outside the bank
    CheckStates ticked{};
    ticked[0] = true;
    EXPECT_EQ(ScrollBarRateLeuelChange(*console, 4, ticked), "1");
    EXPECT_EQ(console->show.cell(cell::kGroupRate), 20);
    EXPECT_EQ(rate(1), 20);
    EXPECT_EQ(rate(4), 255);
    EXPECT_EQ(console->show.get(layout::selectionOffset(4)), 0);
    EXPECT_EQ(rate(150), 20);
    EXPECT_EQ(rate(151), 255);
}

}  // namespace
}  // namespace lumetra
