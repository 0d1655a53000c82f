#include "sound/BeatClock.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace lumetra::sound {

std::int64_t BeatGrid::beatAtOrAfter(std::int64_t t) const {
    if (periodNs <= 0) return beatNs;
    if (t <= beatNs) return beatNs - ((beatNs - t) / periodNs) * periodNs;
    const std::int64_t n = (t - beatNs + periodNs - 1) / periodNs;
    return beatNs + n * periodNs;
}

int HeardBeats::periodsBetween(std::int64_t atNs) const {
    return periodsAfter(beatNs, atNs);
}

int HeardBeats::periodsAfter(std::int64_t fromNs, std::int64_t atNs) const {
    if (periodNs <= 0 || fromNs <= 0 || atNs <= fromNs) return 0;
    const std::int64_t gap = atNs - fromNs;
    const std::int64_t n = (gap + periodNs / 2) / periodNs;
    if (n < 1 || n > 2) return 0;
    return std::llabs(gap - n * periodNs) < periodNs / 4 ? static_cast<int>(n) : 0;
}

bool HeardBeats::holdingAt(std::int64_t nowNs) const {
    return periodNs > 0 && streak >= kBeatsToHold &&
           nowNs - beatNs < static_cast<std::int64_t>(kMissedPeriods * periodNs);
}

bool HeardBeats::sameTempo(std::int64_t reported) const {
    if (periodNs <= 0) return false;
    // A tracker at twice the tempo heard still counts when the music's
    // beats fall on every other of its beats (the level the beats were
    // heard at is the music's).
    return std::llabs(reported - periodNs) < periodNs / 4 ||
           (halved && std::llabs(2 * reported - periodNs) < periodNs / 4);
}

void HeardBeats::beat(std::int64_t atNs, std::int64_t reported, bool confirmed) {
    backInTime = false;
    if (periodNs <= 0) periodNs = reported;
    // One period after the last beat, or two where the music left one out.
    // Two count only while the tracker hears the same tempo: one that has
    // found another octave (half or double) and beats at it is followed.
    int periods = periodsBetween(atNs);
    // The tracker has gone over to half the tempo, on the same grid.
    const bool slower = periods == 2 && std::llabs(reported - 2 * periodNs) < periodNs / 2;
    if (periods == 2 && !sameTempo(reported) && !slower) periods = 0;
    streak = periods > 0 ? streak + 1 : 1;
    // The drums (the beats an onset confirmed) against the tracker's grid.
    const std::int64_t sinceDrum = atNs - drumNs;
    if (confirmed) {
        everyOther = periodsAfter(drumNs, atNs) == 2 ? everyOther + 1 : 0;
        drumNs = atNs;
    }
    if (periods == 0) halved = false;
    if (periods == 0 && onHeldGrid(atNs)) {
        // The drums are back after a break on the grid that held before it:
        // one more beat on it and the beat holds again.
        periodNs = heldPeriodNs;
        nextInterval = 0;
        beatNs = atNs;
        streak = kBeatsToHold - 1;
        backInTime = true;
        return;
    }
    if (slower || (everyOther >= kEveryOtherToHalve && periodNs < kEighthsBelowNs)) {
        // Or three beats in a row came two periods apart: the music's beat
        // is every other one of the tracker's (the hi-hats' eighths made it
        // hear twice the tempo). The beat goes on at the slower level.
        periodNs = slower ? atNs - beatNs : sinceDrum;
        intervals.fill(periodNs);
        nextInterval = intervals.size();
        everyOther = 0;
        halved = !slower;
        periods = 0;
    }
    if (periods > 0) {
        // The tracker's own period is a whole number of analysis hops (11.6
        // ms apart) and slow to follow a change of tempo; the intervals heard
        // are finer. The median of the last three follows a new tempo two
        // beats after it starts, and one odd interval does not move it.
        intervals[nextInterval++ % intervals.size()] = (atNs - beatNs) / periods;
        std::array<std::int64_t, 3> last = intervals;
        if (nextInterval >= last.size()) {
            std::sort(last.begin(), last.end());
            periodNs = last[1];
        } else {
            periodNs = (3 * periodNs + intervals[(nextInterval - 1) % intervals.size()]) / 4;
        }
    } else if (!halved) {
        periodNs = reported;
        nextInterval = 0;
    }
    beatNs = atNs;
    if (streak >= kBeatsToHold) {
        heldPeriodNs = periodNs;
        heldBeatNs = beatNs;
    }
}

bool HeardBeats::onHeldGrid(std::int64_t atNs) const {
    if (heldPeriodNs <= 0 || heldBeatNs <= 0 || atNs <= heldBeatNs) return false;
    const std::int64_t gap = atNs - heldBeatNs;
    const std::int64_t n = (gap + heldPeriodNs / 2) / heldPeriodNs;
    return n <= kHeldGridBeats && std::llabs(gap - n * heldPeriodNs) <= heldPeriodNs / 8;
}

bool HeardBeats::tracked(std::int64_t atNs, std::int64_t reported, bool confirmed) {
    if (periodNs > 0 && std::llabs(atNs - beatNs) < periodNs / 4) return false;
    // Where the drums fall on every other beat of the tracker, its beats
    // between them are the eighths.
    if (!confirmed && halved && periodsBetween(atNs) == 0) return false;
    // Alone, a tracker beat may continue a beat held, not change its tempo.
    if (!confirmed && holdingAt(atNs) && !sameTempo(reported)) return false;
    // While the beat holds, a tracker beat off its grid is the tracker still
    // finding a new tempo: the onsets on the grid know better.
    if (holdingAt(atNs) && sameTempo(reported) && periodsBetween(atNs) == 0) return false;
    beat(atNs, reported, confirmed);
    // The tracker and a drum agree on a beat of the grid held before the
    // break: it holds again at once.
    if (confirmed && backInTime) streak = kBeatsToHold;
    return true;
}

bool HeardBeats::onset(std::int64_t atNs) {
    // Was there an onset one period before this one (within an eighth)? The
    // period is the one heard last, or the last one that held: the tracker
    // may have wandered off it in the break.
    std::int64_t periodAfterOne = 0;
    for (std::int64_t period : {periodNs, heldPeriodNs})
        for (std::int64_t o : recentOnsets)
            if (o != 0 && period > 0 && std::llabs(atNs - o - period) <= period / 8 &&
                periodAfterOne == 0)
                periodAfterOne = period;
    recentOnsets[nextOnset++ % recentOnsets.size()] = atNs;
    if (periodNs <= 0) return false;
    // While a beat is recent, only onsets on its grid count; a stale one
    // (a break) gives way to any onset one period after another.
    const bool recent = beatNs > 0 && atNs - beatNs < kMissedPeriods * periodNs;
    if (recent) {
        // One period on, or two where a beat was left out (or the music's
        // beat is every other one of the period).
        const std::int64_t n = atNs - beatNs < 3 * periodNs / 2 ? 1 : 2;
        if (std::llabs(atNs - (beatNs + n * periodNs)) > periodNs / 8) return false;
        beat(atNs, periodNs);
        return true;
    }
    if (periodAfterOne == 0) return false;
    beat(atNs, periodAfterOne);
    return true;
}

BeatGrid HeardBeats::gridAt(std::int64_t nowNs) const {
    BeatGrid g{beatNs, periodNs, false};
    g.holds = holdingAt(nowNs) && nowNs - soundNs < kSilenceNs;
    // A step only for the beat after one heard (after two where the beats
    // heard came every other one): where none was heard, a break may have
    // begun.
    if (periodNs > 0) g.lastStepNs = beatNs + (everyOther > 0 ? 2 : 1) * periodNs + periodNs / 4;
    return g;
}

bool TapTempo::tap(std::int64_t nowNs) {
    if (!taps_.empty()) {
        const std::int64_t gap = nowNs - taps_.back();
        if (gap < kMinIntervalNs) return false;
        if (gap > kRestartNs) taps_.clear();
    }
    taps_.push_back(nowNs);
    while (static_cast<int>(taps_.size()) > kKeptTaps) taps_.pop_front();
    return true;
}

BeatGrid TapTempo::grid() const {
    BeatGrid g;
    if (taps_.size() < 2) return g;
    g.beatNs = taps_.back();
    g.periodNs = (taps_.back() - taps_.front()) / static_cast<std::int64_t>(taps_.size() - 1);
    g.holds = true;
    return g;
}

void BeatSchedule::setPlaying(bool playing, std::int64_t nowNs) {
    if (playing == playing_) return;
    playing_ = playing;
    countFromNs_ = nowNs;
    firstBeatNs_ = INT64_MIN;
    lastBeatNs_ = INT64_MIN;
}

std::optional<std::int64_t> BeatSchedule::nextStepAt(const BeatGrid& grid,
                                                     std::int64_t nowNs) const {
    if (!playing_ || !grid.holds || grid.periodNs <= 0) return std::nullopt;
    // The next beat that is not used up yet and not past. Its step time may
    // have just gone by (the look came a little before the timer, or the
    // grid moved by a few ms): a step a little late beats a beat left out.
    std::int64_t beat = grid.beatAtOrAfter(std::max(nowNs, countFromNs_));
    const std::int64_t half = grid.periodNs / 2;
    if (lastBeatNs_ != INT64_MIN && beat <= lastBeatNs_ + half)
        beat = grid.beatAtOrAfter(lastBeatNs_ + half + 1);
    if (every_ > 1) {
        // Number the beats from the first one counted after Play.
        const std::int64_t first = firstBeatNs_ != INT64_MIN ? firstBeatNs_ : beat;
        const double index =
            std::round(static_cast<double>(beat - first) / static_cast<double>(grid.periodNs));
        const auto n = static_cast<std::int64_t>(index);
        const std::int64_t rest = ((n % every_) + every_) % every_;
        if (rest != 0) beat += (every_ - rest) * grid.periodNs;
    }
    if (beat > grid.lastStepNs) return std::nullopt;
    return beat - kLeadNs;
}

void BeatSchedule::stepped(std::int64_t stepNs) {
    const std::int64_t beat = stepNs + kLeadNs;
    if (firstBeatNs_ == INT64_MIN) firstBeatNs_ = beat;
    lastBeatNs_ = beat;
}

}  // namespace lumetra::sound
