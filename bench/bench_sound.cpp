// The sound input: one 10 ms analysis tick, one block from a sound file, and
// the latency from a click's onset in the file to BeatFlag (goal: at most
// 20 ms), first on a clock stepped in 10 ms ticks at every phase of the
// click against the tick, then on the real clock with ticks slept to.
#include <benchmark/benchmark.h>
#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <thread>
#include <vector>

#include "sound/FileCapture.h"
#include "sound/SoundAnalysis.h"

namespace lumetra::sound {
namespace {

using namespace std::chrono;

// One click of a 1 kHz square wave, 10 ms at 0.9 of full scale, at `onsetUs`.
std::string clickFile(long onsetUs, int clicks = 1, long periodUs = 1500000) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("lumetra-bench-click-" + std::to_string(::getpid()) + ".wav"))
                                 .string();
    std::vector<std::int16_t> s(
        static_cast<std::size_t>(kSampleRate * (onsetUs + clicks * periodUs) / 1000000));
    for (int k = 0; k < clicks; ++k) {
        const std::size_t start = kSampleRate * (onsetUs + k * periodUs) / 1000000;
        for (int n = 0; n < kSampleRate / 100; ++n) s[start + n] = (n / 22) % 2 ? -29490 : 29490;
    }
    SF_INFO info{};
    info.samplerate = kSampleRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
    sf_writef_short(f, s.data(), static_cast<sf_count_t>(s.size()));
    sf_close(f);
    return path;
}

void BM_AnalysisTick(benchmark::State& state) {
    Console console;
    SoundAnalysis analysis(console);
    std::mt19937 random(7);
    std::vector<Block> blocks(64);
    for (Block& b : blocks)
        for (auto& byte : b) byte = static_cast<std::uint8_t>(random());
    std::size_t k = 0;
    for (auto _ : state) {
        analysis.block() = blocks[k++ % blocks.size()];
        analysis.tick();
        benchmark::DoNotOptimize(console.soundLevel.load(std::memory_order_relaxed));
    }
}
BENCHMARK(BM_AnalysisTick);

void BM_FileBlock(benchmark::State& state) {
    const std::string path = clickFile(100000, 40, 250000);
    nanoseconds now{0};
    OpenedCapture opened = openSoundCapture("file:" + path, [&now] { return now; });
    Block block{};
    for (auto _ : state) {
        now += milliseconds(10);
        if (now > seconds(10)) {
            state.PauseTiming();
            opened = openSoundCapture("file:" + path, [&now] { return now; });
            now = milliseconds(10);
            state.ResumeTiming();
        }
        opened.capture->fillBlock(block);
        benchmark::DoNotOptimize(block[0]);
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_FileBlock);

// Ticks of 10 ms on a stepped clock; the click falls at every 0.5 ms phase.
void BM_ClickToBeatFlagSteppedClock(benchmark::State& state) {
    double worstMs = 0, sumMs = 0;
    int runs = 0;
    for (auto _ : state) {
        for (long phaseUs = 0; phaseUs < 10000; phaseUs += 500) {
            const long onsetUs = 300000 + phaseUs;
            const std::string path = clickFile(onsetUs);
            Console console;
            SoundAnalysis analysis(console);
            nanoseconds now{0};
            OpenedCapture opened = openSoundCapture("file:" + path, [&now] { return now; });
            for (int tick = 1; tick < 100; ++tick) {
                now = milliseconds(10 * tick);
                opened.capture->fillBlock(analysis.block());
                analysis.tick();
                if (console.beatFlag.get()) {
                    const double ms = duration<double, std::milli>(now).count() - onsetUs / 1000.0;
                    worstMs = std::max(worstMs, ms);
                    sumMs += ms;
                    ++runs;
                    break;
                }
            }
            std::filesystem::remove(path);
        }
    }
    state.counters["worst_ms"] = worstMs;
    state.counters["mean_ms"] = runs ? sumMs / runs : 0;
    state.counters["beats_of_20"] = runs / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ClickToBeatFlagSteppedClock)->Iterations(1)->Unit(benchmark::kMillisecond);

// The real clock, ticks slept to as the window timer would fire them: five
// clicks about 1.5 s apart (hold time 1 s, so one beat per click).
void BM_ClickToBeatFlagRealClock(benchmark::State& state) {
    const long leadUs = 300000, periodUs = 1503000;  // each click at a new phase of the tick
    const int clicks = 5;
    const std::string path = clickFile(leadUs, clicks, periodUs);
    std::vector<double> latencies;
    for (auto _ : state) {
        Console console;
        SoundAnalysis analysis(console);
        analysis.settings().holdTicks = 100;
        const auto start = steady_clock::now();
        OpenedCapture opened =
            openSoundCapture("file:" + path, [start] { return steady_clock::now() - start; });
        auto next = start;
        while (steady_clock::now() - start < microseconds(leadUs + clicks * periodUs)) {
            next += milliseconds(10);
            std::this_thread::sleep_until(next);
            opened.capture->fillBlock(analysis.block());
            analysis.tick();
            if (console.beatFlag.get()) {
                console.beatFlag.set(0);
                const double at = duration<double, std::micro>(steady_clock::now() - start).count();
                const double sinceLead = at - leadUs;
                const long k = static_cast<long>(sinceLead / periodUs);
                latencies.push_back((sinceLead - k * periodUs) / 1000.0);
            }
        }
    }
    std::filesystem::remove(path);
    state.counters["beats"] = static_cast<double>(latencies.size());
    state.counters["worst_ms"] =
        latencies.empty() ? 0 : *std::max_element(latencies.begin(), latencies.end());
}
BENCHMARK(BM_ClickToBeatFlagRealClock)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumetra::sound

BENCHMARK_MAIN();
