#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "output/WirePacket.h"

namespace lumetra::soak {

// Reads the virtual interface's FIFO on a thread of its own, decodes every
// packet and keeps the time of the last one, so the walk can tell at any
// moment whether the output still flows. The FIFO is held open for reading
// and writing, so a console that closes its end (a restart) never makes the
// reader see an end of file.
class WireWatch {
  public:
    using Clock = std::chrono::steady_clock;

    explicit WireWatch(std::string fifoPath);
    ~WireWatch();
    WireWatch(const WireWatch&) = delete;
    WireWatch& operator=(const WireWatch&) = delete;

    const std::string& path() const { return path_; }

    // While paused (the console is restarting, or offline mode is on) gaps
    // are not counted; resume() measures again from the next packet on.
    void pause();
    void resume();
    bool paused() const;

    // Time since the last packet, or since resume() when none came since.
    Clock::duration silence() const;
    // The longest gap between two packets while not paused.
    Clock::duration worstGap() const;
    std::uint64_t frames() const;
    std::uint64_t dropped() const;
    DmxFrame lastFrame() const;

  private:
    void run();

    std::string path_;
    int fd_ = -1;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;  // everything below
    bool paused_ = false;
    Clock::time_point last_;
    bool counting_ = false;  // a packet came since the last resume()
    Clock::duration worst_{};
    std::uint64_t frames_ = 0;
    std::uint64_t dropped_ = 0;
    DmxFrame lastFrame_{};
    std::thread thread_;
};

}  // namespace lumetra::soak
