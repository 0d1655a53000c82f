#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace lumetra {

// Status codes of the interface calls: the D2XX codes the driver of
// the driver knows. Anything else a backend returns is shown as an empty
// status text by the driver.
namespace usb {
constexpr int kOk = 0;
constexpr int kInvalidHandle = 1;
constexpr int kDeviceNotFound = 2;
constexpr int kDeviceNotOpened = 3;
constexpr int kIoError = 4;
constexpr int kInsufficientResources = 5;
constexpr int kInvalidParameter = 6;
}  // namespace usb

// The USB-to-DMX interface as the driver needs it: the seven library calls
// of the driver (listing counts as one). A backend holds at most one open
// device (the driver only ever opens device 0); calls that need it return
// kInvalidHandle while none is open. Out-parameters are written only on
// kOk. The driver serialises every call with its own mutex, so a backend
// need not be thread-safe.
class UsbBackend {
  public:
    virtual ~UsbBackend() = default;

    // FT_ListDevices(number only).
    virtual int deviceCount(std::uint32_t& count) = 0;
    // FT_ListDevices(by index, serial number / description).
    virtual int serialNumber(int index, std::string& out) = 0;
    virtual int description(int index, std::string& out) = 0;
    // FT_Open, FT_Close, FT_ResetDevice, FT_SetTimeouts.
    virtual int open(int index) = 0;
    virtual int close() = 0;
    virtual int reset() = 0;
    virtual int setTimeouts(unsigned readMs, unsigned writeMs) = 0;
    // FT_GetQueueStatus: the liveness poll.
    virtual int queueStatus(std::uint32_t& rxBytes) = 0;
    // FT_Write: written receives the count written (also on failure).
    virtual int write(const std::uint8_t* data, std::size_t size, std::size_t& written) = 0;
};

}  // namespace lumetra
