#pragma once

#include <string>

#include "output/UsbBackend.h"

struct ftdi_context;

namespace lumetra::io {

// --interface=ftdi: the first FTDI chip (vendor 0x0403, products 0x6001,
// 0x6010, 0x6011, 0x6014, 0x6015: libftdi1's default search) through
// libftdi1. libftdi's negative results are mapped onto the status codes of
// UsbBackend. Listing uses a context of its own, so that it never disturbs
// the open device. Without a USB bus every call answers cleanly: no device
// listed, open fails with 2 (not found).
class FtdiBackend final : public UsbBackend {
  public:
    FtdiBackend();
    ~FtdiBackend() override;
    FtdiBackend(const FtdiBackend&) = delete;
    FtdiBackend& operator=(const FtdiBackend&) = delete;

    int deviceCount(std::uint32_t& count) override;
    int serialNumber(int index, std::string& out) override;
    int description(int index, std::string& out) override;
    int open(int index) override;
    int close() override;
    int reset() override;
    int setTimeouts(unsigned readMs, unsigned writeMs) override;
    int queueStatus(std::uint32_t& rxBytes) override;
    int write(const std::uint8_t* data, std::size_t size, std::size_t& written) override;

  private:
    enum class Field { Serial, Description };
    int listString(int index, Field field, std::string& out);

    ftdi_context* list_ = nullptr;    // listing
    ftdi_context* device_ = nullptr;  // the open device
    bool open_ = false;
};

}  // namespace lumetra::io
