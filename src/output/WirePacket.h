#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>

#include "core/Console.h"
#include "show/ByteTable.h"

namespace lumetra {

// The wire packet: FF F0, the 513 line slots with every data
// byte FF sent as FF F7, then the trailer FF F1 FF. 518 to 1,031 bytes.
namespace wire {
constexpr std::uint8_t kEscape = 0xFF;
constexpr std::uint8_t kStart = 0xF0;                      // FF F0: start of packet
constexpr std::uint8_t kEnd = 0xF1;                        // FF F1: end of data, then one FF
constexpr std::uint8_t kEscFF = 0xF7;                      // FF F7: a data byte of value FF
constexpr std::size_t kMinPacket = 2 + kDmxSlots + 3;      // 518
constexpr std::size_t kMaxPacket = 2 + 2 * kDmxSlots + 3;  // 1,031
}  // namespace wire

using DmxFrame = std::array<std::uint8_t, kDmxSlots>;

// Encodes one line into out (room for at least wire::kMaxPacket bytes) and
// returns the packet length. Allocates nothing.
std::size_t encodePacket(const std::uint8_t* line, std::uint8_t* out);
std::size_t encodePacket(const AtomicTable<kDmxSlots>& line, std::uint8_t* out);

// Turns a byte stream back into frames of 513 slots (tests and tools). It
// resynchronises on FF F0: bytes before a start, a packet cut short by a new
// FF F0, and malformed packets (wrong length, FF followed by anything but
// F0, F1 or F7, no trailer FF) are dropped and counted.
class PacketDecoder {
  public:
    // Feeds bytes; complete frames queue up for next().
    void feed(const std::uint8_t* data, std::size_t n);
    // Takes the oldest complete frame; false when none is waiting.
    bool next(DmxFrame& out);
    std::size_t pending() const { return frames_.size(); }
    std::size_t framesDecoded() const { return decoded_; }
    std::size_t packetsDropped() const { return dropped_; }

  private:
    enum class State { Idle, IdleEscape, Data, DataEscape, Trailer };
    void drop();

    State state_ = State::Idle;
    DmxFrame current_{};
    std::size_t count_ = 0;  // data bytes of the current packet so far
    bool overflow_ = false;
    std::deque<DmxFrame> frames_;
    std::size_t decoded_ = 0;
    std::size_t dropped_ = 0;
};

}  // namespace lumetra
