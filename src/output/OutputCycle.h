#pragma once

#include <atomic>
#include <cstdint>

#include "app/Console.h"
#include "output/UsbDriver.h"

namespace lumetra {

// Seam for the chase generators: the running chase generators write their four output
// bytes into the line (program 1 before program 2). Called by the tick on
// the real-time thread right after the crossfade step; it must not
// allocate, block or touch a widget.
class AvtomatOutput {
  public:
    virtual ~AvtomatOutput() = default;
    virtual void OutJobAvtomats(Console& console) = 0;
};

// Seam for the 3D viewer: its device table, refreshed from the
// finished line before every packet (same rules as above).
class DeviceTableFeed {
  public:
    virtual ~DeviceTableFeed() = default;
    virtual void refreshFromLine(const Console& console) = 0;
};

// The approach rule for one channel: out moves toward target by
// step, all in unsigned bytes modulo 256, never overshooting.
constexpr std::uint8_t approachLevel(std::uint8_t out, std::uint8_t target, std::uint8_t step) {
    if (out < target) {
        const auto next = static_cast<std::uint8_t>(out + step);
        out = (next < out || next >= target) ? target : next;  // wrapped past 255, or reached
    }
    if (out > target) {
        const auto next = static_cast<std::uint8_t>(out - step);
        out = (next > out || next <= target) ? target : next;  // wrapped below 0, or reached
    }
    return out;
}

// The real-time output cycle: every 50 ms RealTimeTick builds
// the line from the current scene and the overlays and hands it to the
// driver. It reads the show and the control mirrors of the Console, writes
// dmxLine, targetLine and blackoutBlinkVisible, never allocates and never
// touches a widget. Ticks must not overlap (the real-time thread calls it
// one at a time).
class OutputCycle {
  public:
    OutputCycle(Console& console, UsbDriver& driver);
    OutputCycle(const OutputCycle&) = delete;
    OutputCycle& operator=(const OutputCycle&) = delete;

    // The seams; either may be null (then that step does nothing). Safe to
    // set while the tick runs; the object must outlive its use.
    void setAvtomats(AvtomatOutput* avtomats) { avtomats_.store(avtomats); }
    void setDeviceTable(DeviceTableFeed* feed) { deviceTable_.store(feed); }

    // SborDmxStroki, ManualDmx, BlankBlackOut, SendToUsb, in this order.
    void RealTimeTick();

    // The steps, public so that tests can run them one by one.
    void SborDmxStroki();   // crossfade step, then OutJobAvtomats
    void OutJobAvtomats();  // chase generators seam
    void ManualDmx();       // pictures, manual, scanner, blackout, macro, patch, sound
    void BlankBlackOut();   // blink request for SpeedButtonBlackOut
    void SendToUsb();       // device table seam, then the packet through the driver

    std::uint64_t tickCount() const { return ticks_.load(std::memory_order_relaxed); }

  private:
    void applyPicture(int picture);

    Console& console_;
    UsbDriver& driver_;
    std::atomic<AvtomatOutput*> avtomats_{nullptr};
    std::atomic<DeviceTableFeed*> deviceTable_{nullptr};
    std::atomic<std::uint64_t> ticks_{0};
};

}  // namespace lumetra
