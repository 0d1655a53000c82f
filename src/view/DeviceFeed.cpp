#include "view/DeviceFeed.h"

#include <array>

namespace lumetra {

namespace {

constexpr std::array<Rgb, 10> kWheel{{{255, 255, 255},
                                      {255, 255, 0},
                                      {0, 255, 0},
                                      {0, 0, 255},
                                      {255, 0, 255},
                                      {255, 0, 0},
                                      {0, 255, 255},
                                      {127, 127, 255},
                                      {255, 255, 127},
                                      {127, 255, 255}}};

// The colours of the sixteen lamps, the same eight twice.
constexpr std::array<Rgb, 8> kLampColors{{{255, 0, 0},
                                          {255, 255, 0},
                                          {0, 255, 0},
                                          {0, 0, 255},
                                          {0, 255, 255},
                                          {0, 120, 255},
                                          {255, 255, 255},
                                          {127, 255, 127}}};

constexpr std::uint8_t inverted(std::uint8_t v) {
    return static_cast<std::uint8_t>(255 - v);
}

}  // namespace

Rgb colorWheel(std::uint8_t level, SmallRandom& random) {
    if (level > 200) {
        const std::uint8_t r = random.next();
        const std::uint8_t g = random.next();
        return {r, g, random.next()};
    }
    // 0..20 is the first colour, then one colour for every twenty levels.
    return kWheel[level <= 20 ? 0 : (level - 1) / 20];
}

std::uint8_t shutterLevel(std::uint8_t level, std::uint8_t strobe) {
    if (level < 11) return 0;
    if (level <= 127) return static_cast<std::uint8_t>(2 * level);
    if (level <= 252) return strobe;
    return 255;
}

void DeviceFeed::setBeam(int device, std::uint8_t pan, std::uint8_t tilt, std::uint8_t width) {
    devices_.DevicePan.set(device, pan);
    devices_.DeviceTilt.set(device, tilt);
    devices_.DeviceBeamWidth.set(device, width);
}

void DeviceFeed::setLight(int device, Rgb color, std::uint8_t intensity) {
    lights_.red.set(device, color.red);
    lights_.green.set(device, color.green);
    lights_.blue.set(device, color.blue);
    lights_.intensity.set(device, intensity);
}

void DeviceFeed::refreshFromLine(const Console& console) {
    auto slot = [&line = console.dmxLine](int c) { return line.get(c); };

    for (int k = 0; k < 6; ++k) {
        // Devices 1..6: inverted colour mixing and dimmer, zoom on b + 3.
        const int b = 16 + 14 * k;
        const int device = k + 1;
        setBeam(device, slot(b + 5), slot(b + 6), static_cast<std::uint8_t>(slot(b + 3) / 4));
        setLight(device, {inverted(slot(b + 7)), inverted(slot(b + 9)), inverted(slot(b + 8))},
                 inverted(slot(b + 2)));
    }
    for (int k = 0; k < 6; ++k) {
        // Devices 7..12: colour wheel on b + 3, dimmer on b + 2.
        const int b = 100 + 15 * k;
        const int device = k + 7;
        setBeam(device, slot(b + 5), slot(b + 6), 20);
        setLight(device, colorWheel(slot(b + 3), random_), slot(b + 2));
    }
    const std::uint8_t strobe = console.strobe.get();
    for (int k = 0; k < 6; ++k) {
        // Devices 13..18: inverted colour mixing, shutter on b + 4.
        const int b = 190 + 10 * k;
        const int device = k + 13;
        setBeam(device, slot(b + 5), slot(b + 6), 20);
        setLight(device, {inverted(slot(b + 3)), inverted(slot(b + 1)), inverted(slot(b + 2))},
                 shutterLevel(slot(b + 4), strobe));
    }
    for (int n = 0; n < 16; ++n) {
        // Devices 19..34: fixed-colour lamps dimmed by channels 1..16.
        setLight(19 + n, kLampColors[n % 8], slot(1 + n));
    }
    lights_.newData.set(1);
}

bool DeviceFeed::takeNewData() {
    if (lights_.newData.get() == 0) return false;
    lights_.newData.set(0);
    return true;
}

}  // namespace lumetra
