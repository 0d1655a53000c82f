#include "output/RealTimeThread.h"

#include <pthread.h>
#include <time.h>

#include <algorithm>
#include <cerrno>

namespace lumetra::io {

namespace {
constexpr std::int64_t kNsPerSec = 1'000'000'000;

std::int64_t toNs(const timespec& t) {
    return t.tv_sec * kNsPerSec + t.tv_nsec;
}

timespec fromNs(std::int64_t ns) {
    timespec t{};
    t.tv_sec = static_cast<time_t>(ns / kNsPerSec);
    t.tv_nsec = static_cast<long>(ns % kNsPerSec);
    return t;
}

std::int64_t monotonicNow() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return toNs(t);
}
}  // namespace

RealTimeThread::RealTimeThread(Callback tick, std::chrono::nanoseconds period, int fifoPriority)
    : tick_(std::move(tick)), period_(period), fifoPriority_(fifoPriority) {}

RealTimeThread::~RealTimeThread() {
    stop();
}

void RealTimeThread::recordLateness(std::size_t capacity) {
    if (started_.load()) return;
    latenessCapacity_ = capacity;
    lateness_.clear();
    lateness_.reserve(capacity);
}

void RealTimeThread::setSchedulerCalls(SchedulerCalls calls) {
    if (!started_.load()) calls_ = std::move(calls);
}

void RealTimeThread::lockAlso(const void* start, std::size_t size) {
    if (!started_.load()) regions_.push_back({start, size});
}

PriorityOutcome RealTimeThread::priority() const {
    return {priorityKind_.load(std::memory_order_acquire),
            priorityLevel_.load(std::memory_order_acquire)};
}

bool RealTimeThread::start() {
    std::lock_guard lock(control_);
    if (started_.exchange(true)) return false;
    if (stop_.load()) return false;
    running_.store(true, std::memory_order_release);
    thread_ = std::thread([this] { run(); });
    return true;
}

void RealTimeThread::stop() {
    stop_.store(true, std::memory_order_release);
    // From the tick itself: the flag ends the loop after this tick.
    if (worker_.load(std::memory_order_acquire) == std::this_thread::get_id()) return;
    std::lock_guard lock(control_);
    if (thread_.joinable()) thread_.join();  // a second call finds nothing to join
    running_.store(false, std::memory_order_release);
}

void RealTimeThread::run() {
    worker_.store(std::this_thread::get_id(), std::memory_order_release);
    pthread_setname_np(pthread_self(), "lumetra-tick");  // for top, perf and /proc
    if (fifoPriority_ > 0) {
        const PriorityOutcome got = raiseClockPriority(calls_, fifoPriority_);
        priorityLevel_.store(got.level, std::memory_order_release);
        priorityKind_.store(got.kind, std::memory_order_release);
        realtime_.store(got.kind == ClockPriority::Fifo || got.kind == ClockPriority::RtKit,
                        std::memory_order_release);
        memory_.store(lockTickMemory(regions_.data(), regions_.size()),
                      std::memory_order_release);
    }
    settled_.store(true, std::memory_order_release);

    const std::int64_t period = period_.count() > 0 ? period_.count() : 1;
    // The first tick at once: the line goes out as soon as the output runs.
    std::int64_t deadline = monotonicNow();
    while (!stop_.load(std::memory_order_acquire)) {
        const timespec due = fromNs(deadline);
        int r;
        do {
            r = clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr);
        } while (r == EINTR && !stop_.load(std::memory_order_acquire));
        if (stop_.load(std::memory_order_acquire)) break;

        const std::int64_t started = monotonicNow();
        if (lateness_.size() < latenessCapacity_) lateness_.push_back(started - deadline);
        tick_();
        ticks_.fetch_add(1, std::memory_order_release);

        // Next deadline; the ones already passed are skipped, never queued.
        deadline += period;
        const std::int64_t now = monotonicNow();
        if (deadline <= now) {
            const std::int64_t behind = (now - deadline) / period + 1;
            missed_.fetch_add(static_cast<std::uint64_t>(behind), std::memory_order_release);
            deadline += behind * period;
        }
    }
}

TimingReport summarise(std::vector<std::int64_t> ns) {
    TimingReport r;
    if (ns.empty()) return r;
    std::sort(ns.begin(), ns.end());
    const auto us = [](std::int64_t v) { return static_cast<double>(v) / 1000.0; };
    const std::size_t n = ns.size();
    r.minUs = us(ns.front());
    r.maxUs = us(ns.back());
    r.medianUs = us(ns[n / 2]);
    std::size_t p99 = (n * 99 + 99) / 100;  // nearest rank
    r.p99Us = us(ns[std::min(n, std::max<std::size_t>(p99, 1)) - 1]);
    return r;
}

TimingReport runTimed(const RealTimeThread::Callback& tick, std::chrono::nanoseconds duration,
                      std::chrono::nanoseconds period, int fifoPriority) {
    RealTimeThread thread(tick, period, fifoPriority);
    const auto expected = static_cast<std::size_t>(duration / period) + 16;
    thread.recordLateness(expected);
    thread.start();
    const timespec end = fromNs(monotonicNow() + duration.count());
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &end, nullptr) == EINTR) {
    }
    thread.stop();
    TimingReport r = summarise(thread.lateness());
    r.ticks = thread.ticks();
    r.missed = thread.missed();
    r.realtime = thread.realtime();
    r.priority = thread.priority();
    r.memory = thread.memoryLock();
    return r;
}

}  // namespace lumetra::io
