#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "output/ClockPriority.h"

namespace lumetra::io {

// The thread of the RealTimeTick: calls a callback every period (50 ms) on
// absolute deadlines of CLOCK_MONOTONIC (clock_nanosleep, TIMER_ABSTIME), so
// the cycle does not drift. A tick that overruns does not make the missed
// ticks queue up: the deadlines it passed are skipped and counted. Before
// its first tick the thread climbs the priority ladder of ClockPriority.h
// (SCHED_FIFO, RealtimeKit, nice -10, normal) and locks the tick's memory;
// a priority of 0 asks for neither. Ticks never overlap.
// stop() is final: it sets a flag and joins; calling it again, or
// destroying a stopped thread, does nothing; a stopped thread never starts
// again.
class RealTimeThread {
  public:
    using Callback = std::function<void()>;
    static constexpr std::chrono::nanoseconds kTickPeriod = std::chrono::milliseconds(50);
    static constexpr int kFifoPriority = 80;

    explicit RealTimeThread(Callback tick, std::chrono::nanoseconds period = kTickPeriod,
                            int fifoPriority = kFifoPriority);
    ~RealTimeThread();
    RealTimeThread(const RealTimeThread&) = delete;
    RealTimeThread& operator=(const RealTimeThread&) = delete;

    // Keeps the lateness of up to capacity ticks (nanoseconds after the
    // deadline at which the callback started). Call before start().
    void recordLateness(std::size_t capacity);

    // The scheduler calls of the priority ladder (the system's unless set).
    // Call before start().
    void setSchedulerCalls(SchedulerCalls calls);
    // Memory the tick reads and writes, locked with the thread's stack when
    // the whole process cannot be. Call before start().
    void lockAlso(const void* start, std::size_t size);

    // Starts the thread; false if it was started (or stopped) before.
    bool start();
    // Final stop: no tick starts after it returns.
    void stop();

    bool running() const { return running_.load(std::memory_order_acquire); }
    // True once the thread runs under SCHED_FIFO (its own or RealtimeKit's).
    bool realtime() const { return realtime_.load(std::memory_order_acquire); }
    // What the ladder gave; settled() turns true once it has been climbed.
    bool settled() const { return settled_.load(std::memory_order_acquire); }
    PriorityOutcome priority() const;
    MemoryLock memoryLock() const { return memory_.load(std::memory_order_acquire); }
    std::uint64_t ticks() const { return ticks_.load(std::memory_order_acquire); }
    std::uint64_t missed() const { return missed_.load(std::memory_order_acquire); }
    // The recorded lateness; read it after stop().
    const std::vector<std::int64_t>& lateness() const { return lateness_; }

  private:
    void run();

    Callback tick_;
    std::chrono::nanoseconds period_;
    int fifoPriority_;
    std::mutex control_;  // start() and stop()
    std::thread thread_;
    std::atomic<std::thread::id> worker_{};  // the id as the thread itself sees it
    std::atomic<bool> stop_{false};
    std::atomic<bool> started_{false};
    std::atomic<bool> running_{false};
    std::atomic<bool> realtime_{false};
    std::atomic<bool> settled_{false};
    std::atomic<ClockPriority> priorityKind_{ClockPriority::Normal};
    std::atomic<int> priorityLevel_{0};
    std::atomic<MemoryLock> memory_{MemoryLock::None};
    SchedulerCalls calls_ = SchedulerCalls::system();
    std::vector<LockRegion> regions_;
    std::atomic<std::uint64_t> ticks_{0};
    std::atomic<std::uint64_t> missed_{0};
    std::vector<std::int64_t> lateness_;
    std::size_t latenessCapacity_ = 0;
};

// Lateness figures of a timed run, in microseconds.
struct TimingReport {
    std::uint64_t ticks = 0;
    std::uint64_t missed = 0;
    bool realtime = false;
    PriorityOutcome priority;
    MemoryLock memory = MemoryLock::None;
    double minUs = 0, medianUs = 0, p99Us = 0, maxUs = 0;
};

// Runs tick on a RealTimeThread for the given duration and summarises the
// lateness of every tick (for the timing benchmark).
TimingReport runTimed(const RealTimeThread::Callback& tick, std::chrono::nanoseconds duration,
                      std::chrono::nanoseconds period = RealTimeThread::kTickPeriod,
                      int fifoPriority = RealTimeThread::kFifoPriority);

// Summarises lateness samples in nanoseconds.
TimingReport summarise(std::vector<std::int64_t> latenessNs);

}  // namespace lumetra::io
