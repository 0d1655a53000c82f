#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>

#include "core/Console.h"
#include "output/LineOutput.h"
#include "output/UsbBackend.h"
#include "show/ByteTable.h"

namespace lumetra {

// The USB interface driver: listing, opening by the one-second
// poll, supervision and reopening, the status text and one escaped packet
// per tick.
//
// Threads: SendToUsb runs on the real-time thread; everything else on the
// UI thread. One small mutex (device) serialises the backend between the
// tick's write and the UI's calls; neither side ever waits for the other's
// I/O: a poll that finds a write in progress is skipped, and a tick that finds the UI in the
// middle of a poll skips its packet (the next tick sends a fresh line).
// The flags and the status are atomics and the listing texts sit behind a
// second mutex that is never held across I/O, so the UI may read them at
// any time.
//
// Mended fault: a write that fails while the device still answers the
// queue poll no longer stops the output until restart. The next poll finds
// the device open but not ready, closes the handle and opens device 0
// again, and packets resume.
class UsbDriver final : public LineOutput {
  public:
    static constexpr std::size_t kPacketBufferSize = 32768;
    static constexpr unsigned kTimeoutMs = 500;    // read and write time-outs
    static constexpr std::size_t kTextChars = 49;  // of the 50-byte text buffer

    // The operations named in the status text.
    enum class Operation : std::uint8_t {
        None = 0,
        DeviceCount,
        SerialNo,
        Description,
        Open,
        Close,
        Reset,
        SetTimeouts,
        QueueStatus,
        Write,
    };

    explicit UsbDriver(UsbBackend& backend);
    UsbDriver(const UsbDriver&) = delete;
    UsbDriver& operator=(const UsbDriver&) = delete;

    // UI thread.
    void InitUsbDevise();
    void GetListAllDevise();
    void TimerPollingTimer();
    void CloseUsbDevise();

    // Real-time thread: one packet of the line, unless the interface is not
    // open and ready or offline mode ("Работа в DEMO режиме") is on.
    void SendToUsb(const AtomicTable<kDmxSlots>& line, bool offline);

    // The driver as one output of the line.
    void start() override { InitUsbDevise(); }
    void poll() override { TimerPollingTimer(); }
    void stop() override { CloseUsbDevise(); }
    void sendLine(const AtomicTable<kDmxSlots>& line, bool offline) override {
        SendToUsb(line, offline);
    }
    std::string outputStatus() const override { return InterfaceStatusText(); }
    OutputListing listing() const override {
        return {countText(), descriptionText(), serialText()};
    }

    // Readable from any thread.
    std::string InterfaceStatusText() const;
    std::string countText() const;        // LabelKolvoUSB
    std::string serialText() const;       // LabelUSBnomber
    std::string descriptionText() const;  // LabelTipFtdi
    bool isOpen() const override { return open_.load(std::memory_order_acquire) != 0; }
    bool isReady() const { return ready_.load(std::memory_order_acquire) != 0; }
    bool reportFlag() const { return report_.load(std::memory_order_acquire) != 0; }
    bool relistFlag() const { return relist_.load(std::memory_order_acquire) != 0; }
    // TimerPolling's enabled state: on from InitUsbDevise, off from CloseUsbDevise.
    bool pollingEnabled() const { return polling_.load(std::memory_order_acquire) != 0; }
    std::uint32_t deviceCount() const { return count_.load(std::memory_order_acquire); }
    std::size_t packetLength() const { return packetLength_.load(std::memory_order_acquire); }
    std::uint64_t packetsSent() const { return sent_.load(std::memory_order_relaxed); }
    std::uint64_t writeFailures() const { return writeFailures_.load(std::memory_order_relaxed); }
    // Packets not sent because the UI held the device at that moment.
    std::uint64_t packetsSkippedBusy() const { return busy_.load(std::memory_order_relaxed); }

    // The status texts: operation name, then the text of the code (empty
    // for a code outside 1..6, which also empties the whole status text).
    static const char* operationName(Operation op);
    static const char* codeText(int code);
    static std::string statusText(Operation op, int code);

  private:
    // The error reporter: acts only while the report flag is 1. Allocates
    // nothing (the text is built when it is read).
    void report(Operation op, int code);
    void listLocked();
    bool openLocked();
    void closeLocked();
    void setTexts(const std::string* count, const std::string* serial, const std::string* desc);

    UsbBackend& backend_;
    std::mutex device_;         // the backend, the packet buffer, lastListed_
    mutable std::mutex texts_;  // the three listing texts; never held across I/O

    std::atomic<std::uint8_t> open_{0};
    std::atomic<std::uint8_t> ready_{0};
    std::atomic<std::uint8_t> report_{1};
    std::atomic<std::uint8_t> relist_{0};
    std::atomic<std::uint8_t> polling_{0};
    std::atomic<std::uint32_t> count_{0};
    std::atomic<std::uint32_t> status_{0};  // operation << 8 | code (7: above 6)
    std::atomic<std::size_t> packetLength_{0};
    std::atomic<std::uint64_t> sent_{0};
    std::atomic<std::uint64_t> writeFailures_{0};
    std::atomic<std::uint64_t> busy_{0};

    std::string lastListed_;  // under device_
    std::string countText_;   // under texts_
    std::string serialText_;
    std::string descriptionText_;
    std::array<std::uint8_t, kPacketBufferSize> packet_{};
};

}  // namespace lumetra
