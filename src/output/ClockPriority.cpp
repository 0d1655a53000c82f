#include "output/ClockPriority.h"

#include <dbus/dbus.h>
#include <pthread.h>
#include <sched.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace lumetra::io {

namespace {

constexpr const char* kRtkitService = "org.freedesktop.RealtimeKit1";
constexpr const char* kRtkitPath = "/org/freedesktop/RealtimeKit1";
constexpr int kDbusTimeoutMs = 1000;  // the tick has not started yet: a slow daemon costs once
constexpr std::size_t kStackWindow = 256 * 1024;

std::uint64_t threadId() {
    return static_cast<std::uint64_t>(syscall(SYS_gettid));
}

int errnoOf(const DBusError& err) {
    if (dbus_error_has_name(&err, DBUS_ERROR_SERVICE_UNKNOWN) ||
        dbus_error_has_name(&err, DBUS_ERROR_NAME_HAS_NO_OWNER))
        return ENOENT;
    if (dbus_error_has_name(&err, DBUS_ERROR_ACCESS_DENIED) ||
        dbus_error_has_name(&err, DBUS_ERROR_AUTH_FAILED))
        return EPERM;
    if (dbus_error_has_name(&err, DBUS_ERROR_NO_REPLY) ||
        dbus_error_has_name(&err, DBUS_ERROR_TIMEOUT))
        return ETIMEDOUT;
    return EIO;
}

// A private connection to the system bus for the few calls of the ladder,
// closed again at once: the console keeps no D-Bus connection open.
class SystemBus {
  public:
    SystemBus() {
        dbus_error_init(&err_);
        conn_ = dbus_bus_get_private(DBUS_BUS_SYSTEM, &err_);
        if (conn_) dbus_connection_set_exit_on_disconnect(conn_, FALSE);
    }
    ~SystemBus() {
        if (conn_) {
            dbus_connection_close(conn_);
            dbus_connection_unref(conn_);
        }
        dbus_error_free(&err_);
    }
    SystemBus(const SystemBus&) = delete;
    SystemBus& operator=(const SystemBus&) = delete;

    bool connected() const { return conn_ != nullptr; }

    // Sends the call (which it takes over) and returns the reply, or null
    // with error() set.
    DBusMessage* call(DBusMessage* msg) {
        if (!msg) return nullptr;
        dbus_error_free(&err_);
        dbus_error_init(&err_);
        DBusMessage* reply =
            dbus_connection_send_with_reply_and_block(conn_, msg, kDbusTimeoutMs, &err_);
        dbus_message_unref(msg);
        return reply;
    }
    int error() const { return errnoOf(err_); }

    // A numeric property of RealtimeKit, or fallback when it cannot be read.
    std::int64_t property(const char* name, std::int64_t fallback) {
        DBusMessage* msg = dbus_message_new_method_call(kRtkitService, kRtkitPath,
                                                        DBUS_INTERFACE_PROPERTIES, "Get");
        const char* iface = kRtkitService;
        if (!msg || !dbus_message_append_args(msg, DBUS_TYPE_STRING, &iface, DBUS_TYPE_STRING,
                                              &name, DBUS_TYPE_INVALID)) {
            if (msg) dbus_message_unref(msg);
            return fallback;
        }
        DBusMessage* reply = call(msg);
        if (!reply) return fallback;
        std::int64_t value = fallback;
        DBusMessageIter it;
        DBusMessageIter variant;
        if (dbus_message_iter_init(reply, &it) &&
            dbus_message_iter_get_arg_type(&it) == DBUS_TYPE_VARIANT) {
            dbus_message_iter_recurse(&it, &variant);
            const int type = dbus_message_iter_get_arg_type(&variant);
            if (type == DBUS_TYPE_INT32) {
                dbus_int32_t v = 0;
                dbus_message_iter_get_basic(&variant, &v);
                value = v;
            } else if (type == DBUS_TYPE_INT64) {
                dbus_int64_t v = 0;
                dbus_message_iter_get_basic(&variant, &v);
                value = v;
            }
        }
        dbus_message_unref(reply);
        return value;
    }

  private:
    DBusError err_;
    DBusConnection* conn_ = nullptr;
};

int systemFifo(int priority) {
    sched_param sp{};
    sp.sched_priority = priority;
    return pthread_setschedparam(pthread_self(), SCHED_FIFO, &sp);
}

// RealtimeKit grants SCHED_FIFO only to a process whose RLIMIT_RTTIME is
// set no higher than its RTTimeUSecMax (a runaway real-time thread is then
// stopped by the kernel), and only up to MaxRealtimePriority.
int systemRtkit(int* priority) {
    SystemBus bus;
    if (!bus.connected()) return ENOENT;
    const std::int64_t maxPriority = bus.property("MaxRealtimePriority", 20);
    const std::int64_t rttime = bus.property("RTTimeUSecMax", 200000);
    if (maxPriority <= 0 || rttime <= 0) return EPERM;

    rlimit limit{};
    if (getrlimit(RLIMIT_RTTIME, &limit) != 0) return errno;
    const auto wanted = static_cast<rlim_t>(rttime);
    if (limit.rlim_max == RLIM_INFINITY || limit.rlim_max > wanted) {
        limit.rlim_cur = limit.rlim_max = wanted;
        if (setrlimit(RLIMIT_RTTIME, &limit) != 0) return errno;
    }

    const auto granted = static_cast<dbus_uint32_t>(
        std::min<std::int64_t>(*priority, maxPriority));
    DBusMessage* msg = dbus_message_new_method_call(kRtkitService, kRtkitPath, kRtkitService,
                                                    "MakeThreadRealtime");
    const dbus_uint64_t tid = threadId();
    if (!msg || !dbus_message_append_args(msg, DBUS_TYPE_UINT64, &tid, DBUS_TYPE_UINT32,
                                          &granted, DBUS_TYPE_INVALID)) {
        if (msg) dbus_message_unref(msg);
        return ENOMEM;
    }
    DBusMessage* reply = bus.call(msg);
    if (!reply) return bus.error();
    dbus_message_unref(reply);
    *priority = static_cast<int>(granted);
    return 0;
}

int systemNice(int nice) {
    // On Linux a thread id names one thread here.
    return setpriority(PRIO_PROCESS, static_cast<id_t>(threadId()), nice) == 0 ? 0 : errno;
}

// Touches a window of the stack below the caller's frame, the part the
// tick's calls will use, and locks it when asked.
[[gnu::noinline]] int touchStackWindow(bool lock) {
    volatile char window[kStackWindow];
    for (std::size_t i = 0; i < kStackWindow; i += 4096) window[i] = 0;
    return lock ? mlock(const_cast<char*>(window), kStackWindow) : 0;
}

}  // namespace

SchedulerCalls SchedulerCalls::system() {
    return {systemFifo, systemRtkit, systemNice};
}

PriorityOutcome raiseClockPriority(const SchedulerCalls& calls, int fifoPriority, int nice) {
    if (calls.setFifo && calls.setFifo(fifoPriority) == 0)
        return {ClockPriority::Fifo, fifoPriority};
    int granted = fifoPriority;
    if (calls.rtkitRealtime && calls.rtkitRealtime(&granted) == 0)
        return {ClockPriority::RtKit, granted};
    if (calls.setNice && calls.setNice(nice) == 0) return {ClockPriority::Nice, nice};
    return {ClockPriority::Normal, 0};
}

MemoryLock lockTickMemory(const LockRegion* regions, std::size_t count) {
    // What is mapped now stays in memory once touched (MCL_ONFAULT: the
    // libraries are not read in whole, nor every thread's stack filled);
    // the tick's own data was touched when it was made, its stack here.
    if (mlockall(MCL_CURRENT | MCL_ONFAULT) == 0) {
        touchStackWindow(false);
        return MemoryLock::All;
    }
    bool all = touchStackWindow(true) == 0;
    for (std::size_t i = 0; i < count; ++i)
        all = mlock(regions[i].start, regions[i].size) == 0 && all;
    return all ? MemoryLock::TickOnly : MemoryLock::None;
}

std::string clockStateText(PriorityOutcome priority, MemoryLock memory) {
    std::string text = "Часы вывода: ";
    switch (priority.kind) {
    case ClockPriority::Fifo:
        text += "реальное время (SCHED_FIFO " + std::to_string(priority.level) + ")";
        break;
    case ClockPriority::RtKit:
        text += "реальное время от RealtimeKit (SCHED_FIFO " + std::to_string(priority.level) +
                ")";
        break;
    case ClockPriority::Nice:
        text += "повышенный приоритет (nice " + std::to_string(priority.level) + ")";
        break;
    case ClockPriority::Normal:
        text += "обычный приоритет";
        break;
    }
    switch (memory) {
    case MemoryLock::All:
        text += ", память закреплена";
        break;
    case MemoryLock::TickOnly:
        text += ", память такта закреплена";
        break;
    case MemoryLock::None:
        text += ", память не закреплена";
        break;
    }
    return text;
}

}  // namespace lumetra::io
