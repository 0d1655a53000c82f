#include <gtest/gtest.h>

#include "show/ShowMemory.h"

namespace lumetra {
namespace {

TEST(ShowLayout, SceneAddressingCoversTheWholeSceneArea) {
    EXPECT_EQ(layout::levelOffset(0, 1), 16385);
    EXPECT_EQ(layout::sceneOffset(0), 16384);
    EXPECT_EQ(layout::levelOffset(255, 255), 81919);
    EXPECT_EQ(layout::levelOffset(255, 255), layout::kShowSize - 1);
    EXPECT_EQ(layout::rateOffset(1), 257);
    EXPECT_EQ(layout::nameOffset(255) + layout::kNameSize, layout::kStaticPictures);
    EXPECT_EQ(layout::pictureOffset(15) + layout::kPictureSize, layout::kSelectionFlags);
}

TEST(ShowLayout, DataWriteClampsAndLandsAtTheRecordOffset) {
    ShowMemory show;
    show.DataWrite(3, 7, -5);
    EXPECT_EQ(show.get(layout::levelOffset(3, 7)), 0);
    show.DataWrite(3, 7, 300);
    EXPECT_EQ(show.get(layout::levelOffset(3, 7)), 255);
    show.DataWrite(3, 8, 255);
    EXPECT_EQ(show.DataRead(3, 8), 255);
    show.DataWrite(255, 255, 42);
    EXPECT_EQ(show.get(81919), 42);
    EXPECT_EQ(show.get(layout::levelOffset(254, 255)), 0);
}

TEST(ShowLayout, DataWriteXYAtTheLastSliderPositionWritesChannels254And255) {
    ShowMemory show;
    show.DataWriteXY(9, 253, 17, 400);
    EXPECT_EQ(show.level(9, 254), 17);
    EXPECT_EQ(show.level(9, 255), 255);
    EXPECT_EQ(show.level(9, 253), 0);
    EXPECT_EQ(show.level(10, 0), 0);  // the next record is untouched
}

TEST(ShowLayout, RaschetAdrSelectsTheSceneBase) {
    ShowMemory show;
    show.RaschetAdr(255);
    EXPECT_EQ(show.CurrentSceneBase(), 16384 + 256 * 255);
    show.RaschetAdr(0);
    EXPECT_EQ(show.CurrentSceneBase(), 16384);
}

}  // namespace
}  // namespace lumetra
