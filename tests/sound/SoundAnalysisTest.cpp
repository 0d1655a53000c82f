// The 10 ms sound analysis on hand-made capture buffers.
#include <gtest/gtest.h>

#include <vector>

#include "sound/SoundAnalysis.h"

using namespace lumetra;
using namespace lumetra::sound;

namespace {

// Every sample of the buffer the same 16-bit value.
Block steady(int sample) {
    Block b{};
    const auto v = static_cast<std::uint16_t>(sample);
    for (int n = 0; n < kBlockSamples; ++n) {
        b[2 * n] = static_cast<std::uint8_t>(v & 0xFF);
        b[2 * n + 1] = static_cast<std::uint8_t>(v >> 8);
    }
    return b;
}

struct Analysis : ::testing::Test {
    Console console;
    SoundAnalysis analysis{console};

    // Runs ticks on one block; returns the ticks (0-based) that beat.
    std::vector<int> run(const Block& block, int ticks) {
        std::vector<int> beats;
        for (int t = 0; t < ticks; ++t) {
            analysis.block() = block;
            analysis.tick();
            if (console.beatFlag.get() == 1) beats.push_back(t);
            console.beatFlag.set(0);  // the sequencer takes every beat
        }
        return beats;
    }
};

}  // namespace

TEST(SoundWord, FoldsTheLowByteAndSignsByTheHighByte) {
    EXPECT_EQ(decodeWord(200, 0), 55);
    EXPECT_EQ(decodeWord(10, 255), 10);
    EXPECT_EQ(decodeWord(128, 0), 128);
    EXPECT_EQ(decodeWord(129, 0), 126);
    EXPECT_EQ(decodeWord(0, 254), -255);
    EXPECT_EQ(decodeWord(128, 127), 32513);
}

TEST(SoundLevelFormula, FloorAndScale) {
    EXPECT_EQ(SoundAnalysis::soundLevel(12800, 0), 127);
    EXPECT_EQ(SoundAnalysis::soundLevel(299, 0), 0);  // below 300 counts as silence
    EXPECT_EQ(SoundAnalysis::soundLevel(300, 0), 2);
    EXPECT_EQ(SoundAnalysis::soundLevel(32000, 0), 255);  // 250 * 255 / 200, limited
    EXPECT_EQ(SoundAnalysis::soundLevel(32000, 255), 255);
    EXPECT_EQ(SoundAnalysis::soundLevel(0, 80), 80);
    EXPECT_EQ(SoundAnalysis::soundLevel(12800, 100), 177);  // 155 * 100 / 200 + 100
}

TEST_F(Analysis, SilenceDecaysToTheFloorWithoutBeats) {
    analysis.settings().floor = 100;
    analysis.settings().release = 30;
    const std::vector<int> beats = run(Block{}, 40);
    EXPECT_TRUE(beats.empty());
    EXPECT_EQ(analysis.realLevel(), 0);
    // K was 1000: it stood still on the first tick (RL still 1000), then
    // fell by the release step per tick down to 0.
    EXPECT_EQ(analysis.envelope(), 0);
    EXPECT_EQ(console.soundLevel.load(), 100);
}

TEST_F(Analysis, LevelWithTheFloorAtZero) {
    analysis.settings().floor = 0;
    // Words of 13,100 (bytes 95, 51): RL 13,100, 12,800 after the decay.
    run(steady(51 * 256 + 95), 1);
    EXPECT_EQ(analysis.peak(), 13100);
    EXPECT_EQ(analysis.realLevel(), 12800);
    EXPECT_EQ(console.soundLevel.load(), 127);
    // With the default floor the channels are never dimmed.
    analysis.settings().floor = 255;
    run(steady(51 * 256 + 95), 1);
    EXPECT_EQ(console.soundLevel.load(), 255);
}

TEST_F(Analysis, SteadyToneBeatsOnceEveryHoldTime) {
    // The hold counter starts at 1, so the first beat comes on the second
    // tick; then every 20 ticks while K climbs toward RL.
    const std::vector<int> beats = run(steady(20000), 100);
    EXPECT_EQ(beats, (std::vector<int>{1, 21, 41, 61, 81}));
    EXPECT_EQ(analysis.beatCounter(), 1);  // five beats, counted mod 4
    EXPECT_FALSE(analysis.flipRed());
    EXPECT_EQ(analysis.litSquare(), 0);  // ShapeS1
    EXPECT_EQ(analysis.envelope(), 1000 + 100 * 50);
}

TEST_F(Analysis, AttackThatOvershootsIsReleasedInTheSameTick) {
    analysis.settings().attack = 255;
    analysis.settings().release = 5;
    // RL 1000 + a word of 1,100: K 1,000 + 255 = 1,255 > 1,100, then - 5.
    run(steady(4 * 256 + 80), 1);
    EXPECT_EQ(analysis.envelope(), 1250);
}

TEST_F(Analysis, ClicksBeatAtOnceUnlessHeldOff) {
    analysis.settings().holdTicks = 100;
    const Block click = steady(29490);
    run(Block{}, 5);
    EXPECT_EQ(run(click, 1), std::vector<int>{0});
    // A second click within the hold time gives no beat; once the hold
    // runs out the level of that click is still above the threshold and
    // gives the next beat.
    EXPECT_TRUE(run(Block{}, 50).empty());
    EXPECT_TRUE(run(click, 1).empty());
    EXPECT_EQ(run(Block{}, 150), std::vector<int>{48});
    EXPECT_EQ(analysis.beatCounter(), 2);
    EXPECT_TRUE(analysis.flipRed());
    EXPECT_EQ(analysis.litSquare(), 1);  // ShapeS2
}

TEST_F(Analysis, AWaitingBeatStaysSetAndLaterBeatsOnlyCount) {
    analysis.settings().holdTicks = 10;
    for (int t = 0; t < 40; ++t) {
        analysis.block() = steady(20000);
        analysis.tick();
    }
    EXPECT_EQ(console.beatFlag.get(), 1);  // nobody took it
    EXPECT_EQ(analysis.beatCounter(), 0);  // four beats: 1, 11, 21, 31
}

TEST_F(Analysis, TraceFollowsEverySecondSampleFromTheFourth) {
    Block b{};
    // Sample 3 (word 1) = -3,999 and sample 5 (word 2) = 4,000.
    const auto put = [&b](int sample, int v) {
        b[2 * sample] = static_cast<std::uint8_t>(v & 0xFF);
        b[2 * sample + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
    };
    put(3, 0xF05F);  // hi 240, lo 95: 95 - 15 * 255 = -3,730
    put(5, 4000);    // hi 15, lo 160 -> 95: 15 * 255 + 95 = 3,920
    put(2, 30000);   // not in the window
    analysis.block() = b;
    analysis.tick();
    const auto& trace = analysis.trace();
    ASSERT_EQ(trace.size(), 117u);
    EXPECT_EQ(trace[0].x, 0);
    EXPECT_EQ(trace[0].y, 24 - 1);  // -3,730 div 2,000 toward zero
    EXPECT_EQ(trace[1].x, 1);
    EXPECT_EQ(trace[1].y, 25);
    EXPECT_EQ(trace[116].x, 116);
    EXPECT_EQ(trace[116].y, 24);
    EXPECT_EQ(analysis.peak(), 3920);
}

TEST_F(Analysis, LevelsAreLimitedToTheBarRange) {
    run(steady(0x7F80), 1);  // the loudest word, 32,513
    EXPECT_EQ(analysis.peak(), 32513);
    EXPECT_EQ(analysis.realLevel(), 32000 - 300);
}
