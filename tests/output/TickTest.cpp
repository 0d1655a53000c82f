// The whole RealTimeTick: order of the steps and the packet it sends.
#include <vector>

#include "output/TickFixture.h"
#include "output/WirePacket.h"

namespace lumetra::test {
namespace {

class Tick : public TickFixture {};

TEST_F(Tick, SendsTheFinishedLineAsOnePacket) {
    openInterface();
    setMode(CrossfadeMode::Off);
    con.show.setLevel(0, 1, 255);
    con.show.setLevel(0, 2, 0xF0);
    con.patchTable.set(3, 1);
    cycle.RealTimeTick();
    ASSERT_EQ(fake.packets.size(), 1u);
    PacketDecoder dec;
    dec.feed(fake.packets[0].data(), fake.packets[0].size());
    DmxFrame frame;
    ASSERT_TRUE(dec.next(frame));
    EXPECT_EQ(frame[1], 255);
    EXPECT_EQ(frame[2], 0xF0);
    EXPECT_EQ(frame[3], 255);
    EXPECT_EQ(fake.packets[0].size(), 520u);  // two escaped 255s
    EXPECT_EQ(cycle.tickCount(), 1u);
}

TEST_F(Tick, OfflineMirrorStopsThePackets) {
    openInterface();
    con.controls.offline.set(1);
    cycle.RealTimeTick();
    EXPECT_TRUE(fake.packets.empty());
    con.controls.offline.set(0);
    cycle.RealTimeTick();
    EXPECT_EQ(fake.packets.size(), 1u);
}

TEST_F(Tick, TicksWithoutAnInterfaceStillBuildTheLine) {
    setMode(CrossfadeMode::Off);
    con.show.setLevel(0, 9, 90);
    cycle.RealTimeTick();
    EXPECT_EQ(slot(9), 90);
    EXPECT_EQ(fake.writesTried, 0);
}

class RecordingFeed : public DeviceTableFeed {
  public:
    FakeUsbBackend* fake = nullptr;
    std::size_t packetsBefore = 99;
    int slot5 = -1;
    void refreshFromLine(const Console& console) override {
        packetsBefore = fake->packets.size();
        slot5 = console.dmxLine.get(5);
    }
};

TEST_F(Tick, DeviceTableSeamSeesTheFinishedLineBeforeThePacket) {
    openInterface();
    setMode(CrossfadeMode::Off);
    con.show.setLevel(0, 17, 33);
    con.patchTable.set(5, 17);
    RecordingFeed feed;
    feed.fake = &fake;
    cycle.setDeviceTable(&feed);
    cycle.RealTimeTick();
    EXPECT_EQ(feed.packetsBefore, 0u);
    EXPECT_EQ(feed.slot5, 33);
    EXPECT_EQ(fake.packets.size(), 1u);
    cycle.setDeviceTable(nullptr);
}

TEST_F(Tick, SlotsAbove256AreSentAsTheyWereCleared) {
    openInterface();
    cycle.RealTimeTick();
    ASSERT_EQ(fake.packets.size(), 1u);
    EXPECT_EQ(fake.packets[0].size(), 518u);
}

}  // namespace
}  // namespace lumetra::test
