#include <gtest/gtest.h>

#include "SceneFixture.h"
#include "show/SceneList.h"

namespace lumetra {
namespace {

using testing::markOf;
using testing::markScenes;
using testing::setScenes;

class SceneListTest : public ::testing::Test {
  protected:
    void SetUp() override { markScenes(c); }
    Console c;
};

TEST_F(SceneListTest, InsertDuplicatesTheCurrentSceneAndShiftsTheRestUp) {
    setScenes(c, 2, 4);
    EXPECT_EQ(InsertScene(c), SceneCommand::Done);
    EXPECT_EQ(c.show.currentScene(), 3);
    EXPECT_EQ(c.show.lastScene(), 5);
    EXPECT_EQ(markOf(c, 2), 2);
    EXPECT_EQ(markOf(c, 3), 2);
    EXPECT_EQ(markOf(c, 4), 3);
    EXPECT_EQ(markOf(c, 5), 4);
    EXPECT_EQ(markOf(c, 255), 254);                    // the unused top record is pushed out
    EXPECT_EQ(c.show.get(layout::sceneOffset(3)), 2);  // byte 0 moves with its record
}

TEST_F(SceneListTest, InsertAtTheFirstSceneAndAtTheTopEdges) {
    setScenes(c, 0, 0);
    EXPECT_EQ(InsertScene(c), SceneCommand::Done);
    EXPECT_EQ(c.show.currentScene(), 1);
    EXPECT_EQ(c.show.lastScene(), 1);
    EXPECT_EQ(markOf(c, 1), 0);

    // Current scene 255: nothing moves and no undo copy replaces the one
    // the operator may still need.
    markScenes(c);
    setScenes(c, 255, 255);
    c.undoCopy.fill(0);
    EXPECT_EQ(insertRefusal(c.show), InsertRefusal::FullShow);
    EXPECT_EQ(InsertScene(c), SceneCommand::NotInserted);
    EXPECT_EQ(c.show.currentScene(), 255);
    EXPECT_EQ(c.show.lastScene(), 255);
    EXPECT_EQ(c.undoCopy[cell::kCurrentScene], 0);
    setScenes(c, 255, 200);
    EXPECT_EQ(insertRefusal(c.show), InsertRefusal::NoRoomAfter);

    // A full show keeps all its scenes: no wrap of the last index, no loss.
    setScenes(c, 100, 255);
    EXPECT_EQ(InsertScene(c), SceneCommand::NotInserted);
    EXPECT_EQ(c.show.lastScene(), 255);
    EXPECT_EQ(c.show.currentScene(), 100);
    EXPECT_EQ(markOf(c, 255), 255);
    EXPECT_EQ(markOf(c, 101), 101);

    // One short of full grows to exactly 256 scenes.
    setScenes(c, 254, 254);
    EXPECT_EQ(InsertScene(c), SceneCommand::Done);
    EXPECT_EQ(c.show.lastScene(), 255);
    EXPECT_EQ(markOf(c, 255), 254);
}

TEST_F(SceneListTest, DeleteShiftsDownAndFollowsTheLastScene) {
    setScenes(c, 2, 4);
    EXPECT_EQ(DeleteScene(c), SceneCommand::Done);
    EXPECT_EQ(markOf(c, 2), 3);
    EXPECT_EQ(markOf(c, 3), 4);
    EXPECT_EQ(c.show.currentScene(), 2);
    EXPECT_EQ(c.show.lastScene(), 3);

    setScenes(c, 3, 3);
    DeleteScene(c);
    EXPECT_EQ(c.show.currentScene(), 2);
    EXPECT_EQ(c.show.lastScene(), 2);
    EXPECT_EQ(markOf(c, 2), 3);  // the record at index 3 was the one removed
}

TEST_F(SceneListTest, DeleteOnAOneSceneShowAndTheFirstScene) {
    setScenes(c, 0, 0);
    DeleteScene(c);
    EXPECT_EQ(c.show.currentScene(), 0);
    EXPECT_EQ(c.show.lastScene(), 0);
    EXPECT_EQ(markOf(c, 0), 1);  // content shifted down
}

TEST_F(SceneListTest, DeleteFromAFullShowClearsTheVacatedTopRecord) {
    setScenes(c, 255, 255);
    DeleteScene(c);
    EXPECT_EQ(c.show.currentScene(), 254);
    EXPECT_EQ(c.show.lastScene(), 254);
    EXPECT_EQ(markOf(c, 254), 254);
    for (int i = layout::sceneOffset(255); i < layout::kShowSize; ++i) ASSERT_EQ(c.show.get(i), 0);

    markScenes(c);
    setScenes(c, 0, 255);
    DeleteScene(c);
    EXPECT_EQ(markOf(c, 0), 1);
    EXPECT_EQ(markOf(c, 254), 255);
    EXPECT_EQ(c.show.level(255, 255), 0);
    EXPECT_EQ(c.show.lastScene(), 254);
}

TEST_F(SceneListTest, CommandsLeaveAPlayingShowAlone) {
    setScenes(c, 2, 4);
    c.showRunning.set(1);
    const auto undoBefore = c.undoCopy;
    ShowMemory::Image before;
    c.show.snapshot(before);
    for (auto cmd : {InsertScene, DeleteScene, ClearScene, CopyPreviousScene, CopySceneToBuffer,
                     PasteAsNewScene, ReplaceSceneFromBuffer})
        EXPECT_EQ(cmd(c), SceneCommand::Refused);
    const auto slider = ScrollBarStepChange(c, 5, true);
    EXPECT_FALSE(slider.changed);
    ShowMemory::Image after;
    c.show.snapshot(after);
    EXPECT_EQ(after, before);
    EXPECT_EQ(c.undoCopy, undoBefore);
    for (auto b : c.sceneBuffer) ASSERT_EQ(b, 0);
}

TEST_F(SceneListTest, ClearAndCopyPrevious) {
    setScenes(c, 3, 4);
    ClearScene(c);
    for (int i = 0; i < layout::kSceneSize; ++i)
        ASSERT_EQ(c.show.get(layout::sceneOffset(3) + i), 0);
    EXPECT_EQ(markOf(c, 4), 4);
    EXPECT_EQ(c.undoCopy[layout::levelOffset(3, 1)], 3);

    CopyPreviousScene(c);
    EXPECT_EQ(markOf(c, 3), 2);
    EXPECT_EQ(c.show.get(layout::sceneOffset(3)), 2);

    // On scene 0 only the undo copy is taken.
    setScenes(c, 0, 4);
    c.undoCopy.fill(0);
    EXPECT_EQ(CopyPreviousScene(c), SceneCommand::Done);
    EXPECT_EQ(markOf(c, 0), 0);
    EXPECT_EQ(c.undoCopy[layout::levelOffset(1, 1)], 1);
}

TEST_F(SceneListTest, BufferCopyAndReplace) {
    setScenes(c, 7, 9);
    CopySceneToBuffer(c);
    EXPECT_EQ(c.sceneBuffer[0], 7);
    EXPECT_EQ(c.sceneBuffer[1], 7);
    setScenes(c, 2, 9);
    EXPECT_EQ(ReplaceSceneFromBuffer(c), SceneCommand::Done);
    EXPECT_EQ(markOf(c, 2), 7);
    EXPECT_EQ(c.show.level(2, 255), 255 - 7);
    UndoFromMemory(c);
    EXPECT_EQ(markOf(c, 2), 2);
}

TEST_F(SceneListTest, UndoAfterPasteAsNewKeepsTheInsertedDuplicate) {
    setScenes(c, 7, 9);
    CopySceneToBuffer(c);
    setScenes(c, 2, 4);
    EXPECT_EQ(PasteAsNewScene(c), SceneCommand::Done);
    EXPECT_EQ(c.show.currentScene(), 3);
    EXPECT_EQ(c.show.lastScene(), 5);
    EXPECT_EQ(markOf(c, 3), 7);
    UndoFromMemory(c);
    EXPECT_EQ(c.show.currentScene(), 3);
    EXPECT_EQ(c.show.lastScene(), 5);
    EXPECT_EQ(markOf(c, 3), 2);  // the duplicate of the former current scene
    EXPECT_EQ(markOf(c, 4), 3);
}

TEST_F(SceneListTest, PasteAsNewOnAFullShowReplacesNothing) {
    setScenes(c, 7, 9);
    CopySceneToBuffer(c);
    setScenes(c, 20, 255);
    c.undoCopy.fill(0);
    EXPECT_EQ(PasteAsNewScene(c), SceneCommand::NotInserted);
    EXPECT_EQ(c.undoCopy[cell::kLastScene], 0);
    EXPECT_EQ(markOf(c, 20), 20);
    EXPECT_EQ(c.show.currentScene(), 20);
}

TEST_F(SceneListTest, UndoRestoresEverythingIncludingCells) {
    setScenes(c, 2, 4);
    c.show.set(layout::nameOffset(5), 'A');
    ToMemoryUndo(c);
    DeleteScena(c.show);
    c.show.set(layout::nameOffset(5), 'B');
    c.show.set(layout::rateOffset(9), 1);
    UndoFromMemory(c);
    EXPECT_EQ(c.show.lastScene(), 4);
    EXPECT_EQ(markOf(c, 2), 2);
    EXPECT_EQ(c.show.get(layout::nameOffset(5)), 'A');
    EXPECT_EQ(c.show.get(layout::rateOffset(9)), 0);
}

TEST_F(SceneListTest, SceneSliderGrowsTheShowOnlyWithAutoAdd) {
    setScenes(c, 4, 4);
    auto r = ScrollBarStepChange(c, 5, false);
    EXPECT_TRUE(r.changed);
    EXPECT_FALSE(r.added);
    EXPECT_EQ(c.show.currentScene(), 5);
    EXPECT_EQ(c.show.lastScene(), 4);
    EXPECT_EQ(markOf(c, 5), 5);
    EXPECT_EQ(r.sliderMaximum, 5);
    EXPECT_EQ(c.show.CurrentSceneBase(), layout::sceneOffset(5));

    r = ScrollBarStepChange(c, 5, true);
    EXPECT_TRUE(r.added);
    EXPECT_EQ(c.show.lastScene(), 5);  // LabelCoda shows 6
    EXPECT_EQ(markOf(c, 5), 4);
    EXPECT_EQ(r.sliderMaximum, 6);

    // Within the show nothing is added.
    r = ScrollBarStepChange(c, 2, true);
    EXPECT_FALSE(r.added);
    EXPECT_EQ(c.show.currentScene(), 2);
}

TEST_F(SceneListTest, SceneSliderMaximumStopsAt255) {
    setScenes(c, 254, 254);
    auto r = ScrollBarStepChange(c, 255, true);
    EXPECT_TRUE(r.added);
    EXPECT_EQ(c.show.lastScene(), 255);
    EXPECT_EQ(r.sliderMaximum, 255);
    EXPECT_EQ(markOf(c, 255), 254);
}

}  // namespace
}  // namespace lumetra
