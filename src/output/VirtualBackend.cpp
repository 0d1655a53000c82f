#include "output/VirtualBackend.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <filesystem>

#include "output/NoSigpipe.h"

namespace lumetra::io {

namespace {
long long nowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// Only these change whether PATH.unplugged exists; the packets appended to
// PATH beside it (modify events) never wake the watcher.
constexpr std::uint32_t kWatchMask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                     IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
}  // namespace

VirtualBackend::VirtualBackend(std::string path)
    : path_(std::move(path)), unplugged_(path_ + ".unplugged") {
    ignoreSigpipe();
    unpluggedName_ = std::filesystem::path(unplugged_).filename().string();
    startWatch();
}

VirtualBackend::~VirtualBackend() {
    stopWatch();
    closeFile();
}

void VirtualBackend::startWatch() {
    std::filesystem::path folder = std::filesystem::path(path_).parent_path();
    if (folder.empty()) folder = ".";
    inotify_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (inotify_ < 0) return;
    wake_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wake_ < 0 || ::inotify_add_watch(inotify_, folder.c_str(), kWatchMask) < 0) {
        stopWatch();
        return;  // the write looks for the file itself
    }
    plugged();  // after the watch is set, so no change slips in between
    watching_.store(true, std::memory_order_release);
    watcher_ = std::thread([this] { watchLoop(); });
}

void VirtualBackend::stopWatch() {
    if (watcher_.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(wake_, &one, sizeof one);
        watcher_.join();
    }
    watching_.store(false, std::memory_order_release);
    if (inotify_ >= 0) ::close(inotify_);
    if (wake_ >= 0) ::close(wake_);
    inotify_ = wake_ = -1;
}

void VirtualBackend::watchLoop() {
    alignas(inotify_event) char buf[4096];
    for (;;) {
        pollfd fds[2] = {{inotify_, POLLIN, 0}, {wake_, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (fds[1].revents != 0) return;
        bool look = false;
        bool folderGone = false;
        for (;;) {
            const ssize_t n = ::read(inotify_, buf, sizeof buf);
            if (n <= 0) break;
            for (ssize_t at = 0; at < n;) {
                const auto* ev = reinterpret_cast<const inotify_event*>(buf + at);
                if ((ev->mask & IN_Q_OVERFLOW) != 0) look = true;
                if ((ev->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) != 0)
                    folderGone = true;
                if (ev->len > 0 && unpluggedName_ == ev->name) look = true;
                at += static_cast<ssize_t>(sizeof(inotify_event) + ev->len);
            }
        }
        if (look || folderGone) plugged();
        if (folderGone) break;
    }
    // The folder went away or cannot be followed: the write looks itself.
    watching_.store(false, std::memory_order_release);
}

bool VirtualBackend::plugged() {
    // The look and its publication go together, so a late watcher never
    // overwrites a newer look of the poll with an older one.
    std::lock_guard<std::mutex> lock(look_);
    struct stat st {};
    const bool present = ::stat(unplugged_.c_str(), &st) == 0;
    unpluggedSeen_.store(present, std::memory_order_release);
    return !present;
}

bool VirtualBackend::unplugSeen() const {
    return unpluggedSeen_.load(std::memory_order_acquire);
}

void VirtualBackend::closeFile() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

int VirtualBackend::checkHandle(bool plugged) {
    if (!open_) return usb::kInvalidHandle;
    if (!dead_ && !plugged) {
        dead_ = true;
        closeFile();
    }
    return dead_ ? usb::kIoError : usb::kOk;
}

int VirtualBackend::deviceCount(std::uint32_t& count) {
    count = plugged() ? 1 : 0;
    return usb::kOk;
}

int VirtualBackend::serialNumber(int index, std::string& out) {
    if (index != 0 || !plugged()) return usb::kDeviceNotFound;
    out = kSerial;
    return usb::kOk;
}

int VirtualBackend::description(int index, std::string& out) {
    if (index != 0 || !plugged()) return usb::kDeviceNotFound;
    out = kDescription;
    return usb::kOk;
}

int VirtualBackend::open(int index) {
    if (index != 0 || !plugged()) return usb::kDeviceNotFound;
    if (open_) return usb::kDeviceNotOpened;  // already open, as D2XX answers
    open_ = true;
    dead_ = false;
    return usb::kOk;
}

int VirtualBackend::close() {
    if (!open_) return usb::kInvalidHandle;
    closeFile();
    open_ = false;
    dead_ = false;
    return usb::kOk;
}

int VirtualBackend::reset() {
    return open_ ? checkHandle(plugged()) : usb::kInvalidHandle;
}

int VirtualBackend::setTimeouts(unsigned, unsigned writeMs) {
    const int st = open_ ? checkHandle(plugged()) : usb::kInvalidHandle;
    if (st == usb::kOk) writeTimeoutMs_ = writeMs;
    return st;
}

int VirtualBackend::queueStatus(std::uint32_t& rxBytes) {
    const int st = open_ ? checkHandle(plugged()) : usb::kInvalidHandle;
    if (st == usb::kOk) rxBytes = 0;
    return st;
}

int VirtualBackend::write(const std::uint8_t* data, std::size_t size, std::size_t& written) {
    written = 0;
    if (!open_) return usb::kInvalidHandle;
    // The tick's one call is the write: the watcher has looked for the file.
    const bool pluggedNow = watching_.load(std::memory_order_acquire) ? !unplugSeen() : plugged();
    if (const int st = checkHandle(pluggedNow); st != usb::kOk) return st;
    if (fd_ < 0) {
        // Non-blocking: a FIFO without a reader fails (ENXIO) instead of waiting.
        fd_ = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644);
        if (fd_ < 0) return usb::kIoError;
    }
    const long long deadline = nowMs() + writeTimeoutMs_;
    while (written < size) {
        const ssize_t n = ::write(fd_, data + written, size - written);
        if (n > 0) {
            written += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // A full FIFO: wait for room, as long as the write time-out allows.
            const long long left = deadline - nowMs();
            if (left <= 0) return usb::kIoError;
            pollfd p{fd_, POLLOUT, 0};
            const int r = ::poll(&p, 1, static_cast<int>(left));
            if (r < 0 && errno != EINTR) return usb::kIoError;
            if (r > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
                closeFile();
                return usb::kIoError;
            }
            continue;
        }
        // The reader went away or the file cannot take the bytes: try again
        // with a fresh descriptor at the next write.
        closeFile();
        return usb::kIoError;
    }
    return usb::kOk;
}

}  // namespace lumetra::io
