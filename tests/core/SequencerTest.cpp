#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/Sequencer.h"

namespace lumetra {
namespace {

class SequencerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        show().setCell(cell::kTempo, 44);
        show().setCell(cell::kLastScene, 1);
        seq.TempStatus();
    }
    ShowMemory& show() { return console->show; }
    int scene() { return show().currentScene(); }
    int tempoStep(int channel) { return console->tempoSteps.get(channel - 1); }
    void setTempo(int v) {
        show().setCell(cell::kTempo, static_cast<std::uint8_t>(v));
        seq.TempStatus();
    }

    std::unique_ptr<Console> console = std::make_unique<Console>();
    Sequencer seq{*console};
};

TEST_F(SequencerTest, TwoScenesAlternateWhilePlaying) {
    seq.ModePlay();
    std::vector<int> seen;
    for (int i = 0; i < 5; ++i) {
        SequencerStep step = seq.TimerSeqveserTimer(false);
        EXPECT_TRUE(step.advanced);
        seen.push_back(scene());
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 0, 1, 0, 1}));
}

TEST_F(SequencerTest, WrapsAtLastSceneAndFlagsConveyorOnlyInConveyorMode) {
    show().setCell(cell::kLastScene, 3);
    show().setCell(cell::kCurrentScene, 2);
    seq.ModePlay();
    SequencerStep step = seq.TimerSeqveserTimer(false, true);
    EXPECT_EQ(scene(), 3);
    EXPECT_FALSE(step.wrapped);
    EXPECT_FALSE(step.conveyorDue);

    step = seq.TimerSeqveserTimer(false, false);
    EXPECT_EQ(scene(), 0);
    EXPECT_TRUE(step.wrapped);
    EXPECT_FALSE(step.conveyorDue);

    // A current scene beyond the list (from a file) also goes back to 0.
    show().setCell(cell::kCurrentScene, 9);
    step = seq.TimerSeqveserTimer(false, true);
    EXPECT_EQ(scene(), 0);
    EXPECT_TRUE(step.conveyorDue);
}

TEST_F(SequencerTest, ConveyorJobRunsBeforeTheStepsAreComputed) {
    show().setCell(cell::kCurrentScene, 1);
    seq.ModePlay();
    int calls = 0;
    // The "loaded" show sets scene 2 of a three-scene list with a 0 -> 200 move.
    auto job = [&] {
        ++calls;
        show().setCell(cell::kLastScene, 2);
        show().setCell(cell::kCurrentScene, 2);
        show().setLevel(1, 7, 0);
        show().setLevel(2, 7, 200);
    };
    setTempo(10);  // a = 2
    SequencerStep step = seq.TimerSeqveserTimer(false, true, job);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(step.conveyorDue);
    EXPECT_EQ(scene(), 2);
    EXPECT_EQ(tempoStep(7), 100);

    // Without the conveyor mode the job is not run.
    seq.TimerSeqveserTimer(false, false, job);
    EXPECT_EQ(calls, 1);
}

TEST_F(SequencerTest, TempoStepsSpreadTheMoveOverOneInterval) {
    show().setLevel(0, 1, 0);
    show().setLevel(1, 1, 255);
    show().setLevel(0, 2, 90);
    show().setLevel(1, 2, 90);  // equal levels -> 1, never 0
    show().setLevel(0, 3, 200);
    show().setLevel(1, 3, 100);  // downward moves use the distance too
    seq.ModePlay();

    setTempo(10);  // 100 ms, a = 2
    EXPECT_EQ(seq.intervalMs(), 100);
    seq.TimerSeqveserTimer(false);
    ASSERT_EQ(scene(), 1);
    EXPECT_EQ(tempoStep(1), 127);
    EXPECT_EQ(tempoStep(2), 1);
    EXPECT_EQ(tempoStep(3), 50);
    EXPECT_EQ(tempoStep(255), 1);

    setTempo(170);  // 28,900 ms, a = 578 clamped to 255
    seq.TimerSeqveserTimer(false);
    ASSERT_EQ(scene(), 0);  // old = scene 1 now, new = scene 0
    EXPECT_EQ(tempoStep(1), 1);
    EXPECT_EQ(tempoStep(3), 1);

    setTempo(44);  // 1,936 ms, a = 38
    seq.TimerSeqveserTimer(false);
    EXPECT_EQ(tempoStep(1), 255 / 38);
    EXPECT_EQ(tempoStep(3), 100 / 38);
}

TEST_F(SequencerTest, SceneZeroComparesWithTheLastScene) {
    show().setCell(cell::kLastScene, 2);
    show().setCell(cell::kCurrentScene, 2);
    show().setLevel(2, 4, 40);
    show().setLevel(1, 4, 250);  // must not be used: scene 1 does not precede scene 0
    show().setLevel(0, 4, 240);
    setTempo(10);
    seq.ModePlay();
    seq.TimerSeqveserTimer(false);
    ASSERT_EQ(scene(), 0);
    EXPECT_EQ(tempoStep(4), 100);
}

TEST_F(SequencerTest, TempoLabelAndBoundsOfOutOfRangeCells) {
    struct Case {
        int cell;
        int interval;
        const char* label;
    };
    for (Case c : {Case{10, 100, "600  Сцен/мин "}, Case{44, 1936, "30  Сцен/мин "},
                   Case{170, 28900, "2  Сцен/мин "}, Case{0, 100, "600  Сцен/мин "},
                   Case{5, 25, "2400  Сцен/мин "}, Case{175, 30625, "1  Сцен/мин "},
                   Case{181, 32761, "1  Сцен/мин "}, Case{182, 28900, "2  Сцен/мин "},
                   Case{200, 28900, "2  Сцен/мин "}, Case{255, 28900, "2  Сцен/мин "}}) {
        show().setCell(cell::kTempo, static_cast<std::uint8_t>(c.cell));
        TempoStatus status = seq.TempStatus();
        EXPECT_EQ(status.intervalMs, c.interval) << "cell " << c.cell;
        EXPECT_EQ(status.label, c.label) << "cell " << c.cell;
        EXPECT_EQ(show().cell(cell::kTempo), c.cell) << "the loaded cell is kept";
    }
    TempoStatus status = seq.ScrollBarTempChange(20);
    EXPECT_EQ(show().cell(cell::kTempo), 20);
    EXPECT_EQ(status.intervalMs, 400);
    EXPECT_EQ(status.label, "150  Сцен/мин ");
}

TEST_F(SequencerTest, StoppedShowFlashesButDoesNotStep) {
    SequencerStep step = seq.TimerSeqveserTimer(false);
    EXPECT_TRUE(step.stopped);
    EXPECT_FALSE(step.advanced);
    EXPECT_EQ(scene(), 0);
    EXPECT_EQ(step.indicator, TempoIndicator::Green);
}

TEST_F(SequencerTest, IndicatorColourFollowsBlackoutAndMacro) {
    console->controls.blackout.set(1);
    EXPECT_EQ(seq.TimerSeqveserTimer(false).indicator, TempoIndicator::Black);
    console->controls.macroOut.set(1);
    EXPECT_EQ(seq.TimerSeqveserTimer(false).indicator, TempoIndicator::Red);
    console->controls.blackout.set(0);
    EXPECT_EQ(seq.TimerSeqveserTimer(false).indicator, TempoIndicator::Red);
}

TEST_F(SequencerTest, SoundTriggerStepsOnlyOnABeat) {
    seq.ModePlay();
    for (int i = 0; i < 3; ++i) {
        SequencerStep step = seq.TimerSeqveserTimer(true);
        EXPECT_TRUE(step.waitingForBeat);
        EXPECT_EQ(step.indicator, TempoIndicator::Green);  // still flashing
    }
    EXPECT_EQ(scene(), 0);

    console->beatFlag.set(1);
    EXPECT_TRUE(seq.TimerSeqveserTimer(true).advanced);
    EXPECT_EQ(scene(), 1);
    EXPECT_EQ(console->beatFlag.get(), 0);
    EXPECT_TRUE(seq.TimerSeqveserTimer(true).waitingForBeat);
    EXPECT_EQ(scene(), 1);
}

TEST_F(SequencerTest, BeatHeardWhileStoppedStepsOnFirstTickAfterPlay) {
    console->beatFlag.set(1);
    EXPECT_TRUE(seq.TimerSeqveserTimer(true).stopped);
    EXPECT_EQ(console->beatFlag.get(), 1);
    seq.ModePlay();
    EXPECT_TRUE(seq.TimerSeqveserTimer(true).advanced);
    EXPECT_EQ(scene(), 1);
    EXPECT_EQ(console->beatFlag.get(), 0);
}

TEST_F(SequencerTest, StopKeepsTheSceneAndDoubleClickRestarts) {
    show().setCell(cell::kLastScene, 4);
    seq.ModePlay();
    seq.TimerSeqveserTimer(false);
    seq.TimerSeqveserTimer(false);
    seq.ModeStop();
    EXPECT_EQ(console->showRunning.get(), 0);
    EXPECT_EQ(scene(), 2);
    seq.ModePlay();
    seq.TimerSeqveserTimer(false);
    EXPECT_EQ(scene(), 3);

    seq.SpeedButtonPlayDblClick();
    EXPECT_EQ(console->showRunning.get(), 1);
    EXPECT_EQ(scene(), 0);
    seq.TimerSeqveserTimer(false);
    EXPECT_EQ(scene(), 1);
}

TEST_F(SequencerTest, ClockCountsFromLastPlayOrStop) {
    InterfaceState offline{true, false, "", ""};
    ClockTick tick = seq.TimerShouClockTimer(offline);
    EXPECT_FALSE(tick.playing);
    EXPECT_EQ(tick.text, "Паузa = 0ч 0м 1с ");
    EXPECT_EQ(tick.caption.captionPrefix, "DEMO mode: ");

    seq.ModePlay();
    EXPECT_EQ(seq.clock().seconds(), 0);
    for (int i = 0; i < 60; ++i) tick = seq.TimerShouClockTimer({false, true, "", ""});
    EXPECT_TRUE(tick.playing);
    EXPECT_EQ(tick.text, "Шоу   = 0ч 1м 0с ");
    EXPECT_EQ(tick.caption.captionPrefix, "Lumetra v5.4.1 ");

    seq.ModeStop();
    tick = seq.TimerShouClockTimer({false, false, "err", ""});
    EXPECT_EQ(tick.text, "Паузa = 0ч 0м 1с ");
    EXPECT_EQ(tick.caption.statusPanel, "err");
}

TEST(SequencerLabelTest, PresetSceneIsShownAsIndexPlusOne) {
    EXPECT_EQ(Sequencer::presetSceneLabel(0), "Уст 1");
    EXPECT_EQ(Sequencer::presetSceneLabel(255), "Уст 256");
}

}  // namespace
}  // namespace lumetra
