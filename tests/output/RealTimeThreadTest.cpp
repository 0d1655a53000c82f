// The real-time thread: ticks one at a time, skips missed deadlines, stops
// for good. Timing itself is measured by bench_timing, not asserted here.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <string>
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

// The priority ladder with the scheduler calls put in by the test: each
// rung is tried only when the one above it was refused, and the thread
// tells what it got before its first tick.
TEST(RealTimeThread, ClimbsThePriorityLadderInOrder) {
    struct Case {
        int fifo, rtkit, nice;
        io::ClockPriority kind;
        int level;
        const char* tried;
    };
    const Case cases[] = {
        {0, 0, 0, io::ClockPriority::Fifo, 80, "F"},
        {EPERM, 0, 0, io::ClockPriority::RtKit, 20, "FR"},  // rtkit lowers 80 to its 20
        {EPERM, ENOENT, 0, io::ClockPriority::Nice, -10, "FRN"},
        {EPERM, EPERM, EACCES, io::ClockPriority::Normal, 0, "FRN"},
    };
    for (const Case& c : cases) {
        std::string tried;
        io::SchedulerCalls calls;
        calls.setFifo = [&](int p) {
            tried += 'F';
            EXPECT_EQ(p, RealTimeThread::kFifoPriority);
            return c.fifo;
        };
        calls.rtkitRealtime = [&](int* p) {
            tried += 'R';
            *p = 20;
            return c.rtkit;
        };
        calls.setNice = [&](int n) {
            tried += 'N';
            EXPECT_EQ(n, io::kClockNice);
            return c.nice;
        };
        std::atomic<int> ticks{0};
        std::atomic<bool> settledAtFirstTick{false};
        RealTimeThread* self = nullptr;
        RealTimeThread t(
            [&] {
                if (ticks.fetch_add(1) == 0) settledAtFirstTick = self->settled();
            },
            1ms);
        self = &t;
        t.setSchedulerCalls(calls);
        EXPECT_FALSE(t.settled());
        t.start();
        while (ticks.load() < 1) std::this_thread::sleep_for(1ms);
        t.stop();
        EXPECT_TRUE(settledAtFirstTick.load());
        EXPECT_EQ(tried, c.tried);
        EXPECT_EQ(t.priority().kind, c.kind);
        EXPECT_EQ(t.priority().level, c.level);
        EXPECT_EQ(t.realtime(), c.kind == io::ClockPriority::Fifo ||
                                    c.kind == io::ClockPriority::RtKit);
    }
    // A priority of 0 asks for nothing.
    bool asked = false;
    io::SchedulerCalls none;
    none.setFifo = [&](int) { return asked = true, 0; };
    RealTimeThread quiet([] {}, 1ms, 0);
    quiet.setSchedulerCalls(none);
    quiet.start();
    while (!quiet.settled()) std::this_thread::sleep_for(1ms);
    quiet.stop();
    EXPECT_FALSE(asked);
    EXPECT_EQ(quiet.priority().kind, io::ClockPriority::Normal);
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
