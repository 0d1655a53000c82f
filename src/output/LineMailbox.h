#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace lumetra {

// A mailbox for one line between the tick (the only writer) and a sender
// thread (the only reader): at most one line waits, and a line put while the
// last one is still unsent replaces it. Three buffers change hands through
// one atomic byte, so neither side ever waits for the other: the writer
// fills its own buffer and swaps it in, the reader swaps the waiting one
// out. Nothing allocates.
class LineMailbox {
  public:
    static constexpr std::size_t kLevels = 512;  // DMX channels 1..512
    using Line = std::array<std::uint8_t, kLevels>;

    // Writer: the buffer to fill, then put() to hand it over. Returns true
    // when the line it replaces had not been taken yet.
    Line& writeBuffer() { return buffers_[back_]; }
    bool put() {
        const std::uint8_t previous =
            waiting_.exchange(static_cast<std::uint8_t>(back_ | kFresh), std::memory_order_acq_rel);
        back_ = previous & kIndex;
        return (previous & kFresh) != 0;
    }

    // Reader: the newest line not taken yet, or null. The line stays valid
    // until the next take().
    const Line* take() {
        if ((waiting_.load(std::memory_order_acquire) & kFresh) == 0) return nullptr;
        const std::uint8_t previous = waiting_.exchange(front_, std::memory_order_acq_rel);
        front_ = previous & kIndex;
        return &buffers_[front_];
    }

  private:
    static constexpr std::uint8_t kIndex = 0x03;
    static constexpr std::uint8_t kFresh = 0x04;

    std::array<Line, 3> buffers_{};
    std::uint8_t back_ = 0;                 // the writer's
    std::atomic<std::uint8_t> waiting_{1};  // the one in between, and whether it is fresh
    std::uint8_t front_ = 2;                // the reader's
};

}  // namespace lumetra
