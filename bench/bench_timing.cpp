// Lateness of the 50 ms real-time thread running the real tick.
//   bench_timing [SECONDS] [--busy] [--no-fifo]
// SECONDS defaults to 60; --busy keeps the other core spinning meanwhile;
// --no-fifo does not ask for SCHED_FIFO (what an ordinary user gets).
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include "core/Console.h"
#include "output/OutputCycle.h"
#include "output/RealTimeThread.h"
#include "output/UsbBackends.h"
#include "output/UsbDriver.h"

int main(int argc, char** argv) {
    using namespace lumetra;
    double seconds = 60;
    bool busy = false;
    int priority = io::RealTimeThread::kFifoPriority;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--busy") == 0) {
            busy = true;
        } else if (std::strcmp(argv[i], "--no-fifo") == 0) {
            priority = 0;
        } else if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0) {
            std::printf("usage: %s [SECONDS] [--busy] [--no-fifo]\n", argv[0]);
            return 0;
        } else {
            char* end = nullptr;
            seconds = std::strtod(argv[i], &end);
            if (!end || *end != '\0' || seconds <= 0) {
                std::fprintf(stderr, "bench_timing: SECONDS must be a positive number\n");
                return 2;
            }
        }
    }

    // The tick as the console runs it, with no interface attached.
    auto console = std::make_unique<Console>();
    io::NoInterfaceBackend none;
    UsbDriver driver(none);
    driver.InitUsbDevise();
    OutputCycle cycle(*console, driver);
    for (int c = 1; c <= 255; ++c) console->show.setLevel(0, c, static_cast<std::uint8_t>(c));

    std::atomic<bool> stopBusy{false};
    std::thread spinner;
    if (busy) {
        spinner = std::thread([&] {
            volatile std::uint64_t x = 0;
            while (!stopBusy.load(std::memory_order_relaxed)) x = x + 1;
        });
    }

    const auto duration = std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::duration<double>(seconds));
    const io::TimingReport r = io::runTimed([&] { cycle.RealTimeTick(); }, duration,
                                            io::RealTimeThread::kTickPeriod, priority);

    stopBusy = true;
    if (spinner.joinable()) spinner.join();

    std::printf("duration %.1f s, period 50 ms%s\n%s\n", seconds,
                busy ? ", other core busy" : "",
                priority > 0 ? io::clockStateText(r.priority, r.memory).c_str()
                             : "priority not asked");
    std::printf("ticks %llu (expected %llu), deadlines skipped %llu\n",
                static_cast<unsigned long long>(r.ticks),
                static_cast<unsigned long long>(seconds * 20),
                static_cast<unsigned long long>(r.missed));
    std::printf("lateness us: min %.1f  median %.1f  p99 %.1f  max %.1f\n", r.minUs, r.medianUs,
                r.p99Us, r.maxUs);
    return 0;
}
