#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace lumetra {

// A fixed table of bytes shared between the UI thread and the real-time
// tick. Every element is its own relaxed atomic: a reader may see a table
// half way through an update, but never a torn byte.
template <std::size_t N, typename T = std::uint8_t>
class AtomicTable {
public:
    static constexpr std::size_t kSize = N;

    T get(std::size_t i) const { return cells_[i].load(std::memory_order_relaxed); }
    void set(std::size_t i, T v) { cells_[i].store(v, std::memory_order_relaxed); }

    void fill(T v, std::size_t from = 0, std::size_t to = N) {
        for (std::size_t i = from; i < to; ++i) set(i, v);
    }
    void copyOut(T* dst, std::size_t from = 0, std::size_t count = N) const {
        for (std::size_t i = 0; i < count; ++i) dst[i] = get(from + i);
    }
    void copyIn(const T* src, std::size_t from = 0, std::size_t count = N) {
        for (std::size_t i = 0; i < count; ++i) set(from + i, src[i]);
    }

private:
    std::array<std::atomic<T>, N> cells_{};
};

// A single shared byte (a flag or a small value) with relaxed ordering.
class SharedByte {
public:
    constexpr SharedByte(std::uint8_t v = 0) : v_(v) {}
    std::uint8_t get() const { return v_.load(std::memory_order_relaxed); }
    void set(std::uint8_t v) { v_.store(v, std::memory_order_relaxed); }

private:
    std::atomic<std::uint8_t> v_;
};

}  // namespace lumetra
