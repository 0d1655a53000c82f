#include <gtest/gtest.h>

#include <vector>

#include "core/Konveyr.h"

namespace lumetra {
namespace {

struct Conveyor {
    Konveyr k;
    std::vector<int> loads;
    Konveyr::JobResult job() {
        return k.KonveyrJob([this](int slot) { loads.push_back(slot); });
    }
};

TEST(Konveyr, PlaysTheActiveBoundSlotsInOrderAndStartsAgain) {
    Conveyor r;
    for (int s : {2, 5}) r.k.setBound(s, true), r.k.setActive(s, true);
    r.k.setActive(3, true);  // down but free: skipped like an up slot
    r.k.setBound(4, true);   // bound but up: skipped

    auto j = r.job();
    EXPECT_EQ(j.loadedSlot, 2);
    EXPECT_TRUE(j.showLabel);
    EXPECT_EQ(j.labelSlot, 2);
    EXPECT_EQ(r.k.position(), 3);

    j = r.job();
    EXPECT_EQ(j.loadedSlot, 5);
    EXPECT_EQ(j.labelSlot, 5);
    EXPECT_EQ(r.k.position(), 6);

    // Nothing is left up to slot 20: no load, no label, back to slot 1.
    j = r.job();
    EXPECT_EQ(j.loadedSlot, 0);
    EXPECT_FALSE(j.showLabel);
    EXPECT_EQ(r.k.position(), 1);

    EXPECT_EQ(r.job().loadedSlot, 2);
    EXPECT_EQ(r.loads, (std::vector<int>{2, 5, 2}));
}

TEST(Konveyr, PositionAtTheLastSlotAndAnEmptyList) {
    Conveyor r;
    r.k.setBound(20, true), r.k.setActive(20, true);
    r.k.setPosition(20);
    auto j = r.job();
    EXPECT_EQ(j.loadedSlot, 20);
    EXPECT_EQ(j.labelSlot, 20);
    EXPECT_EQ(r.k.position(), 1);

    Conveyor empty;
    EXPECT_EQ(empty.job().loadedSlot, 0);
    EXPECT_EQ(empty.k.position(), 1);
    EXPECT_TRUE(empty.loads.empty());
}

}  // namespace
}  // namespace lumetra
