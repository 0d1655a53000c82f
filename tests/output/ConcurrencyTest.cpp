// The tick on its real-time thread against a UI thread that writes the show,
// the mirrors and the tables and drives the interface driver. Meant to run
// clean under ThreadSanitizer (-DLUMETRA_TSAN=ON).
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <random>
#include <thread>

#include "core/Console.h"
#include "output/OutputCycle.h"
#include "output/RealTimeThread.h"
#include "output/TempDir.h"
#include "output/UsbDriver.h"
#include "output/VirtualBackend.h"
#include "output/WirePacket.h"

namespace lumetra::test {
namespace {

using namespace std::chrono_literals;

TEST(Concurrency, TickThreadAgainstUiThreadWrites) {
    TempDir dir;
    const std::string out = dir.file("wire.bin");
    auto console = std::make_unique<Console>();
    Console& con = *console;
    io::VirtualBackend backend(out);
    UsbDriver driver(backend);
    OutputCycle cycle(con, driver);

    driver.InitUsbDevise();
    driver.TimerPollingTimer();
    ASSERT_TRUE(driver.isReady());

    io::RealTimeThread tick([&] { cycle.RealTimeTick(); }, 1ms, 0);
    ASSERT_TRUE(tick.start());

    std::mt19937 rng(12345);
    auto byte = [&] { return static_cast<std::uint8_t>(rng() & 0xFF); };
    std::size_t textBytes = 0;
    const auto until = std::chrono::steady_clock::now() + 1500ms;
    for (int i = 0; std::chrono::steady_clock::now() < until || i < 400; ++i) {
        // The show: scenes, rates, pictures, selection, cells.
        for (int k = 0; k < 64; ++k)
            con.show.set(static_cast<int>(rng() % layout::kShowSize), byte());
        con.show.setCell(cell::kCurrentScene, byte());
        // Mirrors of the controls.
        ControlMirror& c = con.controls;
        c.crossfadeMode.set(static_cast<std::uint8_t>(rng() % 4 == 3 ? 255 : rng() % 3));
        c.blackout.set(rng() % 2);
        c.macroOut.set(rng() % 2);
        c.pictureKeys.set(rng() % 16, rng() % 2);
        c.manual.set(rng() % 2);
        c.faderPosition.set(rng() % kFaderRows, byte());
        c.faderTicked.set(rng() % kFaderRows, rng() % 2);
        c.bankOffset.set(static_cast<std::uint8_t>(rng() % 229));
        c.scannerPriority.set(rng() % 2);
        c.scannerX.set(byte());
        c.scannerY.set(byte());
        c.offline.set(rng() % 8 == 0);
        // Tables and levels.
        con.patchTable.set(rng() % kPatchEntries, static_cast<std::uint16_t>(rng() % 300));
        con.tempoSteps.set(rng() % 255, byte());
        con.showRunning.set(rng() % 2);
        con.soundLevel.store(static_cast<int>(rng() % 256));
        if (i % 50 == 0) con.dmxLine.fill(0, 0, 512);  // ClearAll
        // What the windows read.
        textBytes += con.dmxLine.get(rng() % kDmxSlots) + con.targetLine.get(rng() % 256);
        textBytes += con.blackoutBlinkVisible.get();
        // The interface driver from the UI side.
        if (i % 20 == 0) {
            driver.TimerPollingTimer();
            textBytes += driver.InterfaceStatusText().size() + driver.countText().size() +
                         driver.serialText().size() + driver.descriptionText().size();
            textBytes += driver.isOpen() + driver.packetLength();
        }
        if (i % 150 == 0) touch(backend.unpluggedPath());
        if (i % 150 == 75) std::filesystem::remove(backend.unpluggedPath());
        if (i % 300 == 0) driver.GetListAllDevise();
        std::this_thread::sleep_for(200us);
    }
    tick.stop();
    driver.CloseUsbDevise();

    EXPECT_GT(tick.ticks(), 0u);
    EXPECT_GT(driver.packetsSent(), 0u);
    EXPECT_GT(textBytes, 0u);
    const auto bytes = readAll(out);
    PacketDecoder dec;
    dec.feed(bytes.data(), bytes.size());
    EXPECT_EQ(dec.framesDecoded(), driver.packetsSent());
    EXPECT_EQ(dec.packetsDropped(), 0u);
}

}  // namespace
}  // namespace lumetra::test
