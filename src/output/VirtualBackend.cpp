#include "output/VirtualBackend.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

namespace lumetra::io {

namespace {
long long nowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// Writes to a FIFO whose reader has gone raise SIGPIPE; keep it from this
// thread for the duration of one write and swallow it if it came.
class SigpipeGuard {
  public:
    SigpipeGuard() {
        sigemptyset(&pipe_);
        sigaddset(&pipe_, SIGPIPE);
        sigset_t pending;
        sigemptyset(&pending);
        sigpending(&pending);
        alreadyPending_ = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipe_, &old_);
    }
    ~SigpipeGuard() {
        if (raised_ && !alreadyPending_) {
            const timespec zero{0, 0};
            while (sigtimedwait(&pipe_, nullptr, &zero) == -1 && errno == EINTR) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &old_, nullptr);
    }
    void raised() { raised_ = true; }

  private:
    sigset_t pipe_{};
    sigset_t old_{};
    bool alreadyPending_ = false;
    bool raised_ = false;
};
}  // namespace

VirtualBackend::VirtualBackend(std::string path)
    : path_(std::move(path)), unplugged_(path_ + ".unplugged") {}

VirtualBackend::~VirtualBackend() {
    closeFile();
}

bool VirtualBackend::plugged() const {
    struct stat st {};
    return ::stat(unplugged_.c_str(), &st) != 0;
}

void VirtualBackend::closeFile() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

int VirtualBackend::checkHandle() {
    if (!open_) return usb::kInvalidHandle;
    if (!dead_ && !plugged()) {
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
    return checkHandle();
}

int VirtualBackend::setTimeouts(unsigned, unsigned writeMs) {
    const int st = checkHandle();
    if (st == usb::kOk) writeTimeoutMs_ = writeMs;
    return st;
}

int VirtualBackend::queueStatus(std::uint32_t& rxBytes) {
    const int st = checkHandle();
    if (st == usb::kOk) rxBytes = 0;
    return st;
}

int VirtualBackend::write(const std::uint8_t* data, std::size_t size, std::size_t& written) {
    written = 0;
    if (const int st = checkHandle(); st != usb::kOk) return st;
    if (fd_ < 0) {
        // Non-blocking: a FIFO without a reader fails (ENXIO) instead of waiting.
        fd_ = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644);
        if (fd_ < 0) return usb::kIoError;
    }
    SigpipeGuard guard;
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
        if (n < 0 && errno == EPIPE) guard.raised();
        // The reader went away or the file cannot take the bytes: try again
        // with a fresh descriptor at the next write.
        closeFile();
        return usb::kIoError;
    }
    return usb::kOk;
}

}  // namespace lumetra::io
