// The interface driver over a scripted backend.
#include <gtest/gtest.h>

#include <memory>

#include "output/FakeUsbBackend.h"
#include "output/UsbDriver.h"
#include "output/WirePacket.h"

namespace lumetra::test {
namespace {

const std::string kNoDevice = "Нет USB устройствa ";  // Latin a
const std::string kWriteIo = "Интерфейс отключен от компьютера  - Ошибка ввода-вывода...";

class Driver : public ::testing::Test {
  protected:
    FakeUsbBackend fake;
    UsbDriver driver{fake};
    AtomicTable<kDmxSlots> line;

    void send(bool offline = false) { driver.SendToUsb(line, offline); }
};

TEST(DriverTexts, CodeTextsAreExact) {
    using Op = UsbDriver::Operation;
    EXPECT_EQ(UsbDriver::statusText(Op::Open, 1), "FT_Open - Ошибка Handle...");
    EXPECT_EQ(UsbDriver::statusText(Op::Open, 2), "FT_Open - Устройство не найдено....");
    EXPECT_EQ(UsbDriver::statusText(Op::Close, 3), "FT_Close - Устройство не открывается...");
    EXPECT_EQ(UsbDriver::statusText(Op::Reset, 4), "FT_ResetDevice - Ошибка ввода-вывода...");
    EXPECT_EQ(UsbDriver::statusText(Op::SetTimeouts, 5), "FT_SetTimeouts - Не хватает ресурсов...");
    EXPECT_EQ(UsbDriver::statusText(Op::QueueStatus, 6),
              "FT_GetQueueStatus - Неверный параметр ...");
    EXPECT_EQ(UsbDriver::statusText(Op::DeviceCount, 4),
              "GetFTDeviceCount - Ошибка ввода-вывода...");
    EXPECT_EQ(UsbDriver::statusText(Op::SerialNo, 2),
              "GetFTDeviceSerialNo - Устройство не найдено....");
    EXPECT_EQ(UsbDriver::statusText(Op::Description, 2),
              "GetFTDeviceDescription - Устройство не найдено....");
    EXPECT_EQ(UsbDriver::statusText(Op::Write, 4), kWriteIo);
    for (int code : {7, 8, 18, 255, 1000, -1})
        EXPECT_EQ(UsbDriver::statusText(Op::Write, code), "");
}

TEST_F(Driver, StartsClosedWithEmptyTexts) {
    EXPECT_FALSE(driver.isOpen());
    EXPECT_FALSE(driver.isReady());
    EXPECT_TRUE(driver.reportFlag());
    EXPECT_FALSE(driver.relistFlag());
    EXPECT_FALSE(driver.pollingEnabled());
    EXPECT_EQ(driver.InterfaceStatusText(), "");
    EXPECT_EQ(driver.countText(), "");
}

TEST_F(Driver, NoDeviceAtStartListsNothingAndPollsSilently) {
    driver.InitUsbDevise();
    EXPECT_TRUE(driver.pollingEnabled());
    EXPECT_EQ(driver.countText(), kNoDevice);
    EXPECT_EQ(driver.serialText(), "");
    EXPECT_EQ(driver.descriptionText(), "");
    EXPECT_EQ(driver.InterfaceStatusText(), "");
    for (int i = 0; i < 5; ++i) driver.TimerPollingTimer();
    EXPECT_EQ(fake.opens, 5);  // tries device 0 every second
    EXPECT_FALSE(driver.isOpen());
    EXPECT_FALSE(driver.reportFlag());
    EXPECT_EQ(driver.InterfaceStatusText(), "");  // errors while polling change nothing
    send();
    EXPECT_EQ(fake.writesTried, 0);
}

TEST_F(Driver, OpensOnTheFirstPollThenSendsOnePacketPerTick) {
    fake.attach("A12345", "USB-DMX512");
    driver.InitUsbDevise();
    EXPECT_EQ(driver.countText(), "Устройств на шине USB = 1");
    EXPECT_EQ(driver.serialText(), "серийный номер = A12345");
    EXPECT_EQ(driver.descriptionText(), "USB-DMX512");
    send();
    EXPECT_EQ(fake.writesTried, 0);  // not open before the first poll

    driver.TimerPollingTimer();
    EXPECT_TRUE(driver.isOpen());
    EXPECT_TRUE(driver.isReady());
    EXPECT_EQ(fake.openedIndex, 0);
    EXPECT_EQ(fake.resets, 1);
    EXPECT_EQ(fake.readTimeout, 500u);
    EXPECT_EQ(fake.writeTimeout, 500u);

    line.set(7, 255);
    send();
    send();
    ASSERT_EQ(fake.packets.size(), 2u);
    EXPECT_EQ(fake.packets[0].size(), 519u);
    EXPECT_EQ(driver.packetLength(), 519u);
    std::vector<std::uint8_t> want(wire::kMaxPacket);
    want.resize(encodePacket(line, want.data()));
    EXPECT_EQ(fake.packets[1], want);
    EXPECT_TRUE(driver.reportFlag());  // a send sets it
    EXPECT_EQ(driver.packetsSent(), 2u);

    driver.TimerPollingTimer();  // the device answers: nothing changes
    EXPECT_EQ(fake.polls, 1);
    EXPECT_EQ(fake.opens, 1);
    EXPECT_TRUE(driver.isReady());
}

TEST_F(Driver, OfflineModeSendsNothing) {
    fake.attach("S", "D");
    driver.InitUsbDevise();
    driver.TimerPollingTimer();
    send(true);
    send(true);
    EXPECT_EQ(fake.writesTried, 0);
    send(false);
    EXPECT_EQ(fake.writesTried, 1);
}

TEST_F(Driver, UnplugReportsOnceClosesOnThePollAndReopensWhenBack) {
    fake.attach("S1", "D1");
    driver.InitUsbDevise();
    driver.TimerPollingTimer();
    send();
    ASSERT_EQ(fake.packets.size(), 1u);

    fake.unplug();
    send();  // fails and reports
    EXPECT_EQ(driver.InterfaceStatusText(), kWriteIo);
    EXPECT_FALSE(driver.isReady());
    EXPECT_TRUE(driver.isOpen());
    for (int t = 0; t < 50; ++t) send();  // no flood of writes
    EXPECT_EQ(fake.writesTried, 2);
    EXPECT_EQ(driver.writeFailures(), 1u);
    EXPECT_EQ(driver.packetLength(), 0u);

    driver.TimerPollingTimer();  // the queue poll fails: closed, relist
    EXPECT_FALSE(driver.isOpen());
    EXPECT_FALSE(driver.isReady());
    EXPECT_TRUE(driver.relistFlag());
    EXPECT_FALSE(fake.opened);                                   // the dead handle is closed
    EXPECT_EQ(driver.countText(), "Устройств на шине USB = 1");  // until the next poll

    for (int p = 0; p < 3; ++p) driver.TimerPollingTimer();  // relists, cannot open
    EXPECT_EQ(driver.countText(), kNoDevice);
    EXPECT_EQ(driver.serialText(), "");
    EXPECT_TRUE(driver.relistFlag());
    EXPECT_FALSE(driver.isOpen());
    EXPECT_EQ(driver.InterfaceStatusText(), kWriteIo);  // polling reports nothing
    for (int t = 0; t < 50; ++t) send();
    EXPECT_EQ(fake.writesTried, 2);

    fake.attach("S1", "D1");
    driver.TimerPollingTimer();
    EXPECT_FALSE(driver.relistFlag());
    EXPECT_EQ(driver.countText(), "Устройств на шине USB = 1");
    EXPECT_TRUE(driver.isOpen());
    EXPECT_TRUE(driver.isReady());
    send();
    EXPECT_EQ(fake.packets.size(), 2u);
    EXPECT_EQ(driver.InterfaceStatusText(), kWriteIo);  // never a success message
}

TEST_F(Driver, FailedWriteWhileThePollAnswersResumesAfterTheNextPoll) {
    fake.attach("S1", "D1");
    driver.InitUsbDevise();
    driver.TimerPollingTimer();
    fake.writeCode = usb::kIoError;
    send();
    EXPECT_FALSE(driver.isReady());
    EXPECT_EQ(driver.InterfaceStatusText(), kWriteIo);
    fake.writeCode = 0;  // the device is fine again
    send();
    EXPECT_EQ(fake.writesTried, 1);  // not ready: nothing tried

    driver.TimerPollingTimer();  // answers, but not ready: close and open afresh
    EXPECT_EQ(fake.closes, 1);
    EXPECT_EQ(fake.opens, 2);
    EXPECT_EQ(fake.resets, 2);
    EXPECT_TRUE(driver.isOpen());
    EXPECT_TRUE(driver.isReady());
    send();
    send();
    EXPECT_EQ(fake.packets.size(), 2u);
}

TEST_F(Driver, AWriteThatKeepsFailingIsTriedOncePerPoll) {
    fake.attach("S1", "D1");
    driver.InitUsbDevise();
    driver.TimerPollingTimer();
    fake.writeCode = usb::kIoError;
    for (int second = 0; second < 3; ++second) {
        for (int t = 0; t < 20; ++t) send();
        driver.TimerPollingTimer();
    }
    EXPECT_EQ(driver.writeFailures(), 3u);
    EXPECT_EQ(fake.writesTried, 3);
}

TEST_F(Driver, ErrorCodeOf7OrMoreEmptiesTheStatusText) {
    fake.attach("S1", "D1");
    driver.InitUsbDevise();
    driver.TimerPollingTimer();
    fake.writeCode = usb::kIoError;
    send();
    EXPECT_EQ(driver.InterfaceStatusText(), kWriteIo);
    driver.TimerPollingTimer();
    fake.writeCode = 7;
    send();
    EXPECT_EQ(driver.InterfaceStatusText(), "");
    EXPECT_FALSE(driver.isReady());  // still an error
}

TEST_F(Driver, ErrorsWhileListingAtStartAreReported) {
    fake.attach("S1", "D1");
    fake.countCode = usb::kInsufficientResources;
    driver.InitUsbDevise();
    EXPECT_EQ(driver.InterfaceStatusText(), "GetFTDeviceCount - Не хватает ресурсов...");
    EXPECT_EQ(driver.countText(), kNoDevice);  // the count stayed 0
}

TEST_F(Driver, ErrorsWhilePollingAreNotReported) {
    fake.attach("S1", "D1");
    driver.InitUsbDevise();
    fake.openCode = usb::kInsufficientResources;
    driver.TimerPollingTimer();
    EXPECT_EQ(driver.InterfaceStatusText(), "");
    EXPECT_FALSE(driver.isOpen());
    fake.openCode = 0;
    fake.resetCode = usb::kIoError;
    driver.TimerPollingTimer();
    EXPECT_EQ(driver.InterfaceStatusText(), "");
    EXPECT_TRUE(driver.isReady());
}

TEST_F(Driver, TwoDevicesListDevice1AndOpenDevice0) {
    fake.attach("SER-0", "Interface zero");
    fake.attach("SER-1", "Interface one");
    driver.InitUsbDevise();
    EXPECT_EQ(driver.countText(), "Устройств на шине USB = 2");
    EXPECT_EQ(driver.serialText(), "серийный номер = SER-1");
    EXPECT_EQ(driver.descriptionText(), "Interface one");
    EXPECT_EQ(driver.deviceCount(), 2u);
    driver.TimerPollingTimer();
    EXPECT_EQ(fake.openedIndex, 0);
}

TEST_F(Driver, AFailedListingQueryUsesTheTextOfThePreviousQuery) {
    fake.attach("SER-0", "Interface zero");
    fake.attach("SER-1", "Interface one");
    fake.failSerialOf = 1;
    driver.InitUsbDevise();
    EXPECT_EQ(driver.serialText(), "серийный номер = Interface zero");
    EXPECT_EQ(driver.descriptionText(), "Interface one");
    EXPECT_EQ(driver.InterfaceStatusText(), "GetFTDeviceSerialNo - Ошибка ввода-вывода...");
}

TEST_F(Driver, ListingTextsKeepAt49CharactersUpToTheFirstZero) {
    const std::string longDescription(64, 'd');
    fake.attach(std::string("AB\0CD", 5), longDescription);
    driver.InitUsbDevise();
    EXPECT_EQ(driver.serialText(), "серийный номер = AB");
    EXPECT_EQ(driver.descriptionText(), std::string(49, 'd'));
}

TEST_F(Driver, CloseShutsTheDriverDown) {
    fake.attach("S1", "D1");
    driver.InitUsbDevise();
    driver.TimerPollingTimer();
    driver.CloseUsbDevise();
    EXPECT_FALSE(driver.isReady());
    EXPECT_FALSE(driver.pollingEnabled());
    EXPECT_FALSE(fake.opened);
    EXPECT_EQ(fake.closes, 1);
    send();
    driver.TimerPollingTimer();
    EXPECT_EQ(fake.writesTried, 0);
    EXPECT_EQ(fake.opens, 1);
    driver.CloseUsbDevise();  // again: nothing to close
    EXPECT_EQ(fake.closes, 1);
}

TEST_F(Driver, CloseWithoutADeviceClosesNothing) {
    driver.InitUsbDevise();
    driver.CloseUsbDevise();
    EXPECT_EQ(fake.closes, 0);
    EXPECT_EQ(driver.InterfaceStatusText(), "");
}

}  // namespace
}  // namespace lumetra::test
