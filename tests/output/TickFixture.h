#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "core/Console.h"
#include "output/FakeUsbBackend.h"
#include "output/OutputCycle.h"
#include "output/UsbDriver.h"

namespace lumetra::test {

// One console with its cycle and a driver over a scripted backend.
class TickFixture : public ::testing::Test {
  protected:
    std::unique_ptr<Console> owned = std::make_unique<Console>();
    Console& con = *owned;
    FakeUsbBackend fake;
    UsbDriver driver{fake};
    OutputCycle cycle{con, driver};

    void setMode(CrossfadeMode m) { con.controls.crossfadeMode.set(static_cast<std::uint8_t>(m)); }
    void setScene(int scene) {
        con.show.setCell(cell::kCurrentScene, static_cast<std::uint8_t>(scene));
    }
    void setRate(int channel, int step) {
        con.show.set(layout::rateOffset(channel), static_cast<std::uint8_t>(step));
    }
    void select(int slot, std::uint8_t flag = 1) {
        con.show.set(layout::selectionOffset(slot), flag);
    }
    void setPicture(int picture, int slot, int level, std::uint8_t flag = 1) {
        con.show.set(layout::pictureOffset(picture) + slot, flag);
        con.show.set(layout::pictureOffset(picture) + layout::kPictureLevels + slot,
                     static_cast<std::uint8_t>(level));
    }
    int slot(int i) const { return con.dmxLine.get(i); }
    void setSlot(int i, int v) { con.dmxLine.set(i, static_cast<std::uint8_t>(v)); }

    // An open, ready interface with one device.
    void openInterface() {
        fake.attach("FT1", "USB <-> DMX");
        driver.InitUsbDevise();
        driver.TimerPollingTimer();
        ASSERT_TRUE(driver.isOpen());
        ASSERT_TRUE(driver.isReady());
    }
};

}  // namespace lumetra::test
