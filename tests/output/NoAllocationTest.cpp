// The tick allocates nothing: every operator new on this thread between
// the markers is counted. Its own program, since it replaces operator new.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <new>

#include "output/TickFixture.h"
#include "view/DeviceFeed.h"

namespace {
thread_local bool counting = false;
thread_local int allocations = 0;
}  // namespace

void* operator new(std::size_t n) {
    if (counting) ++allocations;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
// GCC cannot see that these pair with the malloc above.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
#pragma GCC diagnostic pop

namespace lumetra::test {
namespace {

class NoAllocation : public TickFixture {};

TEST_F(NoAllocation, TheTickAllocatesNothingInAnyMode) {
    openInterface();
    for (int k = 0; k < 16; ++k) con.controls.pictureKeys.set(k, 1);
    con.controls.manual.set(1);
    con.controls.scannerPriority.set(1);
    for (int i = 0; i < 256; i += 3) select(i);
    for (int c = 1; c <= 255; ++c) con.show.setLevel(0, c, 255);
    con.showRunning.set(1);
    io::ChannelColors devices;
    DeviceFeed feed(devices);  // the 3D feed too, random colours included
    cycle.setDeviceTable(&feed);

    fake.record = false;
    counting = true;
    allocations = 0;
    for (std::uint8_t mode : {0, 1, 2, 255}) {
        con.controls.crossfadeMode.set(mode);
        cycle.RealTimeTick();
        con.controls.blackout.set(1);
        con.controls.macroOut.set(1);
        cycle.RealTimeTick();
        con.controls.blackout.set(0);
        con.controls.macroOut.set(0);
    }
    fake.writeCode = usb::kIoError;  // the error reporter allocates nothing either
    cycle.RealTimeTick();
    counting = false;
    cycle.setDeviceTable(nullptr);
    EXPECT_EQ(allocations, 0);
    EXPECT_TRUE(feed.takeNewData());
    EXPECT_EQ(fake.writesTried, 9);
    EXPECT_EQ(driver.writeFailures(), 1u);
}

}  // namespace
}  // namespace lumetra::test

namespace lumetra::test {
namespace {

TEST(NoAllocationHarness, CountsAnAllocationOnThisThread) {
    counting = true;
    allocations = 0;
    auto p = std::make_unique<int>(1);
    counting = false;
    EXPECT_EQ(allocations, 1);
    EXPECT_EQ(*p, 1);
}

}  // namespace
}  // namespace lumetra::test
