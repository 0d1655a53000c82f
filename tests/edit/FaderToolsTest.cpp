#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "edit/FaderTools.h"

namespace lumetra {
namespace {

class FaderToolsTest : public ::testing::Test {
  protected:
    void SetUp() override { show().setCell(cell::kCurrentScene, 3); }
    ShowMemory& show() { return console->show; }
    std::uint8_t flag(int channel) { return show().get(layout::selectionOffset(channel)); }
    void setFlag(int channel, std::uint8_t v) { show().set(layout::selectionOffset(channel), v); }
    static CheckStates rows(std::initializer_list<int> ticked) {
        CheckStates states{};
        for (int n : ticked) states[n - 1] = true;
        return states;
    }

    std::unique_ptr<Console> console = std::make_unique<Console>();
    FaderTools tools{*console};
};

TEST_F(FaderToolsTest, BankIsBoundedAndNumbersFollowIt) {
    EXPECT_EQ(tools.ScrolbarVertPosChange(228), 228);
    auto numbers = tools.NamberDmx();
    EXPECT_EQ(numbers.front(), "229");
    EXPECT_EQ(numbers.back(), "255");
    EXPECT_EQ(tools.ScrolbarVertPosChange(0), 0);
    EXPECT_EQ(tools.NamberDmx().front(), "1");
    EXPECT_EQ(tools.ScrolbarVertPosChange(400), 228);
    EXPECT_EQ(tools.ScrolbarVertPosChange(-5), 0);
    // A stray mirror value never lets row 27 reach past channel 255.
    console->controls.bankOffset.set(250);
    EXPECT_EQ(bankOffset(*console), 228);
    tools.ScrollBarChange(27, 9);
    EXPECT_EQ(show().level(3, 255), 9);
    EXPECT_EQ(show().get(layout::sceneOffset(4)), 0);
}

TEST_F(FaderToolsTest, FaderStoresIntoCurrentSceneOnlyWhenStopped) {
    tools.ScrolbarVertPosChange(10);
    EXPECT_TRUE(tools.ScrollBarChange(5, 200));
    EXPECT_EQ(show().level(3, 15), 200);
    EXPECT_EQ(show().level(0, 15), 0);

    console->showRunning.set(1);
    EXPECT_FALSE(tools.ScrollBarChange(5, 50));
    EXPECT_EQ(show().level(3, 15), 200);
    // The manual overlay still follows the moved fader.
    EXPECT_EQ(console->controls.faderPosition.get(4), 50);

    EXPECT_FALSE(tools.ScrollBarChange(0, 1));
    EXPECT_FALSE(tools.ScrollBarChange(28, 1));
}

TEST_F(FaderToolsTest, CheckBoxClickStoresAlsoWhilePlaying) {
    console->showRunning.set(1);
    tools.ScrolbarVertPosChange(100);
    tools.CheckBoxClick(2, true);
    EXPECT_EQ(flag(102), 1);
    tools.CheckBoxClick(2, false);
    EXPECT_EQ(flag(102), 0);
}

TEST_F(FaderToolsTest, LevelButtonsSetVisibleRowsOnly) {
    show().setLevel(3, 28, 77);
    ToolResult r = tools.SpeedButtonVis255Click();
    EXPECT_TRUE(r.applied);
    EXPECT_EQ(r.status, " Установлено в 255");
    for (int c = 1; c <= 27; ++c) EXPECT_EQ(show().level(3, c), 255) << c;
    EXPECT_EQ(show().level(3, 28), 77);
    EXPECT_EQ(show().level(3, 0), 0);

    EXPECT_EQ(tools.SpeedButtonVis127Click().status, " Установлено в 127");
    EXPECT_EQ(show().level(3, 27), 127);
    EXPECT_EQ(tools.SpeedButtonVis0Click().status, " Установлено в 0 ");
    EXPECT_EQ(show().level(3, 1), 0);
    EXPECT_EQ(show().level(3, 28), 77);
}

TEST_F(FaderToolsTest, AllScrl0ClearsTheWholeRecord) {
    for (int c = 0; c < 256; ++c) {
        show().setLevel(3, c, 9);
        show().setLevel(4, c, 9);
    }
    ToolResult r = tools.SpeedButtonAllScrl0Click();
    EXPECT_TRUE(r.applied);
    EXPECT_EQ(r.status, " Вся сцена установлена в 0");
    for (int c = 0; c < 256; ++c) EXPECT_EQ(show().level(3, c), 0) << c;
    EXPECT_EQ(show().level(4, 0), 9);
    EXPECT_EQ(show().level(2, 255), 0);
}

TEST_F(FaderToolsTest, LevelButtonsRefusedWhilePlaying) {
    show().setLevel(3, 1, 5);
    console->showRunning.set(1);
    for (ToolResult r : {tools.SpeedButtonVis0Click(), tools.SpeedButtonVis127Click(),
                         tools.SpeedButtonVis255Click(), tools.SpeedButtonAllScrl0Click()}) {
        EXPECT_FALSE(r.applied);
        EXPECT_TRUE(r.status.empty());
    }
    EXPECT_EQ(show().level(3, 1), 5);
}

TEST_F(FaderToolsTest, OnlyAOneShowsTicked) {
    setFlag(1, 1);
    setFlag(2, 2);
    setFlag(3, 255);
    CheckStates states = tools.CheckBoxFromMemory();
    EXPECT_TRUE(states[0]);
    EXPECT_FALSE(states[1]);
    EXPECT_FALSE(states[2]);
    EXPECT_EQ(flag(2), 2) << "a refresh does not write the flags";
    EXPECT_EQ(console->controls.faderTicked.get(0), 1);
    EXPECT_EQ(console->controls.faderTicked.get(1), 0);
}

TEST_F(FaderToolsTest, GroupLevelTreatsNonZeroAsSelectedAfterWritingBack) {
    setFlag(5, 2);    // visible, shown unticked: written back as 0
    setFlag(100, 2);  // outside the bank: selected
    setFlag(200, 1);
    show().setLevel(3, 5, 11);
    console->showRunning.set(1);  // not gated by playing
    CheckStates shown = tools.CheckBoxFromMemory();
    shown[8] = true;  // row 9 ticked on screen, not yet stored
    tools.ScrollBarLevelAllChange(180, shown);
    EXPECT_EQ(flag(5), 0);
    EXPECT_EQ(flag(9), 1);
    EXPECT_EQ(show().level(3, 5), 11);
    EXPECT_EQ(show().level(3, 9), 180);
    EXPECT_EQ(show().level(3, 100), 180);
    EXPECT_EQ(show().level(3, 200), 180);
    EXPECT_EQ(show().level(3, 201), 0);
    EXPECT_EQ(show().level(2, 100), 0);
}

TEST_F(FaderToolsTest, RefreshShowsTheSceneAndNeverWritesIt) {
    for (int c = 1; c <= 27; ++c) show().setLevel(3, c, static_cast<std::uint8_t>(c * 3));
    ShowMemory::Image before;
    show().snapshot(before);

    FaderPositions shown{};
    shown.fill(99);
    FaderPositions all = tools.ReturnScrollBars(shown, rows({1, 3}), false);
    for (int n = 1; n <= 27; ++n) EXPECT_EQ(all[n - 1], n * 3);

    // Manual mode: ticked rows 1 and 3 keep what they showed.
    show().setCell(cell::kCurrentScene, 4);
    show().setLevel(4, 2, 42);
    show().snapshot(before);
    FaderPositions manual = tools.ReturnScrollBars(all, rows({1, 3}), true);
    EXPECT_EQ(manual[0], 3);
    EXPECT_EQ(manual[2], 9);
    EXPECT_EQ(manual[1], 42);
    EXPECT_EQ(manual[3], 0);
    EXPECT_EQ(console->controls.faderPosition.get(2), 9);

    ShowMemory::Image after;
    show().snapshot(after);
    EXPECT_EQ(before, after);
}

TEST_F(FaderToolsTest, ManualOverlayWritesTickedRowsOfTheBank) {
    tools.ScrolbarVertPosChange(10);
    tools.CheckBoxClick(1, true);
    tools.CheckBoxClick(3, true);
    tools.ScrollBarChange(1, 200);
    tools.ScrollBarChange(2, 150);  // unticked: not overlaid
    tools.ScrollBarChange(3, 7);
    FaderTools::CheckBoxManualScrollBar(*console);
    EXPECT_EQ(console->dmxLine.get(11), 200);
    EXPECT_EQ(console->dmxLine.get(12), 0);
    EXPECT_EQ(console->dmxLine.get(13), 7);
}

TEST_F(FaderToolsTest, SelectionButtons) {
    tools.ScrolbarVertPosChange(27);
    setFlag(27, 1);
    setFlag(55, 1);
    CheckStates on = tools.SpeedButtonOnVisCheckClick();
    for (bool s : on) EXPECT_TRUE(s);
    for (int c = 28; c <= 54; ++c) EXPECT_EQ(flag(c), 1) << c;
    EXPECT_EQ(flag(56), 0);

    CheckStates off = tools.ButtonResetFlagVyborClick();
    for (bool s : off) EXPECT_FALSE(s);
    EXPECT_EQ(flag(28), 0);
    EXPECT_EQ(flag(27), 1);
    EXPECT_EQ(flag(55), 1);

    setFlag(0, 1);
    tools.SpeedButtonOffAllCheckClick();
    EXPECT_EQ(FaderTools::kAllFlagsCleared, " Все флажки Установлены ");
    for (int c = 0; c < 256; ++c) EXPECT_EQ(flag(c), 0) << c;
}

TEST_F(FaderToolsTest, InvertGroupsOfFiveLeaveRows26And27) {
    CheckStates shown = rows({21, 23, 26});
    CheckStates inv = tools.SpeedButtonInvClick(21, shown);
    EXPECT_EQ(inv, rows({22, 24, 25, 26}));
    EXPECT_EQ(flag(21), 0);
    EXPECT_EQ(flag(22), 1);
    EXPECT_EQ(flag(26), 1);
    EXPECT_EQ(flag(27), 0);

    EXPECT_EQ(tools.SpeedButtonInvClick(1, rows({})), rows({1, 2, 3, 4, 5}));
    EXPECT_EQ(tools.SpeedButtonInvClick(16, rows({})), rows({16, 17, 18, 19, 20}));
    EXPECT_EQ(tools.SpeedButtonInvClick(3, shown), shown) << "no such button";
}

TEST(OutputLabelTest, DmxAndPercent) {
    EXPECT_EQ(outputLabelText(0, true), "0");
    EXPECT_EQ(outputLabelText(1, true), "1");
    EXPECT_EQ(outputLabelText(127, true), "50");
    EXPECT_EQ(outputLabelText(128, true), "51");
    EXPECT_EQ(outputLabelText(255, true), "100");
    EXPECT_EQ(outputLabelText(128, false), "128");
    // The percent is the least p with 255·p >= 100·v.
    for (int v = 0; v < 256; ++v) {
        const int p = levelPercent(static_cast<std::uint8_t>(v));
        EXPECT_GE(255 * p, 100 * v) << v;
        EXPECT_LT(255 * (p - 1), 100 * v) << v;
    }
}

TEST_F(FaderToolsTest, SlowRefreshVisitsEveryRowInNineTicks) {
    tools.ScrolbarVertPosChange(100);
    console->dmxLine.set(101, 255);
    auto fast = tools.outputLabels(true, true);
    ASSERT_EQ(fast.size(), 27u);
    EXPECT_EQ(fast[0].row, 1);
    EXPECT_EQ(fast[0].text, "100");
    EXPECT_EQ(tools.labelRefreshCounter(), 1);

    std::set<int> seen;
    int previousCounter = tools.labelRefreshCounter();
    for (int t = 0; t < 9; ++t) {
        auto slow = tools.outputLabels(false, false);
        ASSERT_EQ(slow.size(), 3u);
        const int k = tools.labelRefreshCounter();
        EXPECT_EQ(k, previousCounter % 9 + 1);
        previousCounter = k;
        EXPECT_EQ(slow[0].row, 3 * k - 2);
        EXPECT_EQ(slow[2].row, 3 * k);
        for (const auto& l : slow) seen.insert(l.row);
    }
    EXPECT_EQ(seen.size(), 27u);
    EXPECT_EQ(tools.labelRefreshCounter(), 1);
}

}  // namespace
}  // namespace lumetra
