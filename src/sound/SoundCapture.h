#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "sound/SoundAnalysis.h"

namespace lumetra::sound {

// Where the sound comes from. Before each analysis tick the window asks for
// the newest 250 samples; a source with nothing new leaves the block as it
// was, as a sound card does with a buffer it has not returned yet.
class SampleRing;

class SoundCapture {
  public:
    virtual ~SoundCapture() = default;
    virtual void fillBlock(Block& block) = 0;
    // Every sample the source delivers, for an analysis that needs the whole
    // stream (the beat tracker); null when the source keeps none.
    virtual const SampleRing* stream() const { return nullptr; }
};

// Nanoseconds of the monotonic clock; sample positions of a stream are tied
// to it when they arrive.
std::int64_t monotonicNs();

// Lays 16-bit samples into a block, little-endian.
void samplesToBlock(const std::int16_t* samples, Block& block);

// The newest samples of a capture thread. The thread appends; the window
// thread copies the newest block. Both hold the lock only for a copy of a
// few hundred samples, so neither waits on the other.
class SampleRing {
  public:
    static constexpr int kDefaultCapacity = 8192;
    explicit SampleRing(int capacity = kDefaultCapacity) : samples_(capacity) {}

    // The samples that arrive now (at nowNs of the monotonic clock).
    void push(const std::int16_t* samples, int count, std::int64_t nowNs = monotonicNs());
    // The number of samples written in all and the time the last of them
    // arrived: sample position p arrived at ns - (written - p) / rate.
    struct Anchor {
        std::uint64_t written = 0;
        std::int64_t ns = 0;
    };
    Anchor anchor() const;
    int capacity() const { return static_cast<int>(samples_.size()); }
    // Copies the newest `count` samples (zeros where fewer were captured)
    // and returns how many samples were captured in all.
    std::uint64_t newest(std::int16_t* out, int count) const;
    // Copies `count` samples from the absolute position `from`; false when
    // some of them are not captured yet or already overwritten.
    bool copy(std::uint64_t from, std::int16_t* out, int count) const;
    void clear();

  private:
    mutable std::mutex mutex_;
    std::vector<std::int16_t> samples_;
    std::uint64_t written_ = 0;
    std::int64_t anchorNs_ = 0;
};

// Time since an arbitrary start; a file source is paced by it. Tests pass
// a clock they step by hand.
using Clock = std::function<std::chrono::nanoseconds()>;
Clock steadyClock();

// A message box the console shows when the sound input cannot start.
struct SoundFailure {
    std::string caption;  // empty: the console's own title
    std::string text;
};

struct OpenedCapture {
    std::unique_ptr<SoundCapture> capture;  // null: the console runs without sound
    std::vector<SoundFailure> failures;     // in the order they happened
};

// Opens the source the command line names: "alsa" (the default capture
// device), "alsa:DEVICE", "file:PATH" or "none".
OpenedCapture openSoundCapture(const std::string& source, Clock clock = steadyClock());

}  // namespace lumetra::sound
