#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "output/UsbBackend.h"

namespace lumetra::test {

// A scripted interface: the test attaches and removes devices and forces
// status codes; the fake records what the driver asked of it. Not
// thread-safe (the driver serialises its calls; tests read it afterwards).
class FakeUsbBackend : public UsbBackend {
  public:
    struct Device {
        std::string serial;
        std::string description;
    };

    std::vector<Device> devices;
    // Forced results (0: behave normally).
    int countCode = 0, serialCode = 0, descriptionCode = 0, openCode = 0, closeCode = 0;
    int resetCode = 0, timeoutsCode = 0, pollCode = 0, writeCode = 0;
    int failSerialOf = -1;  // the serial query of this index fails with 4
    bool record = true;     // keep the packets written (allocates)

    bool opened = false;
    bool dead = false;  // the open handle's device was unplugged
    int openedIndex = -1;
    int opens = 0, closes = 0, resets = 0, polls = 0, writesTried = 0;
    unsigned readTimeout = 0, writeTimeout = 0;
    std::vector<std::vector<std::uint8_t>> packets;

    void attach(std::string serial, std::string description) {
        devices.push_back({std::move(serial), std::move(description)});
    }
    void unplug() {
        devices.clear();
        if (opened) dead = true;
    }

    int deviceCount(std::uint32_t& count) override {
        if (countCode) return countCode;
        count = static_cast<std::uint32_t>(devices.size());
        return usb::kOk;
    }
    int serialNumber(int index, std::string& out) override {
        if (serialCode) return serialCode;
        if (index == failSerialOf) return usb::kIoError;
        if (index < 0 || index >= static_cast<int>(devices.size())) return usb::kDeviceNotFound;
        out = devices[index].serial;
        return usb::kOk;
    }
    int description(int index, std::string& out) override {
        if (descriptionCode) return descriptionCode;
        if (index < 0 || index >= static_cast<int>(devices.size())) return usb::kDeviceNotFound;
        out = devices[index].description;
        return usb::kOk;
    }
    int open(int index) override {
        ++opens;
        if (openCode) return openCode;
        if (index < 0 || index >= static_cast<int>(devices.size())) return usb::kDeviceNotFound;
        if (opened) return usb::kDeviceNotOpened;
        opened = true;
        dead = false;
        openedIndex = index;
        return usb::kOk;
    }
    int close() override {
        ++closes;
        if (!opened) return usb::kInvalidHandle;
        opened = false;
        dead = false;
        return closeCode;
    }
    int reset() override {
        ++resets;
        if (!opened) return usb::kInvalidHandle;
        if (dead) return usb::kIoError;
        return resetCode;
    }
    int setTimeouts(unsigned r, unsigned w) override {
        if (!opened) return usb::kInvalidHandle;
        if (dead) return usb::kIoError;
        readTimeout = r;
        writeTimeout = w;
        return timeoutsCode;
    }
    int queueStatus(std::uint32_t& rx) override {
        ++polls;
        if (!opened) return usb::kInvalidHandle;
        if (dead) return usb::kIoError;
        if (pollCode) return pollCode;
        rx = 0;
        return usb::kOk;
    }
    int write(const std::uint8_t* data, std::size_t size, std::size_t& written) override {
        ++writesTried;
        written = 0;
        if (!opened) return usb::kInvalidHandle;
        if (dead) return usb::kIoError;
        if (writeCode) return writeCode;
        if (record) packets.emplace_back(data, data + size);
        written = size;
        return usb::kOk;
    }
};

}  // namespace lumetra::test
