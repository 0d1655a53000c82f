#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

#include "sound/BeatClock.h"
#include "sound/SoundCapture.h"

namespace lumetra::sound {

// The analysis itself, hop by hop: aubio's tempo tracker and its energy
// onsets over the whole sample stream, and the beats they agree on. Apart
// from the thread so that a benchmark can run it on a file at full speed.
class BeatAnalysis {
  public:
    static constexpr int kWindow = 1024;
    static constexpr int kHop = 512;

    BeatAnalysis();
    ~BeatAnalysis();
    BeatAnalysis(const BeatAnalysis&) = delete;
    BeatAnalysis& operator=(const BeatAnalysis&) = delete;

    // aubio's objects were made (they are not when memory runs out).
    bool ok() const;
    // The next kHop samples of the stream, the last of which arrived at
    // endNs; true when a beat was heard in them.
    bool feed(const std::int16_t* samples, std::int64_t endNs);
    const HeardBeats& heard() const { return heard_; }
    // The end of the last hop that was not silent.
    std::int64_t soundNs() const { return heard_.soundNs; }

  private:
    // The time of aubio's sample position p, given that of the hop's end.
    std::int64_t timeOf(std::uint64_t p, std::int64_t endNs) const;

    // Remembers the onset's strength; false when it is much weaker than
    // the strongest of the last few.
    bool strongOnset(float strength);

    struct Aubio;  // aubio's objects, kept out of this header
    std::unique_ptr<Aubio> aubio_;
    std::uint64_t fed_ = 0;  // samples given to aubio so far
    HeardBeats heard_;
    std::int64_t lastOnsetNs_ = 0;
    std::int64_t pendingNs_ = 0;  // a tracker beat waiting for its onset
    std::int64_t pendingPeriod_ = 0;
    std::array<float, 8> onsetStrengths_{};
    std::size_t nextStrength_ = 0;
};

// The beat of the music, found by aubio's tempo tracker in the whole sample
// stream of the sound input, on a thread of its own: neither the window nor
// the output tick ever waits on it. Beat times are those of the samples
// (their arrival on the monotonic clock), not of the moment they were
// analysed.
class BeatTracker {
  public:
    explicit BeatTracker(const SampleRing& stream);
    ~BeatTracker();
    BeatTracker(const BeatTracker&) = delete;
    BeatTracker& operator=(const BeatTracker&) = delete;

    // The grid as it stands at nowNs: it holds while the music is not silent
    // and its beats keep coming (a break or silence lets it go).
    BeatGrid grid(std::int64_t nowNs) const;

    // Whether anybody follows the beat: without, the thread skips the
    // analysis (and starts it again from the newest samples).
    void setListening(bool on) { listening_.store(on, std::memory_order_relaxed); }

    // Analysis time used so far, for the benchmark.
    std::int64_t busyNs() const { return busyNs_.load(std::memory_order_relaxed); }

  private:
    void run();

    const SampleRing& stream_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> listening_{true};
    // What was heard, published by the analysis thread field by field; a
    // reader may see one field of the next beat early, which moves a step by
    // at most one period's rounding, never tears a value.
    std::atomic<std::int64_t> beatNs_{0};
    std::atomic<std::int64_t> periodNs_{0};
    std::atomic<int> streak_{0};
    std::atomic<int> everyOther_{0};
    std::atomic<std::int64_t> soundNs_{0};
    std::atomic<std::int64_t> busyNs_{0};
    std::thread thread_;
};

}  // namespace lumetra::sound
