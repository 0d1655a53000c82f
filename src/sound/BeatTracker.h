#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

#include "sound/BeatClock.h"
#include "sound/SoundCapture.h"

namespace lumetra::sound {

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
    std::atomic<std::int64_t> soundNs_{0};
    std::atomic<std::int64_t> busyNs_{0};
    std::thread thread_;
};

}  // namespace lumetra::sound
