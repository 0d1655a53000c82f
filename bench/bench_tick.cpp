// The work of one RealTimeTick: crossfade, overlays, patch, sound scaling
// and the 513-slot packet, written to a backend that takes it and does
// nothing. Target: at most 2 us per tick.
#include <benchmark/benchmark.h>

#include <memory>

#include "core/Console.h"
#include "output/OutputCycle.h"
#include "output/UsbDriver.h"
#include "output/WirePacket.h"
#include "playback/Avtomats.h"

namespace lumetra {
namespace {

// An open device that accepts every packet.
class SinkBackend : public UsbBackend {
  public:
    int deviceCount(std::uint32_t& count) override { return count = 1, usb::kOk; }
    int serialNumber(int, std::string& out) override { return out = "BENCH", usb::kOk; }
    int description(int, std::string& out) override { return out = "sink", usb::kOk; }
    int open(int) override { return usb::kOk; }
    int close() override { return usb::kOk; }
    int reset() override { return usb::kOk; }
    int setTimeouts(unsigned, unsigned) override { return usb::kOk; }
    int queueStatus(std::uint32_t& rx) override { return rx = 0, usb::kOk; }
    int write(const std::uint8_t* data, std::size_t size, std::size_t& written) override {
        benchmark::DoNotOptimize(data[size - 1]);
        written = size;
        return usb::kOk;
    }
};

// A busy show: every channel moving, a third selected (scanner and sound),
// two pictures, manual faders, a non-identity patch, both chase generators.
struct Rig {
    std::unique_ptr<Console> console = std::make_unique<Console>();
    SinkBackend sink;
    UsbDriver driver{sink};
    OutputCycle cycle{*console, driver};
    Avtomats avtomats{*console};

    explicit Rig(CrossfadeMode mode) {
        Console& c = *console;
        for (int ch = 1; ch <= 255; ++ch) {
            c.show.setLevel(0, ch, static_cast<std::uint8_t>(ch));
            c.show.setLevel(1, ch, static_cast<std::uint8_t>(255 - ch));
            c.show.set(layout::rateOffset(ch), 3);
            c.tempoSteps.set(ch - 1, 2);
        }
        for (int i = 0; i < 256; i += 3) c.show.set(layout::selectionOffset(i), 1);
        for (int i = 0; i < 256; i += 5) {
            c.show.set(layout::pictureOffset(0) + i, 1);
            c.show.set(layout::pictureOffset(15) + layout::kPictureLevels + i, 255);
        }
        c.controls.pictureKeys.set(0, 1);
        c.controls.pictureKeys.set(8, 1);
        c.controls.manual.set(1);
        for (int n = 0; n < kFaderRows; n += 2) {
            c.controls.faderTicked.set(n, 1);
            c.controls.faderPosition.set(n, 200);
        }
        c.controls.scannerPriority.set(1);
        c.controls.scannerX.set(128);
        c.controls.scannerY.set(255);
        for (int j = 1; j < 256; ++j) c.patchTable.set(j, static_cast<std::uint16_t>(256 - j));
        c.soundLevel.store(180);
        c.showRunning.set(1);
        c.controls.crossfadeMode.set(static_cast<std::uint8_t>(mode));
        avtomats[1].setFirstChannel(2);
        for (int n = 0; n < kAvtomatCount; ++n) avtomats[n].timerTick(true, false);
        cycle.setAvtomats(&avtomats);
        driver.InitUsbDevise();
        driver.TimerPollingTimer();
    }
    // Swap the scene every so often so that the crossfade keeps moving.
    void nextScene(std::int64_t i) {
        if ((i & 63) == 0) console->show.setCell(cell::kCurrentScene, (i >> 6) & 1);
    }
};

void BM_RealTimeTick(benchmark::State& state) {
    Rig rig(static_cast<CrossfadeMode>(state.range(0)));
    std::int64_t i = 0;
    for (auto _ : state) {
        rig.nextScene(i++);
        rig.cycle.RealTimeTick();
    }
    if (rig.driver.packetsSent() == 0) state.SkipWithError("no packet was sent");
    state.SetLabel(state.range(0) == 0 ? "faders" : state.range(0) == 1 ? "automatic" : "off");
}
BENCHMARK(BM_RealTimeTick)->Arg(0)->Arg(1)->Arg(2);

void BM_SborDmxStroki(benchmark::State& state) {
    Rig rig(CrossfadeMode::Faders);
    std::int64_t i = 0;
    for (auto _ : state) {
        rig.nextScene(i++);
        rig.cycle.SborDmxStroki();
    }
}
BENCHMARK(BM_SborDmxStroki);

void BM_ManualDmx(benchmark::State& state) {
    Rig rig(CrossfadeMode::Faders);
    for (auto _ : state) rig.cycle.ManualDmx();
}
BENCHMARK(BM_ManualDmx);

void BM_EncodePacket(benchmark::State& state) {
    Rig rig(CrossfadeMode::Faders);
    rig.cycle.RealTimeTick();
    std::uint8_t out[wire::kMaxPacket];
    for (auto _ : state) {
        benchmark::DoNotOptimize(encodePacket(rig.console->dmxLine, out));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_EncodePacket);

}  // namespace
}  // namespace lumetra

BENCHMARK_MAIN();
