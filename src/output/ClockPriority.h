#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace lumetra::io {

// How much of the machine the output clock got. Tried in this order:
// SCHED_FIFO of our own (root, CAP_SYS_NICE or an rtprio limit, such as
// the audio group's), then the same granted by RealtimeKit over the system
// D-Bus (what a desktop session offers an ordinary user), then nice -10
// where the nice limit allows it, else the normal priority.
enum class ClockPriority : std::uint8_t { Normal, Nice, RtKit, Fifo };

struct PriorityOutcome {
    ClockPriority kind = ClockPriority::Normal;
    int level = 0;  // the FIFO priority, or the nice value
};

// The scheduler calls the ladder makes for the calling thread, each
// returning 0 or an errno value; tests put their own in.
struct SchedulerCalls {
    std::function<int(int priority)> setFifo;
    // Asks RealtimeKit; the priority may be lowered to what it allows
    // (written back through the pointer).
    std::function<int(int* priority)> rtkitRealtime;
    std::function<int(int nice)> setNice;

    static SchedulerCalls system();
};

constexpr int kClockNice = -10;

PriorityOutcome raiseClockPriority(const SchedulerCalls& calls, int fifoPriority,
                                   int nice = kClockNice);

// What was locked in memory for the tick.
enum class MemoryLock : std::uint8_t { None, TickOnly, All };

// Locks the whole process (mlockall of what is mapped now) where the
// memlock limit allows it; otherwise the given regions and a window of the
// calling thread's stack, so that the tick's own data never faults.
struct LockRegion {
    const void* start;
    std::size_t size;
};
MemoryLock lockTickMemory(const LockRegion* regions, std::size_t count);

// The options page's line about the clock, e.g.
// "Часы вывода: реальное время (SCHED_FIFO 80), память закреплена".
std::string clockStateText(PriorityOutcome priority, MemoryLock memory);

}  // namespace lumetra::io
