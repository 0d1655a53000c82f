#include <gtest/gtest.h>

#include "show/ShowReset.h"

namespace lumetra {
namespace {

// A console whose every byte is non-zero, so a test sees what a clear
// touches and what it leaves.
void scribble(Console& c) {
    for (int i = 0; i < layout::kShowSize; ++i)
        c.show.set(i, static_cast<std::uint8_t>(i % 251 + 1));
    for (int i = 0; i < kDmxSlots; ++i) c.dmxLine.set(i, 9);
    c.sceneBuffer.fill(7);
    c.undoCopy.fill(5);
    c.showRunning.set(1);
}

TEST(ClearAll, BringsTheShowToANewShow) {
    Console c;
    scribble(c);
    ClearAllMemory(c);
    for (int ch = 1; ch <= 255; ++ch) EXPECT_EQ(c.show.get(layout::rateOffset(ch)), 255);
    EXPECT_EQ(c.show.get(layout::kRateTable), 255);  // channel 0's step too
    for (int i = layout::kStaticPictures; i < layout::kShowSize; ++i)
        ASSERT_EQ(c.show.get(i), 0) << "offset " << i;
    for (int i = 0; i < layout::kSignatureSize; ++i) EXPECT_EQ(c.show.get(i), showSignature()[i]);
    EXPECT_EQ(c.show.cell(cell::kColorRed), 190);
    EXPECT_EQ(c.show.cell(cell::kColorGreen), 197);
    EXPECT_EQ(c.show.cell(cell::kColorBlue), 190);
    EXPECT_EQ(c.show.cell(cell::kColorOn), 1);
    EXPECT_EQ(c.show.cell(cell::kTempo), 44);
    EXPECT_EQ(c.show.currentScene(), 0);
    EXPECT_EQ(c.show.lastScene(), 1);
    EXPECT_EQ(c.showRunning.get(), 0);
    for (int i = 0; i < 512; ++i) ASSERT_EQ(c.dmxLine.get(i), 0);
    for (auto b : c.sceneBuffer) ASSERT_EQ(b, 0);
}

TEST(ClearAll, KeepsNamesOtherCellsAndTheUndoCopy) {
    Console c;
    scribble(c);
    Console before;
    scribble(before);
    ClearAllMemory(c);
    for (int i = layout::kChannelNameTable; i < layout::kStaticPictures; ++i)
        ASSERT_EQ(c.show.get(i), before.show.get(i));
    for (int cellIndex : {128, 129, 130, 134, 135, 136, 137, 142, 145, 150, 154, 200, 255})
        EXPECT_EQ(c.show.cell(cellIndex), before.show.cell(cellIndex)) << "cell " << cellIndex;
    EXPECT_EQ(c.dmxLine.get(512), 9);
    EXPECT_EQ(c.undoCopy, before.undoCopy);
}

TEST(StartupReset, ClearsNamesAndSetsBothAvtomatSpeedsButNotTheRest) {
    ShowMemory show;
    show.fill(3, 0, layout::kShowSize);
    StartupMemoryReset(show);
    for (int i = layout::kChannelNameTable; i < layout::kStaticPictures; ++i)
        ASSERT_EQ(show.get(i), 0);
    EXPECT_EQ(show.cell(cell::kAvtomat1Speed), 50);
    EXPECT_EQ(show.cell(cell::kAvtomat2Speed), 50);
    EXPECT_EQ(show.get(layout::kStaticPictures), 3);
    EXPECT_EQ(show.cell(cell::kAvtomat1Channel), 3);

    // A clear afterwards keeps the start-up speeds.
    Console c;
    StartupMemoryReset(c.show);
    ClearAllMemory(c);
    EXPECT_EQ(c.show.cell(cell::kAvtomat1Speed), 50);
    EXPECT_EQ(c.show.cell(cell::kAvtomat2Speed), 50);
}

TEST(GraphZoom, PositionsGiveZoomAndPageSize) {
    const int zooms[] = {1, 2, 4, 8};
    const int pages[] = {256, 128, 64, 32};
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(graphZoomAt(p).zoom, zooms[p]);
        EXPECT_EQ(graphZoomAt(p).pageScenes, pages[p]);
    }
    EXPECT_EQ(graphZoomAt(9).position, 3);
    EXPECT_EQ(graphZoomAt(-1).position, 0);
    EXPECT_EQ(clearedGraphZoom().zoom, 8);
    EXPECT_EQ(clearedGraphZoom().pageScenes, 32);
}

TEST(GraphZoom, AfterOpenDividesIntoTheLastSceneIndex) {
    EXPECT_EQ(graphZoomAfterOpen(255).position, 1);  // 256 div 255
    EXPECT_EQ(graphZoomAfterOpen(128).position, 2);
    EXPECT_EQ(graphZoomAfterOpen(129).position, 1);
    EXPECT_EQ(graphZoomAfterOpen(64).position, 3);  // 4 clamps to 3
    EXPECT_EQ(graphZoomAfterOpen(86).position, 2);
    EXPECT_EQ(graphZoomAfterOpen(85).position, 3);
    EXPECT_EQ(graphZoomAfterOpen(1).position, 3);
    EXPECT_EQ(graphZoomAfterOpen(0).position, 3);  // a one-scene show: closest view
    EXPECT_EQ(graphZoomAfterOpen(0).pageScenes, 32);
}

}  // namespace
}  // namespace lumetra
