#pragma once

#include <cstdint>

#include "core/Console.h"
#include "output/OutputCycle.h"
#include "show/ByteTable.h"
#include "show/ColorEditFile.h"

namespace lumetra {

// The light of every 3D device as the feed last left it. Written by the
// output tick, read by the viewer; never saved.
struct DeviceLights {
    AtomicTable<io::kDevices> red, green, blue, intensity;
    SharedByte newData{0};  // set by every feed, cleared by the viewer's redraw
};

// A xorshift generator for the colour wheel's flicker: one word of state,
// nothing allocated, good enough to look random on a lamp.
class SmallRandom {
  public:
    explicit SmallRandom(std::uint32_t seed = 0x9E3779B9u) : state_(seed ? seed : 1u) {}
    // 0..254.
    std::uint8_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<std::uint8_t>(state_ % 255u);
    }

  private:
    std::uint32_t state_;
};

struct Rgb {
    std::uint8_t red, green, blue;
    bool operator==(const Rgb&) const = default;
};

// The colour wheel of the second fixture group: ten fixed colours in steps
// of twenty, a new random colour on every call from 201 up.
Rgb colorWheel(std::uint8_t level, SmallRandom& random);

// The shutter of the third fixture group: closed below 11, dimmer up to
// 127, the strobe phase up to 252, open from 253.
std::uint8_t shutterLevel(std::uint8_t level, std::uint8_t strobe);

// Fills the 3D device table from the finished output line, on every tick:
// pan, tilt and beam width of devices 1..18 go to the device table (which
// lives with the colour file), colour and intensity of devices 1..34 to the
// lights. Runs on the real-time thread: no allocation, no locks.
class DeviceFeed : public DeviceTableFeed {
  public:
    explicit DeviceFeed(io::ChannelColors& devices) : devices_(devices) {}

    void refreshFromLine(const Console& console) override;

    const io::ChannelColors& devices() const { return devices_; }
    const DeviceLights& lights() const { return lights_; }
    DeviceLights& lights() { return lights_; }

    // True once after each feed: the viewer redraws only on new data.
    bool takeNewData();

  private:
    void setBeam(int device, std::uint8_t pan, std::uint8_t tilt, std::uint8_t width);
    void setLight(int device, Rgb color, std::uint8_t intensity);

    io::ChannelColors& devices_;
    DeviceLights lights_;
    SmallRandom random_;  // tick thread only
};

}  // namespace lumetra
