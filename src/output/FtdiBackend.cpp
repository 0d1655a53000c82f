#include "output/FtdiBackend.h"

#include <ftdi.h>
#include <libusb.h>

#include <array>

namespace lumetra::io {

namespace {
// vendor = product = 0 asks libftdi1 for its default list: 0x0403 with
// 0x6001, 0x6010, 0x6011, 0x6014 and 0x6015.
constexpr int kAnyVendor = 0;
constexpr int kAnyProduct = 0;

// The results of ftdi_usb_find_all: the device list, freed on scope exit.
class DeviceList {
  public:
    explicit DeviceList(ftdi_context* ctx) {
        found_ = ctx ? ftdi_usb_find_all(ctx, &list_, kAnyVendor, kAnyProduct) : 0;
    }
    ~DeviceList() {
        if (list_) ftdi_list_free(&list_);
    }
    DeviceList(const DeviceList&) = delete;
    DeviceList& operator=(const DeviceList&) = delete;

    // Number of devices, or libftdi's negative error.
    int found() const { return found_; }
    libusb_device* at(int index) const {
        int i = 0;
        for (ftdi_device_list* d = list_; d; d = d->next, ++i)
            if (i == index) return d->dev;
        return nullptr;
    }

  private:
    ftdi_device_list* list_ = nullptr;
    int found_ = 0;
};

// ftdi_usb_find_all: -3 out of memory, -5/-6 libusb could not list.
int findAllCode(int r) {
    return r == -3 ? usb::kInsufficientResources : usb::kIoError;
}

// libusb results seen through ftdi_write_data and friends.
int libusbCode(int r) {
    switch (r) {
        case LIBUSB_ERROR_INVALID_PARAM:
            return usb::kInvalidParameter;
        case LIBUSB_ERROR_NO_MEM:
            return usb::kInsufficientResources;
        case LIBUSB_ERROR_NOT_FOUND:
            return usb::kDeviceNotFound;
        default:
            return usb::kIoError;  // NO_DEVICE, TIMEOUT, IO, PIPE, ...
    }
}
}  // namespace

FtdiBackend::FtdiBackend() : list_(ftdi_new()), device_(ftdi_new()) {}

FtdiBackend::~FtdiBackend() {
    if (open_ && device_) ftdi_usb_close(device_);
    if (device_) ftdi_free(device_);
    if (list_) ftdi_free(list_);
}

int FtdiBackend::deviceCount(std::uint32_t& count) {
    if (!list_) return usb::kInsufficientResources;
    DeviceList devices(list_);
    if (devices.found() < 0) return findAllCode(devices.found());
    count = static_cast<std::uint32_t>(devices.found());
    return usb::kOk;
}

int FtdiBackend::listString(int index, Field field, std::string& out) {
    if (!list_) return usb::kInsufficientResources;
    DeviceList devices(list_);
    if (devices.found() < 0) return findAllCode(devices.found());
    libusb_device* dev = devices.at(index);
    if (!dev) return usb::kDeviceNotFound;
    // The longest answer is a 64-byte description; the driver keeps 49 characters.
    std::array<char, 128> text{};
    const bool serial = field == Field::Serial;
    const int r = ftdi_usb_get_strings2(list_, dev, nullptr, 0, serial ? nullptr : text.data(),
                                        serial ? 0 : static_cast<int>(text.size()),
                                        serial ? text.data() : nullptr,
                                        serial ? static_cast<int>(text.size()) : 0);
    // -1 wrong arguments, -4 cannot open the device, -7..-9 a string could
    // not be read, -11 no device descriptor.
    if (r == -1) return usb::kInvalidParameter;
    if (r == -4) return usb::kDeviceNotOpened;
    if (r < 0) return usb::kIoError;
    text.back() = '\0';
    out = text.data();
    return usb::kOk;
}

int FtdiBackend::serialNumber(int index, std::string& out) {
    return listString(index, Field::Serial, out);
}

int FtdiBackend::description(int index, std::string& out) {
    return listString(index, Field::Description, out);
}

int FtdiBackend::open(int index) {
    if (!device_) return usb::kInsufficientResources;
    if (open_) return usb::kDeviceNotOpened;  // one handle at a time
    DeviceList devices(device_);
    if (devices.found() < 0) return findAllCode(devices.found());
    libusb_device* dev = devices.at(index);
    if (!dev) return usb::kDeviceNotFound;
    const int r = ftdi_usb_open_dev(device_, dev);
    // -3 cannot configure, -4 cannot open, -5 cannot claim, -6 reset, -7
    // baud rate, -8 invalid context, -9..-12 descriptors, kernel driver.
    if (r == 0) {
        open_ = true;
        return usb::kOk;
    }
    if (r == -8) return usb::kInvalidHandle;
    if (r == -4 || r == -5 || r == -11) return usb::kDeviceNotOpened;
    return usb::kIoError;
}

int FtdiBackend::close() {
    if (!device_ || !open_) return usb::kInvalidHandle;
    open_ = false;
    const int r = ftdi_usb_close(device_);  // -1 release failed, -3 invalid context
    if (r == 0) return usb::kOk;
    return r == -3 ? usb::kInvalidHandle : usb::kIoError;
}

int FtdiBackend::reset() {
    if (!device_ || !open_) return usb::kInvalidHandle;
    const int r = ftdi_usb_reset(device_);  // -1 reset failed, -2 no device
    if (r == 0) return usb::kOk;
    return r == -2 ? usb::kInvalidHandle : usb::kIoError;
}

int FtdiBackend::setTimeouts(unsigned readMs, unsigned writeMs) {
    if (!device_ || !open_) return usb::kInvalidHandle;
    device_->usb_read_timeout = static_cast<int>(readMs);
    device_->usb_write_timeout = static_cast<int>(writeMs);
    return usb::kOk;
}

int FtdiBackend::queueStatus(std::uint32_t& rxBytes) {
    if (!device_ || !open_) return usb::kInvalidHandle;
    // libftdi has no receive-queue query; the modem status poll is a
    // control transfer that fails as soon as the device is gone.
    unsigned short status = 0;
    const int r = ftdi_poll_modem_status(device_, &status);  // -1 failed, -2 no device
    if (r == 0) {
        rxBytes = 0;
        return usb::kOk;
    }
    return r == -2 ? usb::kInvalidHandle : usb::kIoError;
}

int FtdiBackend::write(const std::uint8_t* data, std::size_t size, std::size_t& written) {
    written = 0;
    if (!device_ || !open_) return usb::kInvalidHandle;
    const int r = ftdi_write_data(device_, data, static_cast<int>(size));
    if (r >= 0) {
        written = static_cast<std::size_t>(r);
        return usb::kOk;
    }
    if (r == -666) return usb::kInvalidHandle;  // no device in the context
    return libusbCode(r);
}

}  // namespace lumetra::io
