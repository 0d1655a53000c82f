#include <gtest/gtest.h>

#include <memory>

#include "playback/StaticPictures.h"

namespace lumetra {
namespace {

class StaticPicturesTest : public ::testing::Test {
  protected:
    std::unique_ptr<Console> owned = std::make_unique<Console>();
    Console& con = *owned;
    StaticPictureEditor editor{con};

    // A show whose scene 0, rates, selection and current scene are all
    // different from what edit mode leaves.
    void fillShow(std::uint8_t seed) {
        for (int i = 0; i < 256; ++i) {
            con.show.set(layout::sceneOffset(0) + i, static_cast<std::uint8_t>(seed + i));
            con.show.set(layout::rateOffset(0) + i, static_cast<std::uint8_t>(seed + 2 * i));
            con.show.set(layout::selectionOffset(i), i % 3 == 0 ? 1 : 0);
        }
        con.show.setCell(cell::kCurrentScene, seed);
    }
    ShowMemory::Image image() const {
        ShowMemory::Image out;
        con.show.snapshot(out);
        return out;
    }
};

TEST_F(StaticPicturesTest, SaveImageCarriesTheShowsOwnAreasWhileEditing) {
    fillShow(40);
    ShowMemory::Image expected = image();
    editor.enter();
    editor.ReadChaser(2);
    con.show.setLevel(0, 1, 99);
    con.show.setLevel(3, 1, 12);  // an ordinary edit of another scene is saved
    expected[layout::levelOffset(3, 1)] = 12;
    ShowMemory::Image saved = image();
    editor.imageToSave(saved);
    EXPECT_EQ(saved, expected);

    editor.leave();
    ShowMemory::Image normal = image();
    const ShowMemory::Image untouched = normal;
    editor.imageToSave(normal);
    EXPECT_EQ(normal, untouched);
}

TEST_F(StaticPicturesTest, ANewShowWhileEditingIsBorrowedInsteadOfTheOld) {
    fillShow(1);
    editor.enter();
    fillShow(100);  // a show file replaced the show
    const ShowMemory::Image loaded = image();
    editor.showReplaced();
    EXPECT_EQ(con.show.currentScene(), 0);
    editor.leave();
    EXPECT_EQ(image(), loaded);
}

}  // namespace
}  // namespace lumetra
