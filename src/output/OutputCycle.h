#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "core/Console.h"
#include "output/LineOutput.h"
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

// The real-time output cycle: every 50 ms RealTimeTick builds the line from
// the current scene and the overlays and hands it to every output (the USB
// driver, olad universes). It reads the show and the control mirrors of the
// Console, writes dmxLine, targetLine and blackoutBlinkVisible, never
// allocates and never touches a widget. Ticks must not overlap (the
// real-time thread calls it one at a time).
class OutputCycle {
  public:
    static constexpr std::size_t kMaxOutputs = 8;

    explicit OutputCycle(Console& console);
    // The cycle with the USB driver as its one output.
    OutputCycle(Console& console, UsbDriver& driver);
    OutputCycle(const OutputCycle&) = delete;
    OutputCycle& operator=(const OutputCycle&) = delete;

    // The seams; either may be null (then that step does nothing). Safe to
    // set while the tick runs; the object must outlive its use.
    void setAvtomats(AvtomatOutput* avtomats) { avtomats_.store(avtomats); }
    void setDeviceTable(DeviceTableFeed* feed) { deviceTable_.store(feed); }
    // Adds one destination of the line; false when kMaxOutputs are there
    // already. Safe while the tick runs; outputs are never removed, so each
    // must outlive the tick.
    bool addOutput(LineOutput* output);

    // SborDmxStroki, ManualDmx, BlankBlackOut, SendToUsb, in this order.
    void RealTimeTick();

    // The steps, public so that tests can run them one by one.
    void SborDmxStroki();   // crossfade step, then OutJobAvtomats
    void OutJobAvtomats();  // chase generators seam
    void ManualDmx();       // pictures, manual, scanner, blackout, macro, patch, sound
    void BlankBlackOut();   // blink request for SpeedButtonBlackOut
    void SendToUsb();       // device table seam, then the line to every output

    std::uint64_t tickCount() const { return ticks_.load(std::memory_order_relaxed); }

  private:
    void applyPicture(int picture);

    Console& console_;
    std::array<std::atomic<LineOutput*>, kMaxOutputs> outputs_{};
    std::atomic<std::size_t> outputCount_{0};
    std::atomic<AvtomatOutput*> avtomats_{nullptr};
    std::atomic<DeviceTableFeed*> deviceTable_{nullptr};
    std::atomic<std::uint64_t> ticks_{0};
};

}  // namespace lumetra
