#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace lumetra::testing {

// An OLA client that receives one universe from olad on 127.0.0.1:port,
// as any other program on the network would see the console's output.
// Single-threaded: frames arrive while pump() runs the client's loop.
class OlaReceiver {
  public:
    OlaReceiver(std::uint16_t port, unsigned universe);
    ~OlaReceiver();

    // Connects and registers for the universe; false when olad is not there.
    bool connect();
    bool connected() const;

    // Runs the client until pred() holds or the time is up; returns pred().
    // A connection that closes meanwhile is left closed.
    bool pumpUntil(const std::function<bool()>& pred, std::chrono::milliseconds limit);

    // The newest frame (the levels of channels 1..n) and how many arrived.
    const std::vector<std::uint8_t>& latest() const { return latest_; }
    std::uint64_t frames() const { return frames_; }
    // Arrival time of every frame since the last clear, for interval spreads.
    std::vector<std::chrono::steady_clock::time_point> arrivals;

  private:
    struct Client;
    void onFrame(const std::uint8_t* data, unsigned size);

    std::uint16_t port_;
    unsigned universe_;
    std::unique_ptr<Client> client_;
    std::vector<std::uint8_t> latest_;
    std::uint64_t frames_ = 0;
};

}  // namespace lumetra::testing
