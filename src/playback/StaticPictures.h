#pragma once

#include <array>
#include <cstdint>

#include "core/Console.h"

namespace lumetra {

// Captions of the sixteen static pictures in index order, as their keys
// and the editor's buttons show them.
constexpr std::array<const char*, layout::kPictureCount> kPictureCaptions = {
    "1", "2", "3", "4", "5", "6", "7", "8", "--", "Z", "X", "C", "V", "B", "N", "M"};

// The edit mode of the static pictures: scene 0 of the show is borrowed as
// the editing surface (levels) together with the selection flags
// (membership), and everything borrowed is given back when the editor
// closes. The check boxes of the fader page are the window's business: it
// brings them into memory before and shows them after these operations.
class StaticPictureEditor {
  public:
    explicit StaticPictureEditor(Console& console) : console_(console) {}

    bool editing() const { return editing_; }

    // ChaserItemClick: stops the show and borrows scene 0, the rate table,
    // the current scene (cell 131 becomes 0) and the selection flags; the
    // surface and the flags start empty. Refused while already editing,
    // so a second call never takes the surface for the show's own scene.
    bool enter();
    // FormClose of the editor: everything borrowed comes back.
    void leave();
    // A show was loaded or cleared while editing: what was borrowed belonged
    // to the old show, so the new show is borrowed instead.
    void showReplaced();

    void ReadChaser(int picture);
    void SaveChaser(int picture);
    // ScrollBar1Change: scene (position + 1) mod 256 onto the surface, by
    // index; the flags are cleared.
    void copyScene(int position);
    // The two deletes: the undo copy is taken first. One empties the
    // surface and the flags, all also every stored picture.
    void deleteSurface();
    void deleteAll();
    // The window's undo: the whole show as it was at the last delete.
    void undo();

    // What a save writes while editing: the show with its own scene 0,
    // rates, current scene and selection, never the surface.
    void imageToSave(ShowMemory::Image& image) const;

  private:
    using Area = std::array<std::uint8_t, layout::kSceneSize>;
    void clearSurface();
    void borrow();

    Console& console_;
    bool editing_ = false;
    Area scene0_{};
    Area rates_{};
    Area selection_{};
    std::uint8_t currentScene_ = 0;
};

}  // namespace lumetra
