// The --interface option and the backends without a device.
#include <gtest/gtest.h>

#include "output/FtdiBackend.h"
#include "output/UsbBackends.h"
#include "output/UsbDriver.h"
#include "output/VirtualBackend.h"

namespace lumetra::test {
namespace {

TEST(BackendFactory, ChoosesTheBackendNamedByTheOption) {
    EXPECT_NE(dynamic_cast<io::FtdiBackend*>(io::makeUsbBackend("ftdi").backend.get()), nullptr);
    EXPECT_NE(dynamic_cast<io::NoInterfaceBackend*>(io::makeUsbBackend("none").backend.get()),
              nullptr);
    auto v = io::makeUsbBackend("virtual:/tmp/some/wire.bin");
    auto* virt = dynamic_cast<io::VirtualBackend*>(v.backend.get());
    ASSERT_NE(virt, nullptr);
    EXPECT_EQ(virt->path(), "/tmp/some/wire.bin");
    EXPECT_TRUE(v.error.empty());
}

TEST(BackendFactory, RejectsAnythingElse) {
    for (const char* bad : {"", "virtual:", "FTDI", "usb", "virtual"}) {
        auto r = io::makeUsbBackend(bad);
        EXPECT_EQ(r.backend, nullptr) << bad;
        EXPECT_EQ(r.error, "--interface must be ftdi, virtual:PATH or none");
    }
}

TEST(NoInterface, NeverHasADevice) {
    io::NoInterfaceBackend none;
    UsbDriver driver(none);
    driver.InitUsbDevise();
    EXPECT_EQ(driver.countText(), "Нет USB устройствa ");
    driver.TimerPollingTimer();
    driver.TimerPollingTimer();
    EXPECT_FALSE(driver.isOpen());
    EXPECT_EQ(driver.InterfaceStatusText(), "");
    driver.CloseUsbDevise();
}

// There is no USB bus on these machines: libftdi1 finds nothing and the
// driver says so quietly.
TEST(Ftdi, WithoutADeviceReportsNotFoundCleanly) {
    io::FtdiBackend ftdi;
    std::uint32_t count = 99;
    ASSERT_EQ(ftdi.deviceCount(count), usb::kOk);
    if (count != 0) GTEST_SKIP() << "an FTDI device is attached";
    std::string s;
    EXPECT_EQ(ftdi.serialNumber(0, s), usb::kDeviceNotFound);
    EXPECT_EQ(ftdi.description(0, s), usb::kDeviceNotFound);
    EXPECT_EQ(ftdi.open(0), usb::kDeviceNotFound);
    std::uint32_t rx = 0;
    EXPECT_EQ(ftdi.queueStatus(rx), usb::kInvalidHandle);
    std::size_t written = 0;
    const std::uint8_t b = 0;
    EXPECT_EQ(ftdi.write(&b, 1, written), usb::kInvalidHandle);
    EXPECT_EQ(ftdi.reset(), usb::kInvalidHandle);
    EXPECT_EQ(ftdi.setTimeouts(500, 500), usb::kInvalidHandle);
    EXPECT_EQ(ftdi.close(), usb::kInvalidHandle);

    UsbDriver driver(ftdi);
    driver.InitUsbDevise();
    EXPECT_EQ(driver.countText(), "Нет USB устройствa ");
    EXPECT_EQ(driver.InterfaceStatusText(), "");
    driver.TimerPollingTimer();
    EXPECT_FALSE(driver.isOpen());
    EXPECT_EQ(driver.InterfaceStatusText(), "");
    driver.CloseUsbDevise();
}

}  // namespace
}  // namespace lumetra::test
