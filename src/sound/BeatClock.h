#pragma once

#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>

namespace lumetra::sound {

// Steps on the music's beat. Times are nanoseconds of one monotonic clock
// (the sound input's), so that a beat heard in the sample stream and the
// moment the window makes a step can be compared.

// Where the beats fall: the time of one beat and the period after it. A
// grid that does not hold gives no beats.
struct BeatGrid {
    std::int64_t beatNs = 0;    // a beat, heard or tapped
    std::int64_t periodNs = 0;  // time between beats
    bool holds = false;         // the beat is known now (not silence, not a break)
    // No step for a beat after this one (a heard beat is carried one beat on).
    std::int64_t lastStepNs = INT64_MAX;

    double bpm() const { return periodNs > 0 ? 60e9 / static_cast<double>(periodNs) : 0.0; }
    // The first beat at or after t.
    std::int64_t beatAtOrAfter(std::int64_t t) const;
};

// What the tracker has heard, and the rule of when its grid holds: after
// three beats in a row at the tempo, until no beat came for two and a half
// periods (a break) or the input has been silent for 1.2 s.
struct HeardBeats {
    static constexpr int kBeatsToHold = 3;
    static constexpr double kMissedPeriods = 2.5;
    static constexpr std::int64_t kSilenceNs = 1'200'000'000;

    std::int64_t beatNs = 0;
    std::int64_t periodNs = 0;
    std::int64_t heldPeriodNs = 0;  // the period when the beat last held
    std::int64_t heldBeatNs = 0;    // and the last beat then
    static constexpr std::int64_t kHeldGridBeats = 64;
    bool backInTime = false;   // the last beat took up the grid held before a break
    int streak = 0;            // beats in a row at the tempo
    std::int64_t soundNs = 0;  // the last time the input was not silent

    // A new beat and the tracker's period: the beat continues the streak
    // when it falls one period (within a quarter) after the last, or two
    // (a beat left out), and the period then follows the intervals heard.
    // A beat that no onset confirmed (the tracker's alone) continues the
    // streak but says nothing of where the drums fall.
    void beat(std::int64_t atNs, std::int64_t reported, bool confirmed = true);
    // 1 or 2 when atNs lies that many periods after the last beat (within a
    // quarter period), else 0.
    int periodsBetween(std::int64_t atNs) const;
    int periodsAfter(std::int64_t fromNs, std::int64_t atNs) const;
    // The tracker's period is the tempo heard (within a quarter), not
    // another octave of it.
    bool sameTempo(std::int64_t reported) const;
    // Three beats in a row at the tempo, the last one recent.
    bool holdingAt(std::int64_t nowNs) const;
    static constexpr int kEveryOtherToHalve = 3;
    // Only a tracker above 150 BPM may be hearing eighths.
    static constexpr std::int64_t kEighthsBelowNs = 400'000'000;
    int everyOther = 0;       // confirmed beats in a row two periods after the last
    std::int64_t drumNs = 0;  // the last confirmed beat
    bool halved = false;      // the period is twice the tracker's: its beats come every other one
    // atNs falls on the grid that last held (within an eighth of a period,
    // up to 64 beats on): the music came back from a break in time.
    bool onHeldGrid(std::int64_t atNs) const;
    std::array<std::int64_t, 3> intervals{};  // the last intervals heard
    std::size_t nextInterval = 0;             // intervals heard in a row
    // A beat of the tracker; false when it is the beat already heard (an
    // onset on the grid may have taken it first).
    bool tracked(std::int64_t atNs, std::int64_t reported, bool confirmed = true);
    // An onset: it counts as the beat when it falls within an eighth of a
    // period of the next beat after a recent one, or, when the last beat is
    // stale (after a break), one period after an earlier onset at the tempo
    // known, so that the returning drums take the beat up again.
    bool onset(std::int64_t atNs);
    std::array<std::int64_t, 8> recentOnsets{};  // the last onsets, newest at next % 8
    std::size_t nextOnset = 0;
    BeatGrid gridAt(std::int64_t nowNs) const;
};

// Tempo and phase from the operator's taps: the period is the mean of the
// intervals of the last taps, the phase the last tap. A pause of more than
// two seconds starts a new count; taps closer than 150 ms (a held key's
// auto-repeat) are not taps.
class TapTempo {
  public:
    static constexpr std::int64_t kMinIntervalNs = 150'000'000;
    static constexpr std::int64_t kRestartNs = 2'000'000'000;
    static constexpr int kKeptTaps = 8;

    // Returns true when the tap counted.
    bool tap(std::int64_t nowNs);
    // Two taps make a tempo; until then the grid does not hold.
    BeatGrid grid() const;
    void clear() { taps_.clear(); }

  private:
    std::deque<std::int64_t> taps_;
};

// Which beat the sequencer steps on: every beat, or every 2nd, 4th or 8th,
// counting from the first beat after playing started. The step is made a
// half tick before the beat, so that the output tick that follows, the one
// nearest the beat, carries the new scene.
class BeatSchedule {
  public:
    static constexpr std::int64_t kLeadNs = 25'000'000;  // half of the 50 ms tick

    void setEvery(int beats) { every_ = beats < 1 ? 1 : beats; }
    int every() const { return every_; }

    // Playing starts (or stops): the count of beats starts again.
    void setPlaying(bool playing, std::int64_t nowNs);

    // The time to make the next step, or nothing while the grid does not
    // hold or the show is stopped.
    std::optional<std::int64_t> nextStepAt(const BeatGrid& grid, std::int64_t nowNs) const;

    // The step due at stepNs was made: the beat it stood for is used up.
    void stepped(std::int64_t stepNs);

  private:
    int every_ = 1;
    bool playing_ = false;
    std::int64_t countFromNs_ = 0;  // beats before this time are not counted
    std::int64_t lastBeatNs_ = INT64_MIN;
    std::int64_t firstBeatNs_ = INT64_MIN;  // the beat counted as number 0
};

}  // namespace lumetra::sound
