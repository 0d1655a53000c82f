// Interval spread of the line as an OLA client receives it from olad: the
// real tick on the real-time thread, the olad output, and a client of the
// universe in this program, timing every frame it gets.
//   bench_ola [SECONDS] [--port=PORT] [--universe=N] [--no-fifo]
// olad must be running (started by hand, e.g. `olad --no-http`); SECONDS
// defaults to 30.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "OlaReceiver.h"
#include "core/Console.h"
#include "output/OlaOutput.h"
#include "output/OutputCycle.h"
#include "output/RealTimeThread.h"

namespace {
bool option(const char* arg, const char* name, unsigned long& out) {
    const std::size_t n = std::strlen(name);
    if (std::strncmp(arg, name, n) != 0) return false;
    out = std::strtoul(arg + n, nullptr, 10);
    return true;
}
}  // namespace

int main(int argc, char** argv) {
    using namespace lumetra;
    double seconds = 30;
    unsigned long port = io::OlaOutput::kDefaultPort;
    unsigned long universe = 1;
    int priority = io::RealTimeThread::kFifoPriority;
    for (int i = 1; i < argc; ++i) {
        if (option(argv[i], "--port=", port) || option(argv[i], "--universe=", universe)) {
        } else if (std::strcmp(argv[i], "--no-fifo") == 0) {
            priority = 0;
        } else if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0) {
            std::printf("usage: %s [SECONDS] [--port=PORT] [--universe=N] [--no-fifo]\n", argv[0]);
            return 0;
        } else {
            char* end = nullptr;
            seconds = std::strtod(argv[i], &end);
            if (!end || *end != '\0' || seconds <= 0) {
                std::fprintf(stderr, "bench_ola: SECONDS must be a positive number\n");
                return 2;
            }
        }
    }

    auto console = std::make_unique<Console>();
    for (int c = 1; c <= 255; ++c) console->show.setLevel(0, c, static_cast<std::uint8_t>(c));
    io::OlaOutput ola(static_cast<unsigned>(universe), static_cast<std::uint16_t>(port));
    OutputCycle cycle(*console);
    cycle.addOutput(&ola);
    ola.start();
    testing::OlaReceiver receiver(static_cast<std::uint16_t>(port),
                                  static_cast<unsigned>(universe));
    if (!ola.isOpen() || !receiver.connect()) {
        std::fprintf(stderr, "bench_ola: olad does not answer on 127.0.0.1:%lu\n", port);
        return 1;
    }

    // Channel 1 counts the ticks, so that every frame differs from the last.
    std::uint8_t counter = 0;
    const auto duration = std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::duration<double>(seconds));
    io::TimingReport tick;
    std::thread ticking([&] {
        tick = io::runTimed(
            [&] {
                console->show.setLevel(0, 1, ++counter);
                cycle.RealTimeTick();
            },
            duration, io::RealTimeThread::kTickPeriod, priority);
    });
    receiver.pumpUntil([] { return false; }, std::chrono::duration_cast<std::chrono::milliseconds>(
                                                 duration + std::chrono::milliseconds(200)));
    ticking.join();
    ola.stop();

    std::vector<double> ms;
    for (std::size_t i = 1; i < receiver.arrivals.size(); ++i)
        ms.push_back(std::chrono::duration<double, std::milli>(receiver.arrivals[i] -
                                                               receiver.arrivals[i - 1])
                         .count());
    if (ms.size() < 2) {
        std::fprintf(stderr, "bench_ola: too few frames arrived (%zu)\n", receiver.arrivals.size());
        return 1;
    }
    double mean = 0;
    for (double v : ms) mean += v;
    mean /= static_cast<double>(ms.size());
    double var = 0;
    for (double v : ms) var += (v - mean) * (v - mean);
    const double sd = std::sqrt(var / static_cast<double>(ms.size()));
    std::sort(ms.begin(), ms.end());
    auto at = [&](double q) { return ms[static_cast<std::size_t>(q * (ms.size() - 1))]; };

    std::printf("duration %.1f s, olad 127.0.0.1:%lu universe %lu, SCHED_FIFO %s\n", seconds, port,
                universe, tick.realtime ? "granted" : (priority > 0 ? "refused" : "not asked"));
    std::printf(
        "ticks %llu, lines sent to olad %llu, replaced before sending %llu, frames "
        "received %zu\n",
        static_cast<unsigned long long>(tick.ticks),
        static_cast<unsigned long long>(ola.linesSent()),
        static_cast<unsigned long long>(ola.linesReplaced()), receiver.arrivals.size());
    std::printf("tick lateness us: median %.1f  p99 %.1f  max %.1f\n", tick.medianUs, tick.p99Us,
                tick.maxUs);
    std::printf(
        "interval at the client ms: min %.2f  p1 %.2f  median %.2f  p99 %.2f  max %.2f  "
        "mean %.3f  sd %.3f\n",
        ms.front(), at(0.01), at(0.5), at(0.99), ms.back(), mean, sd);
    return 0;
}
