// The virtual interface: a file or FIFO, unplugged while PATH.unplugged exists.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "core/Console.h"
#include "output/TempDir.h"
#include "output/UsbDriver.h"
#include "output/VirtualBackend.h"
#include "output/WirePacket.h"

namespace lumetra::test {
namespace {

using io::VirtualBackend;

class Virtual : public ::testing::Test {
  protected:
    TempDir dir;
    std::string out = dir.file("wire.bin");
    VirtualBackend backend{out};

    int writeBytes(const std::vector<std::uint8_t>& bytes) {
        std::size_t written = 0;
        return backend.write(bytes.data(), bytes.size(), written);
    }
};

// The write learns of the unplug file from the folder watcher, as a driver
// learns of a pulled cable from the system: wait until it has.
bool watcherSaw(const VirtualBackend& b, bool unplugged) {
    for (int i = 0; i < 5000; ++i) {
        if (b.unplugSeen() == unplugged) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

TEST_F(Virtual, ListsOneDevice) {
    std::uint32_t count = 9;
    EXPECT_EQ(backend.deviceCount(count), usb::kOk);
    EXPECT_EQ(count, 1u);
    std::string s;
    EXPECT_EQ(backend.serialNumber(0, s), usb::kOk);
    EXPECT_EQ(s, "VIRTUAL1");
    EXPECT_EQ(backend.description(0, s), usb::kOk);
    EXPECT_EQ(s, "Lumetra virtual interface");
    EXPECT_EQ(backend.serialNumber(1, s), usb::kDeviceNotFound);
    EXPECT_EQ(backend.open(1), usb::kDeviceNotFound);
}

TEST_F(Virtual, CallsWithoutAnOpenHandleFail) {
    std::uint32_t rx = 0;
    EXPECT_EQ(backend.queueStatus(rx), usb::kInvalidHandle);
    EXPECT_EQ(writeBytes({1, 2}), usb::kInvalidHandle);
    EXPECT_EQ(backend.reset(), usb::kInvalidHandle);
    EXPECT_EQ(backend.close(), usb::kInvalidHandle);
    EXPECT_EQ(backend.setTimeouts(500, 500), usb::kInvalidHandle);
}

TEST_F(Virtual, AppendsTheExactBytesOfEveryWrite) {
    ASSERT_EQ(backend.open(0), usb::kOk);
    EXPECT_EQ(backend.open(0), usb::kDeviceNotOpened);
    EXPECT_EQ(backend.reset(), usb::kOk);
    EXPECT_EQ(backend.setTimeouts(500, 500), usb::kOk);
    std::uint32_t rx = 7;
    EXPECT_EQ(backend.queueStatus(rx), usb::kOk);
    EXPECT_EQ(rx, 0u);
    EXPECT_EQ(writeBytes({0xFF, 0xF0, 1}), usb::kOk);
    EXPECT_EQ(writeBytes({0x00, 0xFF}), usb::kOk);
    EXPECT_EQ(readAll(out), (std::vector<std::uint8_t>{0xFF, 0xF0, 1, 0x00, 0xFF}));
    EXPECT_EQ(backend.close(), usb::kOk);
    ASSERT_EQ(backend.open(0), usb::kOk);
    EXPECT_EQ(writeBytes({9}), usb::kOk);
    EXPECT_EQ(readAll(out).size(), 6u);  // appended, not truncated
}

TEST_F(Virtual, UnpluggedFileRemovesTheDeviceUntilItIsGone) {
    ASSERT_EQ(backend.open(0), usb::kOk);
    touch(backend.unpluggedPath());
    std::uint32_t count = 9;
    EXPECT_EQ(backend.deviceCount(count), usb::kOk);
    EXPECT_EQ(count, 0u);
    std::string s;
    EXPECT_EQ(backend.serialNumber(0, s), usb::kDeviceNotFound);
    EXPECT_EQ(backend.description(0, s), usb::kDeviceNotFound);
    std::uint32_t rx = 0;
    EXPECT_EQ(backend.queueStatus(rx), usb::kIoError);
    EXPECT_EQ(writeBytes({1}), usb::kIoError);
    EXPECT_EQ(backend.close(), usb::kOk);
    EXPECT_EQ(backend.open(0), usb::kDeviceNotFound);

    std::filesystem::remove(backend.unpluggedPath());
    EXPECT_EQ(backend.deviceCount(count), usb::kOk);
    EXPECT_EQ(count, 1u);
    ASSERT_EQ(backend.open(0), usb::kOk);
    EXPECT_EQ(writeBytes({1}), usb::kOk);
}

TEST_F(Virtual, AHandleUnpluggedWhileOpenStaysDeadUntilClosed) {
    ASSERT_EQ(backend.open(0), usb::kOk);
    touch(backend.unpluggedPath());
    std::uint32_t rx = 0;
    EXPECT_EQ(backend.queueStatus(rx), usb::kIoError);
    std::filesystem::remove(backend.unpluggedPath());
    EXPECT_EQ(backend.queueStatus(rx), usb::kIoError);
    EXPECT_EQ(writeBytes({1}), usb::kIoError);
    EXPECT_EQ(backend.close(), usb::kOk);
    ASSERT_EQ(backend.open(0), usb::kOk);
    EXPECT_EQ(backend.queueStatus(rx), usb::kOk);
}

TEST_F(Virtual, TheFirstWriteAfterTheUnplugFailsWithoutAPollInBetween) {
    ASSERT_EQ(backend.open(0), usb::kOk);
    ASSERT_EQ(writeBytes({1}), usb::kOk);
    touch(backend.unpluggedPath());
    ASSERT_TRUE(watcherSaw(backend, true));
    EXPECT_EQ(writeBytes({2}), usb::kIoError);
    std::filesystem::remove(backend.unpluggedPath());
    ASSERT_TRUE(watcherSaw(backend, false));
    EXPECT_EQ(writeBytes({3}), usb::kIoError);  // dead until closed
    EXPECT_EQ(backend.close(), usb::kOk);
    ASSERT_EQ(backend.open(0), usb::kOk);
    EXPECT_EQ(writeBytes({4}), usb::kOk);
    EXPECT_EQ(readAll(out), (std::vector<std::uint8_t>{1, 4}));

    // A rename into place is an unplug too.
    touch(dir.file("elsewhere"));
    std::filesystem::rename(dir.file("elsewhere"), backend.unpluggedPath());
    ASSERT_TRUE(watcherSaw(backend, true));
    EXPECT_EQ(writeBytes({5}), usb::kIoError);
}

TEST_F(Virtual, APathThatCannotBeWrittenFailsTheWriteWithIoError) {
    VirtualBackend bad(dir.file("no-such-folder/wire.bin"));
    ASSERT_EQ(bad.open(0), usb::kOk);
    std::uint32_t rx = 0;
    EXPECT_EQ(bad.queueStatus(rx), usb::kOk);  // the device answers
    std::size_t written = 0;
    const std::uint8_t b = 1;
    EXPECT_EQ(bad.write(&b, 1, written), usb::kIoError);
    EXPECT_EQ(written, 0u);
    std::filesystem::create_directory(dir.file("no-such-folder"));
    EXPECT_EQ(bad.write(&b, 1, written), usb::kOk);  // the next write tries again
    // No folder to watch at the start: the write looks for the file itself.
    touch(bad.unpluggedPath());
    EXPECT_EQ(bad.write(&b, 1, written), usb::kIoError);
}

TEST_F(Virtual, FifoWithoutAReaderFailsAtOnceInsteadOfBlocking) {
    const std::string fifo = dir.file("wire.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    VirtualBackend b(fifo);
    ASSERT_EQ(b.open(0), usb::kOk);
    std::size_t written = 0;
    const std::uint8_t bytes[3] = {1, 2, 3};
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(b.write(bytes, 3, written), usb::kIoError);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(2));
}

TEST_F(Virtual, FifoDeliversPacketsToAReaderAndSurvivesItsGoingAway) {
    const std::string fifo = dir.file("wire.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    VirtualBackend b(fifo);
    ASSERT_EQ(b.open(0), usb::kOk);
    std::size_t written = 0;
    const std::uint8_t bytes[4] = {0xFF, 0xF0, 7, 8};
    EXPECT_EQ(b.write(bytes, 4, written), usb::kOk);
    EXPECT_EQ(written, 4u);
    std::uint8_t got[8] = {};
    EXPECT_EQ(::read(reader, got, sizeof got), 4);
    EXPECT_EQ(got[2], 7);
    ::close(reader);
    // The reader is gone: EPIPE, reported as an I/O error, no SIGPIPE.
    EXPECT_EQ(b.write(bytes, 4, written), usb::kIoError);
    EXPECT_EQ(b.write(bytes, 4, written), usb::kIoError);  // and no reader to reopen
}

TEST_F(Virtual, AFullFifoFailsAfterTheWriteTimeout) {
    const std::string fifo = dir.file("wire.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);  // never reads
    ASSERT_GE(reader, 0);
    VirtualBackend b(fifo);
    ASSERT_EQ(b.open(0), usb::kOk);
    ASSERT_EQ(b.setTimeouts(500, 50), usb::kOk);
    std::vector<std::uint8_t> big(1 << 20, 1);  // more than a pipe holds
    std::size_t written = 0;
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(b.write(big.data(), big.size(), written), usb::kIoError);
    EXPECT_GT(written, 0u);
    EXPECT_LT(written, big.size());
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(5));
    ::close(reader);
}

// The driver over the virtual interface: the stream decodes to the lines.
TEST_F(Virtual, DriverStreamDecodesAndSurvivesUnplugAndReplug) {
    UsbDriver driver(backend);
    AtomicTable<kDmxSlots> line;
    driver.InitUsbDevise();
    EXPECT_EQ(driver.countText(), "Устройств на шине USB = 1");
    EXPECT_EQ(driver.serialText(), "серийный номер = VIRTUAL1");
    EXPECT_EQ(driver.descriptionText(), "Lumetra virtual interface");
    driver.TimerPollingTimer();
    ASSERT_TRUE(driver.isReady());
    line.set(1, 255);
    driver.SendToUsb(line, false);
    line.set(2, 0xF7);
    driver.SendToUsb(line, false);

    touch(backend.unpluggedPath());
    ASSERT_TRUE(watcherSaw(backend, true));
    driver.SendToUsb(line, false);
    EXPECT_EQ(driver.InterfaceStatusText(),
              "Интерфейс отключен от компьютера  - Ошибка ввода-вывода...");
    driver.TimerPollingTimer();
    EXPECT_FALSE(driver.isOpen());
    driver.TimerPollingTimer();
    EXPECT_EQ(driver.countText(), "Нет USB устройствa ");
    std::filesystem::remove(backend.unpluggedPath());
    driver.TimerPollingTimer();
    ASSERT_TRUE(driver.isReady());
    line.set(3, 3);
    driver.SendToUsb(line, false);
    driver.CloseUsbDevise();

    const auto bytes = readAll(out);
    PacketDecoder dec;
    dec.feed(bytes.data(), bytes.size());
    EXPECT_EQ(dec.packetsDropped(), 0u);
    DmxFrame f;
    ASSERT_TRUE(dec.next(f));
    EXPECT_EQ(f[1], 255);
    EXPECT_EQ(f[2], 0);
    ASSERT_TRUE(dec.next(f));
    EXPECT_EQ(f[2], 0xF7);
    ASSERT_TRUE(dec.next(f));
    EXPECT_EQ(f[3], 3);
    EXPECT_FALSE(dec.next(f));
}

}  // namespace
}  // namespace lumetra::test
