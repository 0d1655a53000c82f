// ManualDmx: overlays in their order, blackout, macro, patch and sound,
// the patch routing, and BlankBlackOut.
#include "output/TickFixture.h"

namespace lumetra::test {
namespace {

class Overlays : public TickFixture {
  protected:
    void SetUp() override { setMode(CrossfadeMode::Off); }
};

TEST_F(Overlays, LaterPicturesOverrideEarlierOnesAndOnlyFlagOneCounts) {
    setPicture(0, 5, 10);
    setPicture(15, 5, 200);  // picture M
    setPicture(3, 6, 66);
    setPicture(4, 7, 77, 2);  // a flag of 2 does not include the slot
    for (int k : {0, 3, 4, 15}) con.controls.pictureKeys.set(k, 1);
    setSlot(7, 9);
    cycle.ManualDmx();
    EXPECT_EQ(slot(5), 200);
    EXPECT_EQ(slot(6), 66);
    EXPECT_EQ(slot(7), 9);
}

TEST_F(Overlays, UntickedPicturesDoNothing) {
    setPicture(2, 8, 50);
    setSlot(8, 1);
    cycle.ManualDmx();
    EXPECT_EQ(slot(8), 1);
}

TEST_F(Overlays, PictureCanWriteSlotZero) {
    setPicture(1, 0, 42);
    con.controls.pictureKeys.set(1, 1);
    cycle.ManualDmx();
    EXPECT_EQ(slot(0), 42);
}

TEST_F(Overlays, ManualFadersWriteTickedRowsOfTheVisibleBank) {
    con.controls.manual.set(1);
    con.controls.bankOffset.set(10);
    con.controls.faderTicked.set(2, 1);  // row 3: channel 13
    con.controls.faderPosition.set(2, 77);
    con.controls.faderPosition.set(3, 99);  // row 4 not ticked
    con.controls.faderTicked.set(26, 1);    // row 27: channel 37
    con.controls.faderPosition.set(26, 5);
    setSlot(14, 1);
    cycle.ManualDmx();
    EXPECT_EQ(slot(13), 77);
    EXPECT_EQ(slot(14), 1);
    EXPECT_EQ(slot(37), 5);

    con.controls.manual.set(0);
    con.controls.faderPosition.set(2, 1);
    cycle.ManualDmx();
    EXPECT_EQ(slot(13), 77);  // left as it was
}

TEST_F(Overlays, ManualFadersOfTheLastBankReachChannel255) {
    con.controls.manual.set(1);
    con.controls.bankOffset.set(228);
    con.controls.faderTicked.set(26, 1);
    con.controls.faderPosition.set(26, 123);
    cycle.ManualDmx();
    EXPECT_EQ(slot(255), 123);
}

TEST_F(Overlays, ScannerPriorityWritesXAndYForSelectedSlotsIncludingSlot256) {
    con.controls.scannerPriority.set(1);
    con.controls.scannerX.set(11);
    con.controls.scannerY.set(22);
    select(10);
    select(255);
    select(40, 2);  // not exactly 1
    cycle.ManualDmx();
    // Sound scaling leaves 10 and 255 (flag 1) alone at a sound level of 255.
    EXPECT_EQ(slot(10), 11);
    EXPECT_EQ(slot(11), 22);
    EXPECT_EQ(slot(255), 11);
    EXPECT_EQ(slot(256), 22);
    EXPECT_EQ(slot(40), 0);
    EXPECT_EQ(slot(41), 0);

    con.controls.scannerPriority.set(0);
    con.controls.scannerX.set(99);
    cycle.ManualDmx();
    EXPECT_EQ(slot(10), 11);
}

TEST_F(Overlays, OverlayOrderPicturesManualScannerBlackoutMacro) {
    // Slot 20: picture 0, then manual fader, then scanner.
    setPicture(0, 20, 1);
    con.controls.pictureKeys.set(0, 1);
    con.controls.manual.set(1);
    con.controls.bankOffset.set(0);
    con.controls.faderTicked.set(19, 1);
    con.controls.faderPosition.set(19, 2);
    // The manual fader of row 21 is overridden by the scanner's Y of slot 20.
    con.controls.faderTicked.set(20, 1);
    con.controls.faderPosition.set(20, 3);
    cycle.ManualDmx();
    EXPECT_EQ(slot(20), 2);
    EXPECT_EQ(slot(21), 3);

    con.controls.scannerPriority.set(1);
    con.controls.scannerX.set(4);
    con.controls.scannerY.set(5);
    select(20, 1);
    cycle.ManualDmx();
    EXPECT_EQ(slot(20), 4);
    EXPECT_EQ(slot(21), 5);

    con.controls.blackout.set(1);
    cycle.ManualDmx();
    EXPECT_EQ(slot(20), 0);
    EXPECT_EQ(slot(21), 0);

    setPicture(15, 21, 6);
    con.controls.macroOut.set(1);
    cycle.ManualDmx();
    EXPECT_EQ(slot(20), 0);
    EXPECT_EQ(slot(21), 6);
}

TEST_F(Overlays, BlackoutClearsSlots0To255ButNotSlot256) {
    for (int c = 1; c <= 255; ++c) con.show.setLevel(0, c, 255);
    con.controls.scannerPriority.set(1);
    con.controls.scannerX.set(1);
    con.controls.scannerY.set(200);
    select(255);
    con.controls.blackout.set(1);
    cycle.RealTimeTick();
    for (int i = 0; i < 256; ++i) ASSERT_EQ(slot(i), 0) << i;
    EXPECT_EQ(slot(256), 200);
}

TEST_F(Overlays, BlackoutWithMacroOutputsOnlyPictureMAfterPatchAndSound) {
    for (int c = 1; c <= 255; ++c) con.show.setLevel(0, c, 100);
    setPicture(0, 3, 90);
    con.controls.pictureKeys.set(0, 1);
    setPicture(15, 5, 200);
    setPicture(15, 9, 100);
    con.controls.blackout.set(1);
    con.controls.macroOut.set(1);
    con.patchTable.set(7, 5);  // output 7 takes picture M's slot 5
    select(9);                 // output 9 is scaled
    con.soundLevel.store(51);
    cycle.RealTimeTick();
    for (int i = 0; i < 256; ++i) {
        if (i == 5 || i == 7 || i == 9) continue;
        ASSERT_EQ(slot(i), 0) << i;
    }
    EXPECT_EQ(slot(5), 200);
    EXPECT_EQ(slot(7), 200);
    EXPECT_EQ(slot(9), 20);  // 100 * 51 / 255
}

TEST_F(Overlays, MacroDownWithoutBlackoutLaysPictureMOverTheScene) {
    con.show.setLevel(0, 1, 50);
    con.show.setLevel(0, 2, 60);
    setPicture(15, 2, 250);
    con.controls.macroOut.set(1);
    con.controls.blackout.set(0);
    cycle.RealTimeTick();
    EXPECT_EQ(slot(1), 50);
    EXPECT_EQ(slot(2), 250);
}

TEST_F(Overlays, IdentityPatchAtStartCarriesEverySlotToItself) {
    for (int i = 0; i < 256; ++i) setSlot(i, (i * 7) & 0xFF);
    cycle.ManualDmx();
    for (int i = 0; i < 256; ++i) ASSERT_EQ(slot(i), (i * 7) & 0xFF);
}

TEST_F(Overlays, PatchRoutesEachOutputFromItsSource) {
    for (int c = 1; c <= 255; ++c) con.show.setLevel(0, c, static_cast<std::uint8_t>(c));
    con.patchTable.set(5, 17);
    con.patchTable.set(6, 17);
    con.patchTable.set(1, 0);  // slot 0 carries 0 here
    cycle.RealTimeTick();
    EXPECT_EQ(slot(5), 17);
    EXPECT_EQ(slot(6), 17);
    EXPECT_EQ(slot(1), 0);
    EXPECT_EQ(slot(17), 17);
    // Source 5 and 6 are no longer output anywhere.
    for (int i = 0; i < 256; ++i) {
        ASSERT_NE(slot(i), 5) << i;
        ASSERT_NE(slot(i), 6) << i;
    }
}

TEST_F(Overlays, PatchComesAfterTheOverlays) {
    setPicture(2, 17, 123);
    con.controls.pictureKeys.set(2, 1);
    con.patchTable.set(5, 17);
    cycle.ManualDmx();
    EXPECT_EQ(slot(5), 123);
}

TEST_F(Overlays, PatchEntryAbove255OutputsZero) {
    for (int c = 1; c <= 255; ++c) con.show.setLevel(0, c, 200);
    con.patchTable.set(8, 256);
    con.patchTable.set(9, 512);
    con.patchTable.set(10, 65535);
    con.patchTable.set(11, 255);
    cycle.RealTimeTick();
    EXPECT_EQ(slot(8), 0);
    EXPECT_EQ(slot(9), 0);
    EXPECT_EQ(slot(10), 0);
    EXPECT_EQ(slot(11), 200);
    EXPECT_EQ(slot(12), 200);
}

TEST_F(Overlays, PatchEntriesAbove255OfTheTableAreNotUsed) {
    setSlot(300, 9);
    con.patchTable.set(300, 1);
    cycle.ManualDmx();
    EXPECT_EQ(slot(300), 9);
}

TEST_F(Overlays, SoundScalesOutputSlotsWhoseSelectionByteIsExactlyOne) {
    for (int c = 1; c <= 255; ++c) con.show.setLevel(0, c, 200);
    select(1);
    select(2, 2);
    select(3);
    con.soundLevel.store(128);
    cycle.RealTimeTick();
    EXPECT_EQ(slot(1), 200 * 128 / 255);
    EXPECT_EQ(slot(2), 200);
    EXPECT_EQ(slot(3), 100);
    EXPECT_EQ(slot(4), 200);

    con.soundLevel.store(0);
    cycle.RealTimeTick();
    EXPECT_EQ(slot(1), 0);
    con.soundLevel.store(255);
    cycle.RealTimeTick();
    EXPECT_EQ(slot(1), 200);
}

TEST_F(Overlays, SoundFlagIsLookedUpByTheOutputSlotAfterPatching) {
    con.show.setLevel(0, 17, 200);
    con.patchTable.set(5, 17);
    select(5);
    con.soundLevel.store(0);
    cycle.RealTimeTick();
    EXPECT_EQ(slot(5), 0);
    EXPECT_EQ(slot(17), 200);  // source 17 is not selected
}

TEST_F(Overlays, SoundLevelOutOfRangeIsClamped) {
    con.show.setLevel(0, 1, 200);
    select(1);
    con.soundLevel.store(1000);
    cycle.RealTimeTick();
    EXPECT_EQ(slot(1), 200);
    con.soundLevel.store(-5);
    cycle.RealTimeTick();
    EXPECT_EQ(slot(1), 0);
}

TEST_F(Overlays, BlankBlackOutTogglesWhileBlackoutElseVisible) {
    EXPECT_EQ(con.blackoutBlinkVisible.get(), 1);
    cycle.BlankBlackOut();
    EXPECT_EQ(con.blackoutBlinkVisible.get(), 1);
    con.controls.blackout.set(1);
    cycle.RealTimeTick();
    EXPECT_EQ(con.blackoutBlinkVisible.get(), 0);
    cycle.RealTimeTick();
    EXPECT_EQ(con.blackoutBlinkVisible.get(), 1);
    cycle.RealTimeTick();
    EXPECT_EQ(con.blackoutBlinkVisible.get(), 0);
    con.controls.blackout.set(0);
    cycle.RealTimeTick();
    EXPECT_EQ(con.blackoutBlinkVisible.get(), 1);
}

}  // namespace
}  // namespace lumetra::test
