// The 3D feed: what each fixture group makes of the output line.
#include <gtest/gtest.h>

#include <set>

#include "output/TickFixture.h"
#include "view/DeviceFeed.h"

namespace lumetra::test {
namespace {

class DeviceFeedTest : public TickFixture {
  protected:
    io::ChannelColors devices;
    DeviceFeed feed{devices};

    void run() { feed.refreshFromLine(con); }
    Rgb color(int device) const {
        const DeviceLights& l = feed.lights();
        return {l.red.get(device), l.green.get(device), l.blue.get(device)};
    }
    int intensity(int device) const { return feed.lights().intensity.get(device); }
    int pan(int device) const { return devices.DevicePan[device]; }
    int tilt(int device) const { return devices.DeviceTilt[device]; }
    int width(int device) const { return devices.DeviceBeamWidth[device]; }
};

TEST_F(DeviceFeedTest, FirstGroupInvertsColourAndDimmer) {
    for (int k : {0, 5}) {
        const int b = 16 + 14 * k;
        setSlot(b + 2, 55);   // dimmer, inverted
        setSlot(b + 3, 203);  // zoom, div 4
        setSlot(b + 5, 10);
        setSlot(b + 6, 250);
        setSlot(b + 7, 5);   // red
        setSlot(b + 8, 60);  // blue
        setSlot(b + 9, 0);   // green
    }
    run();
    for (int device : {1, 6}) {
        EXPECT_EQ(pan(device), 10);
        EXPECT_EQ(tilt(device), 250);
        EXPECT_EQ(width(device), 50);
        EXPECT_EQ(color(device), (Rgb{250, 255, 195}));
        EXPECT_EQ(intensity(device), 200);
    }
    // Untouched fixtures of the group: all channels 0 means full and white.
    EXPECT_EQ(color(3), (Rgb{255, 255, 255}));
    EXPECT_EQ(intensity(3), 255);
}

TEST_F(DeviceFeedTest, SecondGroupColourWheelEdges) {
    const std::pair<int, Rgb> edges[] = {
        {0, {255, 255, 255}},   {20, {255, 255, 255}},  {21, {255, 255, 0}},
        {40, {255, 255, 0}},    {41, {0, 255, 0}},      {61, {0, 0, 255}},
        {81, {255, 0, 255}},    {101, {255, 0, 0}},     {121, {0, 255, 255}},
        {141, {127, 127, 255}}, {161, {255, 255, 127}}, {180, {255, 255, 127}},
        {181, {127, 255, 255}}, {200, {127, 255, 255}}};
    for (auto [level, expected] : edges) {
        setSlot(100 + 15 * 5 + 3, level);  // device 12
        run();
        EXPECT_EQ(color(12), expected) << "wheel " << level;
    }
    const int b = 100 + 15 * 2;  // device 9
    setSlot(b + 2, 77);
    setSlot(b + 5, 1);
    setSlot(b + 6, 2);
    run();
    EXPECT_EQ(intensity(9), 77);  // not inverted in this group
    EXPECT_EQ(pan(9), 1);
    EXPECT_EQ(tilt(9), 2);
    EXPECT_EQ(width(9), 20);
}

TEST_F(DeviceFeedTest, ColourWheelAbove200FlickersOnEveryFeed) {
    std::set<int> seen;
    for (int level : {201, 230, 255}) {
        setSlot(100 + 3, level);  // device 7
        for (int n = 0; n < 20; ++n) {
            run();
            const Rgb c = color(7);
            ASSERT_LE(c.red, 254);
            ASSERT_LE(c.green, 254);
            ASSERT_LE(c.blue, 254);
            seen.insert(c.red << 16 | c.green << 8 | c.blue);
        }
    }
    EXPECT_GT(seen.size(), 55u);  // new on (nearly) every feed
}

TEST_F(DeviceFeedTest, ThirdGroupShutterRule) {
    const int b = 190 + 10 * 3;  // device 16
    setSlot(b + 1, 1);           // green
    setSlot(b + 2, 2);           // blue
    setSlot(b + 3, 3);           // red
    const std::pair<int, int> rule[] = {{0, 0},     {10, 0},    {11, 22},
                                        {127, 254}, {253, 255}, {255, 255}};
    for (auto [level, expected] : rule) {
        setSlot(b + 4, level);
        run();
        EXPECT_EQ(intensity(16), expected) << "shutter " << level;
    }
    for (int strobe : {0, 255}) {
        con.strobe.set(static_cast<std::uint8_t>(strobe));
        for (int level : {128, 252}) {
            setSlot(b + 4, level);
            run();
            EXPECT_EQ(intensity(16), strobe) << "shutter " << level;
        }
    }
    EXPECT_EQ(color(16), (Rgb{252, 254, 253}));
    EXPECT_EQ(width(16), 20);
}

TEST_F(DeviceFeedTest, SixteenLampsFollowChannelsOneToSixteenAndKeepTheirBeam) {
    devices.DevicePan.set(19, 40);  // a PAR placed by hand
    devices.DeviceBeamWidth.set(34, 90);
    for (int c = 1; c <= 16; ++c) setSlot(c, 10 * c);
    run();
    for (int n = 0; n < 16; ++n) EXPECT_EQ(intensity(19 + n), 10 * (n + 1));
    EXPECT_EQ(color(19), (Rgb{255, 0, 0}));
    EXPECT_EQ(color(24), (Rgb{0, 120, 255}));
    EXPECT_EQ(color(26), (Rgb{127, 255, 127}));
    EXPECT_EQ(color(27), (Rgb{255, 0, 0}));
    EXPECT_EQ(color(34), (Rgb{127, 255, 127}));
    EXPECT_EQ(pan(19), 40);
    EXPECT_EQ(width(34), 90);
    EXPECT_EQ(intensity(35), 0);  // nothing past the lamps
}

TEST_F(DeviceFeedTest, TheTickFeedsThePatchedLineAndFlagsNewData) {
    cycle.setDeviceTable(&feed);
    EXPECT_FALSE(feed.takeNewData());
    con.show.setLevel(0, 200, 99);  // channel 200 of scene 0 ...
    setMode(CrossfadeMode::Off);
    con.patchTable.set(1, 200);  // ... comes out on slot 1, the first lamp
    cycle.RealTimeTick();
    EXPECT_EQ(intensity(19), 99);
    EXPECT_TRUE(feed.takeNewData());
    EXPECT_FALSE(feed.takeNewData());  // once per feed
    cycle.setDeviceTable(nullptr);
}

}  // namespace
}  // namespace lumetra::test
