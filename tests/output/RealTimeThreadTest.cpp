// The real-time thread: ticks one at a time, skips missed deadlines, stops
// for good. Timing itself is measured by bench_timing, not asserted here.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "output/RealTimeThread.h"

namespace lumetra::test {
namespace {

using namespace std::chrono_literals;
using io::RealTimeThread;

TEST(RealTimeThread, TicksUntilStoppedAndStopIsFinal) {
    std::atomic<int> calls{0};
    RealTimeThread t([&] { calls.fetch_add(1); }, 2ms, 0);
    EXPECT_FALSE(t.running());
    ASSERT_TRUE(t.start());
    EXPECT_FALSE(t.start());
    while (calls.load() < 3) std::this_thread::sleep_for(1ms);
    EXPECT_TRUE(t.running());
    t.stop();
    const int after = calls.load();
    EXPECT_EQ(t.ticks(), static_cast<std::uint64_t>(after));
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(calls.load(), after);
    EXPECT_FALSE(t.running());
    t.stop();                 // twice is safe
    EXPECT_FALSE(t.start());  // and final
}

TEST(RealTimeThread, StopBeforeStartPreventsStarting) {
    RealTimeThread t([] {}, 1ms, 0);
    t.stop();
    EXPECT_FALSE(t.start());
}

TEST(RealTimeThread, SlowTicksSkipMissedDeadlinesAndNeverOverlap) {
    std::atomic<int> inside{0};
    std::atomic<int> overlap{0};
    std::atomic<int> calls{0};
    RealTimeThread t(
        [&] {
            if (inside.fetch_add(1) != 0) overlap.fetch_add(1);
            std::this_thread::sleep_for(12ms);  // longer than the period
            inside.fetch_sub(1);
            calls.fetch_add(1);
        },
        5ms, 0);
    t.start();
    while (calls.load() < 4) std::this_thread::sleep_for(1ms);
    t.stop();
    EXPECT_EQ(overlap.load(), 0);
    EXPECT_GE(t.missed(), t.ticks() - 1);  // at least one deadline passed per slow tick
}

TEST(RealTimeThread, StopFromInsideTheTickEndsTheLoop) {
    std::atomic<int> calls{0};
    RealTimeThread* self = nullptr;
    RealTimeThread t(
        [&] {
            if (calls.fetch_add(1) == 1) self->stop();
        },
        1ms, 0);
    self = &t;
    t.start();
    while (calls.load() < 2) std::this_thread::sleep_for(1ms);
    std::this_thread::sleep_for(10ms);
    t.stop();
    EXPECT_EQ(calls.load(), 2);
}

TEST(RealTimeThread, RecordsLatenessUpToItsCapacity) {
    std::atomic<int> calls{0};
    RealTimeThread t([&] { calls.fetch_add(1); }, 1ms, 0);
    t.recordLateness(3);
    t.start();
    while (calls.load() < 6) std::this_thread::sleep_for(1ms);
    t.stop();
    ASSERT_EQ(t.lateness().size(), 3u);
    for (std::int64_t ns : t.lateness()) EXPECT_GE(ns, 0);
}

TEST(RealTimeThread, AsksForFifoAndRunsOnWithoutIt) {
    std::atomic<int> calls{0};
    RealTimeThread t([&] { calls.fetch_add(1); }, 1ms, RealTimeThread::kFifoPriority);
    t.start();
    while (calls.load() < 2) std::this_thread::sleep_for(1ms);
    t.stop();
    SUCCEED() << (t.realtime() ? "SCHED_FIFO granted" : "SCHED_FIFO refused");
}

TEST(TimingSummary, NearestRankFigures) {
    std::vector<std::int64_t> ns;
    for (int i = 1; i <= 100; ++i) ns.push_back(i * 1000);
    const auto r = io::summarise(ns);
    EXPECT_DOUBLE_EQ(r.minUs, 1);
    EXPECT_DOUBLE_EQ(r.medianUs, 51);
    EXPECT_DOUBLE_EQ(r.p99Us, 99);
    EXPECT_DOUBLE_EQ(r.maxUs, 100);
    EXPECT_DOUBLE_EQ(io::summarise({}).maxUs, 0);
}

}  // namespace
}  // namespace lumetra::test
