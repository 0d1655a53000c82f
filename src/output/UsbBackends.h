#pragma once

#include <memory>
#include <string>

#include "output/UsbBackend.h"

namespace lumetra::io {

// --interface=none: no device, ever.
class NoInterfaceBackend final : public UsbBackend {
  public:
    int deviceCount(std::uint32_t& count) override;
    int serialNumber(int index, std::string& out) override;
    int description(int index, std::string& out) override;
    int open(int index) override;
    int close() override;
    int reset() override;
    int setTimeouts(unsigned readMs, unsigned writeMs) override;
    int queueStatus(std::uint32_t& rxBytes) override;
    int write(const std::uint8_t* data, std::size_t size, std::size_t& written) override;
};

struct BackendChoice {
    std::unique_ptr<UsbBackend> backend;  // null when the option was not understood
    std::string error;
};

// The backend named by the --interface option: "ftdi", "virtual:PATH" or "none".
BackendChoice makeUsbBackend(const std::string& option);

}  // namespace lumetra::io
