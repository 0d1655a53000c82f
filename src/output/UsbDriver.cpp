#include "output/UsbDriver.h"

#include <cstring>

#include "output/WirePacket.h"

namespace lumetra {

namespace {
constexpr std::uint32_t kCodeAbove6 = 7;

// The text buffer of the listing queries: at most 49 characters, up to the
// first zero byte.
std::string bufferText(const std::string& s) {
    const std::size_t zero = s.find('\0');
    const std::size_t n = zero == std::string::npos ? s.size() : zero;
    return s.substr(0, n < UsbDriver::kTextChars ? n : UsbDriver::kTextChars);
}
}  // namespace

UsbDriver::UsbDriver(UsbBackend& backend) : backend_(backend) {}

const char* UsbDriver::operationName(Operation op) {
    switch (op) {
        case Operation::None:
            return "";
        case Operation::DeviceCount:
            return "GetFTDeviceCount";
        case Operation::SerialNo:
            return "GetFTDeviceSerialNo";
        case Operation::Description:
            return "GetFTDeviceDescription";
        case Operation::Open:
            return "FT_Open";
        case Operation::Close:
            return "FT_Close";
        case Operation::Reset:
            return "FT_ResetDevice";
        case Operation::SetTimeouts:
            return "FT_SetTimeouts";
        case Operation::QueueStatus:
            return "FT_GetQueueStatus";
        case Operation::Write:
            return "Интерфейс отключен от компьютера ";
    }
    return "";
}

const char* UsbDriver::codeText(int code) {
    switch (code) {
        case usb::kInvalidHandle:
            return " - Ошибка Handle...";
        case usb::kDeviceNotFound:
            return " - Устройство не найдено....";
        case usb::kDeviceNotOpened:
            return " - Устройство не открывается...";
        case usb::kIoError:
            return " - Ошибка ввода-вывода...";
        case usb::kInsufficientResources:
            return " - Не хватает ресурсов...";
        case usb::kInvalidParameter:
            return " - Неверный параметр ...";
        default:
            return "";
    }
}

std::string UsbDriver::statusText(Operation op, int code) {
    if (op == Operation::None || code < usb::kInvalidHandle || code > usb::kInvalidParameter)
        return {};
    return std::string(operationName(op)) + codeText(code);
}

void UsbDriver::report(Operation op, int code) {
    if (report_.load(std::memory_order_acquire) != 1) return;
    ready_.store(0, std::memory_order_release);
    const std::uint32_t c = (code >= usb::kInvalidHandle && code <= usb::kInvalidParameter)
                                ? static_cast<std::uint32_t>(code)
                                : kCodeAbove6;
    status_.store(static_cast<std::uint32_t>(op) << 8 | c, std::memory_order_release);
}

std::string UsbDriver::InterfaceStatusText() const {
    const std::uint32_t s = status_.load(std::memory_order_acquire);
    return statusText(static_cast<Operation>(s >> 8), static_cast<int>(s & 0xFF));
}

std::string UsbDriver::countText() const {
    std::lock_guard lock(texts_);
    return countText_;
}

std::string UsbDriver::serialText() const {
    std::lock_guard lock(texts_);
    return serialText_;
}

std::string UsbDriver::descriptionText() const {
    std::lock_guard lock(texts_);
    return descriptionText_;
}

void UsbDriver::setTexts(const std::string* count, const std::string* serial,
                         const std::string* desc) {
    std::lock_guard lock(texts_);
    if (count) countText_ = *count;
    if (serial) serialText_ = *serial;
    if (desc) descriptionText_ = *desc;
}

void UsbDriver::InitUsbDevise() {
    std::lock_guard lock(device_);
    ready_.store(0, std::memory_order_release);
    report_.store(1, std::memory_order_release);
    open_.store(0, std::memory_order_release);
    polling_.store(1, std::memory_order_release);
    listLocked();
    packet_.fill(0);
    packet_[0] = 255;
}

void UsbDriver::GetListAllDevise() {
    std::lock_guard lock(device_);
    listLocked();
}

void UsbDriver::listLocked() {
    std::uint32_t n = 0;
    const int st = backend_.deviceCount(n);
    if (st != usb::kOk) {
        report(Operation::DeviceCount, st);  // the count keeps its last answer
    } else {
        count_.store(n, std::memory_order_release);
    }
    const std::uint32_t count = count_.load(std::memory_order_acquire);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::string text;
        int code = backend_.serialNumber(static_cast<int>(i), text);
        if (code == usb::kOk) {
            lastListed_ = bufferText(text);
        } else {
            report(Operation::SerialNo, code);
        }
        const std::string serial = "серийный номер = " + lastListed_;
        code = backend_.description(static_cast<int>(i), text);
        if (code == usb::kOk) {
            lastListed_ = bufferText(text);
        } else {
            report(Operation::Description, code);
        }
        setTexts(nullptr, &serial, &lastListed_);
        relist_.store(0, std::memory_order_release);
    }
    if (count > 0) {
        const std::string text = "Устройств на шине USB = " + std::to_string(count);
        setTexts(&text, nullptr, nullptr);
    } else {
        const std::string text = "Нет USB устройствa ";  // the last letter is the Latin a
        const std::string empty;
        setTexts(&text, &empty, &empty);
        ready_.store(0, std::memory_order_release);
    }
}

bool UsbDriver::openLocked() {
    const int st = backend_.open(0);
    if (st != usb::kOk) {
        report(Operation::Open, st);
        return false;
    }
    open_.store(1, std::memory_order_release);
    ready_.store(1, std::memory_order_release);
    if (const int r = backend_.reset(); r != usb::kOk) report(Operation::Reset, r);
    if (const int r = backend_.setTimeouts(kTimeoutMs, kTimeoutMs); r != usb::kOk)
        report(Operation::SetTimeouts, r);
    return true;
}

void UsbDriver::closeLocked() {
    if (const int r = backend_.close(); r != usb::kOk) report(Operation::Close, r);
    open_.store(0, std::memory_order_release);
}

void UsbDriver::TimerPollingTimer() {
    if (!pollingEnabled()) return;
    std::unique_lock lock(device_, std::try_to_lock);
    if (!lock.owns_lock()) return;  // a write is in progress: this poll is skipped
    report_.store(0, std::memory_order_release);
    if (relist_.load(std::memory_order_acquire) == 1) listLocked();
    if (open_.load(std::memory_order_acquire) == 0) {
        openLocked();
        return;
    }
    std::uint32_t rx = 0;
    if (const int st = backend_.queueStatus(rx); st != usb::kOk) {
        // The device is gone: close the dead handle, list again next time.
        report(Operation::QueueStatus, st);
        ready_.store(0, std::memory_order_release);
        closeLocked();
        relist_.store(1, std::memory_order_release);
        return;
    }
    if (ready_.load(std::memory_order_acquire) == 0) {
        // Open, answering, but not ready: a write failed. Start it afresh.
        closeLocked();
        openLocked();
    }
}

void UsbDriver::SendToUsb(const AtomicTable<kDmxSlots>& line, bool offline) {
    if (open_.load(std::memory_order_acquire) == 0 || offline) return;
    std::unique_lock lock(device_, std::try_to_lock);
    if (!lock.owns_lock()) {
        busy_.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    if (open_.load(std::memory_order_acquire) == 0) return;
    packetLength_.store(0, std::memory_order_release);
    if (ready_.load(std::memory_order_acquire) != 1) return;
    const std::size_t n = encodePacket(line, packet_.data());
    packetLength_.store(n, std::memory_order_release);
    report_.store(1, std::memory_order_release);
    std::size_t written = 0;
    const int st = backend_.write(packet_.data(), n, written);
    if (st != usb::kOk) {
        writeFailures_.fetch_add(1, std::memory_order_relaxed);
        report(Operation::Write, st);
        // Without the report flag (never the case here) the write still
        // counts as failed: stop until the poll has started the device afresh.
        ready_.store(0, std::memory_order_release);
        return;
    }
    sent_.fetch_add(1, std::memory_order_relaxed);
}

void UsbDriver::CloseUsbDevise() {
    std::lock_guard lock(device_);
    ready_.store(0, std::memory_order_release);
    polling_.store(0, std::memory_order_release);
    if (open_.load(std::memory_order_acquire) == 1) closeLocked();
}

}  // namespace lumetra
