#include "WireWatch.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace lumetra::soak {

WireWatch::WireWatch(std::string fifoPath) : path_(std::move(fifoPath)) {
    if (::mkfifo(path_.c_str(), 0600) != 0 && errno != EEXIST)
        throw std::runtime_error("mkfifo " + path_ + ": " + std::strerror(errno));
    fd_ = ::open(path_.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) throw std::runtime_error("open " + path_ + ": " + std::strerror(errno));
    last_ = Clock::now();
    thread_ = std::thread([this] { run(); });
}

WireWatch::~WireWatch() {
    stop_.store(true);
    thread_.join();
    ::close(fd_);
}

void WireWatch::run() {
    PacketDecoder decoder;
    std::vector<std::uint8_t> buffer(1 << 16);
    DmxFrame frame;
    while (!stop_.load()) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) continue;
        const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
        if (n <= 0) continue;
        decoder.feed(buffer.data(), static_cast<std::size_t>(n));
        const Clock::time_point now = Clock::now();
        std::lock_guard lock(mutex_);
        while (decoder.next(frame)) {
            if (!paused_ && counting_ && now - last_ > worst_) worst_ = now - last_;
            last_ = now;
            counting_ = true;
            ++frames_;
            lastFrame_ = frame;
        }
        dropped_ = decoder.packetsDropped();
    }
}

void WireWatch::pause() {
    std::lock_guard lock(mutex_);
    paused_ = true;
}

void WireWatch::resume() {
    std::lock_guard lock(mutex_);
    paused_ = false;
    counting_ = false;
    last_ = Clock::now();
}

bool WireWatch::paused() const {
    std::lock_guard lock(mutex_);
    return paused_;
}

WireWatch::Clock::duration WireWatch::silence() const {
    std::lock_guard lock(mutex_);
    return paused_ ? Clock::duration{} : Clock::now() - last_;
}

WireWatch::Clock::duration WireWatch::worstGap() const {
    std::lock_guard lock(mutex_);
    return worst_;
}

std::uint64_t WireWatch::frames() const {
    std::lock_guard lock(mutex_);
    return frames_;
}

std::uint64_t WireWatch::dropped() const {
    std::lock_guard lock(mutex_);
    return dropped_;
}

DmxFrame WireWatch::lastFrame() const {
    std::lock_guard lock(mutex_);
    return lastFrame_;
}

}  // namespace lumetra::soak
