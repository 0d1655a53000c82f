#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

#include "output/UsbBackend.h"

namespace lumetra::io {

// --interface=virtual:PATH: a rehearsal interface with one device
// (description "Lumetra virtual interface", serial "VIRTUAL1") that appends
// the exact bytes of every packet to PATH, a regular file or a FIFO.
//
// While the file PATH.unplugged exists the device is unplugged: it is not
// listed, opening fails with 2 (not found), and the queue poll and writes
// on a handle fail with 4 (I/O error). Such a handle stays dead, as a real
// one does, until it is closed; once the file is gone the device can be
// opened again.
//
// PATH is opened at the first write after each open (so opening never fails
// for the path): a FIFO without a reader, or a path that cannot be written,
// fails that write with 4 and the next write tries again. A FIFO is written
// without blocking; when it is full the write waits for room up to the
// write time-out (500 ms from the driver) and then fails with 4. A reader
// that goes away fails the write with 4 (SIGPIPE is ignored process-wide).
//
// The write runs on the real-time tick and makes no call but the write
// itself: a small watcher thread follows PATH's folder (inotify) and tells
// the write when PATH.unplugged comes and goes, as the USB stack would tell
// a real driver, so the first packet after the unplug still fails. Where the
// folder cannot be watched the write looks for the file itself. The calls of
// the one-second poll always look for the file.
class VirtualBackend final : public UsbBackend {
  public:
    static constexpr const char* kDescription = "Lumetra virtual interface";
    static constexpr const char* kSerial = "VIRTUAL1";

    explicit VirtualBackend(std::string path);
    ~VirtualBackend() override;

    int deviceCount(std::uint32_t& count) override;
    int serialNumber(int index, std::string& out) override;
    int description(int index, std::string& out) override;
    int open(int index) override;
    int close() override;
    int reset() override;
    int setTimeouts(unsigned readMs, unsigned writeMs) override;
    int queueStatus(std::uint32_t& rxBytes) override;
    int write(const std::uint8_t* data, std::size_t size, std::size_t& written) override;

    const std::string& path() const { return path_; }
    std::string unpluggedPath() const { return path_ + ".unplugged"; }
    // What the write knows of the unplug file: true once the watcher (or the
    // write's own look, without a watcher) has seen PATH.unplugged appear.
    bool unplugSeen() const;

  private:
    // Looks for PATH.unplugged and tells the write what it found.
    bool plugged();
    // Checks the handle: 0 when usable, else the code to return.
    int checkHandle(bool plugged);
    void closeFile();
    void startWatch();
    void stopWatch();
    void watchLoop();

    std::string path_;
    std::string unplugged_;
    std::string unpluggedName_;  // the file name alone, as inotify reports it
    int inotify_ = -1;
    int wake_ = -1;  // eventfd that ends the watcher
    std::thread watcher_;
    std::atomic<bool> watching_{false};
    std::mutex look_;
    std::atomic<bool> unpluggedSeen_{false};
    bool open_ = false;
    bool dead_ = false;  // unplugged while open
    int fd_ = -1;
    unsigned writeTimeoutMs_ = 500;
};

}  // namespace lumetra::io
