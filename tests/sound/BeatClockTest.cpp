#include <gtest/gtest.h>

#include "sound/BeatClock.h"

namespace lumetra::sound {
namespace {

constexpr std::int64_t kMs = 1'000'000;
constexpr std::int64_t kLead = BeatSchedule::kLeadNs;

// A grid of 120 BPM with a beat at 1 s.
BeatGrid grid120() {
    return {1000 * kMs, 500 * kMs, true};
}

// The steps a schedule makes from `from` to `to`, as the window's timer
// makes them: at each due time, one step.
std::vector<std::int64_t> run(BeatSchedule& s, const BeatGrid& g, std::int64_t from,
                              std::int64_t to) {
    std::vector<std::int64_t> steps;
    std::int64_t now = from;
    while (auto due = s.nextStepAt(g, now)) {
        if (*due > to) break;
        steps.push_back(*due);
        s.stepped(*due);
        now = *due + 1;
    }
    return steps;
}

TEST(BeatSchedule, StepsHalfATickBeforeEachBeatCountingFromPlay) {
    BeatSchedule s;
    EXPECT_FALSE(s.nextStepAt(grid120(), 0)) << "no steps while stopped";
    s.setPlaying(true, 1260 * kMs);  // Play between two beats
    EXPECT_EQ(run(s, grid120(), 1260 * kMs, 3000 * kMs),
              (std::vector<std::int64_t>{1500 * kMs - kLead, 2000 * kMs - kLead, 2500 * kMs - kLead,
                                         3000 * kMs - kLead}));

    // Every 4th beat, counted from the first beat after Play.
    BeatSchedule every4;
    every4.setEvery(4);
    every4.setPlaying(true, 1260 * kMs);
    EXPECT_EQ(
        run(every4, grid120(), 1260 * kMs, 5600 * kMs),
        (std::vector<std::int64_t>{1500 * kMs - kLead, 3500 * kMs - kLead, 5500 * kMs - kLead}));

    // A step just made is not made again when the grid moves by a few ms.
    BeatSchedule again;
    again.setPlaying(true, 0);
    const auto first = again.nextStepAt(grid120(), 900 * kMs);
    ASSERT_TRUE(first);
    again.stepped(*first);
    const BeatGrid heard{1008 * kMs, 500 * kMs, true};  // the tracker heard it 8 ms later
    EXPECT_EQ(*again.nextStepAt(heard, *first + 1), 1508 * kMs - kLead);
}

TEST(BeatSchedule, AGridThatDoesNotHoldMakesNoStep) {
    BeatSchedule s;
    s.setPlaying(true, 0);
    BeatGrid lost = grid120();
    lost.holds = false;
    EXPECT_FALSE(s.nextStepAt(lost, 2000 * kMs));
    EXPECT_TRUE(s.nextStepAt(grid120(), 2000 * kMs));
}

TEST(BeatSchedule, AStepJustDueIsMadeLateAndNoneBeyondTheBeatAfterTheLastHeard) {
    BeatSchedule s;
    s.setPlaying(true, 0);
    // The look comes 5 ms after the step's time: the step is made now
    // rather than the beat left out.
    EXPECT_EQ(*s.nextStepAt(grid120(), 1505 * kMs - kLead), 1500 * kMs - kLead);
    // A grid carried only one beat past the last heard: no step for the next.
    BeatGrid carried = grid120();
    carried.lastStepNs = 1600 * kMs;
    s.stepped(1500 * kMs - kLead);
    EXPECT_FALSE(s.nextStepAt(carried, 1600 * kMs));
}

TEST(TapTempo, MeanOfTheTapsAndTheLastTapAsPhase) {
    TapTempo t;
    EXPECT_FALSE(t.grid().holds);
    for (std::int64_t at : {0, 480, 1000, 1520}) EXPECT_TRUE(t.tap(at * kMs + 1));
    // A held key's auto-repeat is no tap.
    EXPECT_FALSE(t.tap(1550 * kMs));
    BeatGrid g = t.grid();
    EXPECT_TRUE(g.holds);
    EXPECT_EQ(g.periodNs, 1520 * kMs / 3);
    EXPECT_EQ(g.beatNs, 1520 * kMs + 1);
    // After a pause of more than two seconds the count starts again.
    EXPECT_TRUE(t.tap(5000 * kMs));
    EXPECT_FALSE(t.grid().holds);
    EXPECT_TRUE(t.tap(5600 * kMs));
    EXPECT_EQ(t.grid().periodNs, 600 * kMs);
}

TEST(HeardBeats, HoldsAfterThreeBeatsAndLetsGoInABreakOrSilence) {
    HeardBeats h;
    std::int64_t t = 1000 * kMs;
    for (int n = 0; n < 3; ++n, t += 500 * kMs) {
        h.beat(t, 499 * kMs);
        h.soundNs = t;
        EXPECT_EQ(h.gridAt(t).holds, n >= 2) << n;
    }
    const std::int64_t last = t - 500 * kMs;
    // The period follows the heard intervals, finer than the tracker's own.
    EXPECT_GT(h.periodNs, 499 * kMs);
    EXPECT_LE(h.periodNs, 500 * kMs);
    // A break: no beat for two and a half periods.
    h.soundNs = last + 2000 * kMs;
    EXPECT_TRUE(h.gridAt(last + 1200 * kMs).holds);
    EXPECT_FALSE(h.gridAt(last + 1300 * kMs).holds);
    // Silence: beats predicted, but nothing heard for 1.2 s.
    h.soundNs = last;
    EXPECT_FALSE(h.gridAt(last + 1250 * kMs).holds);
    // The beat returns off the old phase: three beats again before it holds.
    h.beat(last + 3100 * kMs, 500 * kMs);
    h.soundNs = last + 3100 * kMs;
    EXPECT_FALSE(h.gridAt(last + 3100 * kMs).holds);
    h.beat(last + 3600 * kMs, 500 * kMs);
    h.beat(last + 4100 * kMs, 500 * kMs);
    h.soundNs = last + 4100 * kMs;
    EXPECT_TRUE(h.gridAt(last + 4100 * kMs).holds);
}

TEST(HeardBeats, FollowsATempoJumpWithinThreeBeatsWhileTheTrackerLags) {
    HeardBeats h;
    std::int64_t t = 1000 * kMs;
    for (int n = 0; n < 6; ++n, t += 500 * kMs) h.beat(t, 500 * kMs);
    // From here the drums play 10 % faster; the tracker still says 500 ms
    // and beats on its old grid, falling behind the new beats.
    t -= 500 * kMs;
    for (int n = 1; n <= 3; ++n) {
        EXPECT_TRUE(h.onset(t + n * 455 * kMs)) << n;
        EXPECT_FALSE(h.tracked(t + n * 500 * kMs - 20 * kMs, 500 * kMs)) << n;
    }
    EXPECT_EQ(h.periodNs, 455 * kMs);
    h.soundNs = t + 3 * 455 * kMs;
    EXPECT_TRUE(h.gridAt(t + 3 * 455 * kMs).holds);
    // A tracker that finds another octave (half the tempo) and beats at it
    // is followed.
    EXPECT_TRUE(h.tracked(t + 3 * 455 * kMs + 910 * kMs, 910 * kMs));
    EXPECT_EQ(h.periodNs, 910 * kMs);
}

TEST(HeardBeats, TheMusicsBeatAtEveryOtherTrackerBeatIsTheTempo) {
    // The tracker hears the hi-hats' eighths (300 ms); the drums come every
    // 600 ms. Three such beats in a row and the tempo is the drums'.
    HeardBeats h;
    for (int n = 0; n < 4; ++n) h.beat(1000 * kMs + n * 600 * kMs, 300 * kMs);
    EXPECT_EQ(h.periodNs, 600 * kMs);
    h.soundNs = 2800 * kMs;
    const BeatGrid g = h.gridAt(2800 * kMs);
    EXPECT_TRUE(g.holds);
    EXPECT_EQ(g.beatAtOrAfter(2900 * kMs), 3400 * kMs);
    // The tracker still beating at 300 ms on the half beat does not move it,
    // confirmed by an onset or alone.
    EXPECT_FALSE(h.tracked(3100 * kMs, 300 * kMs));
    EXPECT_FALSE(h.tracked(3700 * kMs, 300 * kMs, false));
    EXPECT_TRUE(h.tracked(3400 * kMs, 300 * kMs));
    EXPECT_EQ(h.periodNs, 600 * kMs);
    // The same where the tracker's beats between the drums are heard too
    // (alone, with no onset on them): the drums decide.
    HeardBeats soft;
    for (int n = 0; n <= 6; ++n) soft.beat(1000 * kMs + n * 300 * kMs, 300 * kMs, n % 2 == 0);
    EXPECT_EQ(soft.periodNs, 600 * kMs);
    EXPECT_FALSE(soft.tracked(3100 * kMs, 300 * kMs, false));
    // Alone, a tracker beat at another tempo does not move a beat held.
    soft.soundNs = 3400 * kMs;
    EXPECT_FALSE(soft.tracked(3400 * kMs, 450 * kMs, false));
    EXPECT_EQ(soft.periodNs, 600 * kMs);

    // A tracker that goes over to the slower level on the same grid keeps
    // the beat held.
    HeardBeats slower;
    for (int n = 0; n < 3; ++n) slower.beat(1000 * kMs + n * 300 * kMs, 300 * kMs);
    slower.beat(2200 * kMs, 600 * kMs);
    slower.soundNs = 2200 * kMs;
    EXPECT_EQ(slower.periodNs, 600 * kMs);
    EXPECT_TRUE(slower.gridAt(2200 * kMs).holds);
}

TEST(HeardBeats, OnsetsAtTheKnownTempoTakeTheBeatUpAfterABreak) {
    HeardBeats h;
    for (int n = 0; n < 4; ++n) h.beat(1000 * kMs + n * 500 * kMs, 500 * kMs);
    // In the break the tracker wanders off to another tempo.
    h.tracked(6000 * kMs, 390 * kMs);
    const std::int64_t back = 9000 * kMs;  // the drums return, off the old phase
    for (int n = 0; n < 3; ++n) {
        h.soundNs = back + n * 500 * kMs;
        EXPECT_FALSE(h.gridAt(back + n * 500 * kMs).holds) << n;
        h.onset(back + n * 500 * kMs);
        h.onset(back + n * 500 * kMs + 170 * kMs);  // an onset off the beat is no beat
    }
    h.onset(back + 1500 * kMs);
    EXPECT_TRUE(h.gridAt(back + 1500 * kMs).holds);
    EXPECT_EQ(h.beatNs, back + 1500 * kMs);

    // Drums that return in time with the grid that held before the break
    // hold it again at once where the tracker agrees, else on their second
    // beat.
    HeardBeats inTime;
    for (int n = 0; n < 4; ++n) inTime.beat(1000 * kMs + n * 500 * kMs, 500 * kMs);
    inTime.tracked(6130 * kMs, 390 * kMs);  // the tracker's own idea in the break
    HeardBeats drumsAlone = inTime;
    const std::int64_t again = 8500 * kMs + 20 * kMs;  // 12 beats on, 20 ms late
    inTime.tracked(again, 390 * kMs);
    inTime.soundNs = again;
    EXPECT_TRUE(inTime.gridAt(again).holds);
    EXPECT_EQ(inTime.periodNs, 500 * kMs);
    drumsAlone.soundNs = again + 1000 * kMs;
    for (int n = 0; n < 3; ++n) {
        EXPECT_FALSE(drumsAlone.gridAt(again + n * 500 * kMs).holds) << n;
        drumsAlone.onset(again + n * 500 * kMs);
    }
    EXPECT_TRUE(drumsAlone.gridAt(again + 1000 * kMs).holds);
}

}  // namespace
}  // namespace lumetra::sound
