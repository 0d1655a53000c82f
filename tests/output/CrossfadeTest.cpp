// SborDmxStroki: the three crossfade modes and "no item".
#include "output/TickFixture.h"

namespace lumetra::test {
namespace {

class Crossfade : public TickFixture {};

TEST_F(Crossfade, FadersModeMovesByTheRateTableAndCopiesTheTarget) {
    setMode(CrossfadeMode::Faders);
    setScene(3);
    con.show.setLevel(3, 1, 100);
    con.show.setLevel(3, 2, 200);
    con.show.setLevel(3, 255, 255);
    setRate(1, 30);
    setRate(2, 255);
    setRate(255, 10);
    setSlot(2, 250);

    cycle.SborDmxStroki();
    EXPECT_EQ(slot(1), 30);
    EXPECT_EQ(slot(2), 200);
    EXPECT_EQ(slot(255), 10);
    EXPECT_EQ(con.targetLine.get(1), 100);
    EXPECT_EQ(con.targetLine.get(2), 200);
    EXPECT_EQ(con.targetLine.get(255), 255);
    EXPECT_EQ(con.show.CurrentSceneBase(), layout::sceneOffset(3));  // RaschetAdr

    for (int t = 0; t < 3; ++t) cycle.SborDmxStroki();
    EXPECT_EQ(slot(1), 100);  // 30, 60, 90, then lands on 100
    EXPECT_EQ(slot(255), 40);
}

TEST_F(Crossfade, FadersModeWithRate10Reaches255InExactly26Ticks) {
    setMode(CrossfadeMode::Faders);
    con.show.setLevel(0, 9, 255);
    setRate(9, 10);
    for (int t = 1; t <= 25; ++t) {
        cycle.SborDmxStroki();
        ASSERT_EQ(slot(9), 10 * t);
    }
    cycle.SborDmxStroki();
    EXPECT_EQ(slot(9), 255);
}

TEST_F(Crossfade, FadersModeWithRate0StaysWhereItIs) {
    setMode(CrossfadeMode::Faders);
    con.show.setLevel(0, 4, 200);
    setSlot(4, 17);
    for (int t = 0; t < 5; ++t) cycle.SborDmxStroki();
    EXPECT_EQ(slot(4), 17);
}

TEST_F(Crossfade, AutomaticModeWhileStoppedCopiesLikeOff) {
    setMode(CrossfadeMode::Automatic);
    con.showRunning.set(0);
    con.targetLine.set(5, 9);
    con.show.setLevel(0, 5, 180);
    con.tempoSteps.set(4, 1);
    cycle.SborDmxStroki();
    EXPECT_EQ(slot(5), 180);
    EXPECT_EQ(con.targetLine.get(5), 9);  // no target copy in this branch
}

TEST_F(Crossfade, AutomaticModeWhilePlayingUsesTempoSteps) {
    setMode(CrossfadeMode::Automatic);
    con.showRunning.set(1);
    con.show.setLevel(0, 5, 180);
    con.show.setLevel(0, 6, 0);
    setSlot(6, 100);
    setRate(5, 255);            // the rate table plays no part here
    con.tempoSteps.set(4, 7);   // channel 5
    con.tempoSteps.set(5, 40);  // channel 6
    cycle.SborDmxStroki();
    EXPECT_EQ(slot(5), 7);
    EXPECT_EQ(slot(6), 60);
    EXPECT_EQ(con.targetLine.get(5), 180);
}

TEST_F(Crossfade, OffModeCopiesTheSceneStraight) {
    setMode(CrossfadeMode::Off);
    setScene(255);
    for (int c = 1; c <= 255; ++c) con.show.setLevel(255, c, static_cast<std::uint8_t>(c));
    cycle.SborDmxStroki();
    for (int c = 1; c <= 255; ++c) ASSERT_EQ(slot(c), c);
}

TEST_F(Crossfade, NoItemSelectedLeavesTheLine) {
    for (std::uint8_t mode : {std::uint8_t{255}, std::uint8_t{3}, std::uint8_t{200}}) {
        con.controls.crossfadeMode.set(mode);
        con.show.setLevel(0, 1, 99);
        setSlot(1, 12);
        cycle.SborDmxStroki();
        EXPECT_EQ(slot(1), 12);
        EXPECT_EQ(con.targetLine.get(1), 0);
    }
}

TEST_F(Crossfade, SwitchingModesKeepsTheLineAsCrossfadeState) {
    setMode(CrossfadeMode::Off);
    con.show.setLevel(0, 1, 200);
    cycle.SborDmxStroki();
    con.show.setLevel(0, 1, 0);
    setRate(1, 50);
    setMode(CrossfadeMode::Faders);
    cycle.SborDmxStroki();
    EXPECT_EQ(slot(1), 150);
}

TEST_F(Crossfade, SceneByteZeroAndSlotsAbove255AreNotWritten) {
    setMode(CrossfadeMode::Off);
    con.show.setLevel(0, 0, 99);
    setSlot(300, 5);
    cycle.SborDmxStroki();
    EXPECT_EQ(slot(0), 0);
    EXPECT_EQ(slot(256), 0);
    EXPECT_EQ(slot(300), 5);
}

class RecordingAvtomats : public AvtomatOutput {
  public:
    int calls = 0;
    int slotSeen = -1;
    void OutJobAvtomats(Console& console) override {
        ++calls;
        slotSeen = console.dmxLine.get(1);
        console.dmxLine.set(31, 222);
    }
};

TEST_F(Crossfade, OutJobAvtomatsIsASeamCalledAfterTheCrossfade) {
    setMode(CrossfadeMode::Off);
    con.show.setLevel(0, 1, 44);
    cycle.SborDmxStroki();  // no generators yet: nothing happens
    EXPECT_EQ(slot(31), 0);

    RecordingAvtomats avtomats;
    cycle.setAvtomats(&avtomats);
    cycle.RealTimeTick();
    EXPECT_EQ(avtomats.calls, 1);
    EXPECT_EQ(avtomats.slotSeen, 44);
    EXPECT_EQ(slot(31), 222);  // and the overlays follow it
    cycle.setAvtomats(nullptr);
}

}  // namespace
}  // namespace lumetra::test
