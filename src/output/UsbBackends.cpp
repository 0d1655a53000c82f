#include "output/UsbBackends.h"

#include "output/FtdiBackend.h"
#include "output/VirtualBackend.h"

namespace lumetra::io {

int NoInterfaceBackend::deviceCount(std::uint32_t& count) {
    count = 0;
    return usb::kOk;
}
int NoInterfaceBackend::serialNumber(int, std::string&) {
    return usb::kDeviceNotFound;
}
int NoInterfaceBackend::description(int, std::string&) {
    return usb::kDeviceNotFound;
}
int NoInterfaceBackend::open(int) {
    return usb::kDeviceNotFound;
}
int NoInterfaceBackend::close() {
    return usb::kInvalidHandle;
}
int NoInterfaceBackend::reset() {
    return usb::kInvalidHandle;
}
int NoInterfaceBackend::setTimeouts(unsigned, unsigned) {
    return usb::kInvalidHandle;
}
int NoInterfaceBackend::queueStatus(std::uint32_t&) {
    return usb::kInvalidHandle;
}
int NoInterfaceBackend::write(const std::uint8_t*, std::size_t, std::size_t& written) {
    written = 0;
    return usb::kInvalidHandle;
}

BackendChoice makeUsbBackend(const std::string& option) {
    static const std::string kVirtual = "virtual:";
    if (option == "ftdi") return {std::make_unique<FtdiBackend>(), {}};
    if (option == "none") return {std::make_unique<NoInterfaceBackend>(), {}};
    if (option.rfind(kVirtual, 0) == 0 && option.size() > kVirtual.size())
        return {std::make_unique<VirtualBackend>(option.substr(kVirtual.size())), {}};
    return {nullptr, "--interface must be ftdi, virtual:PATH or none"};
}

}  // namespace lumetra::io
