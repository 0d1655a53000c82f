#include "playback/StaticPictures.h"

#include <algorithm>

namespace lumetra {

namespace {
constexpr int kArea = layout::kSceneSize;
constexpr int kSurface = layout::sceneOffset(0);
constexpr int kSelection = layout::selectionOffset(0);
constexpr int kRates = layout::rateOffset(0);

int pictureFlags(int k) {
    return layout::pictureOffset(std::clamp(k, 0, layout::kPictureCount - 1));
}
}  // namespace

bool StaticPictureEditor::enter() {
    if (editing_) return false;
    console_.showRunning.set(0);
    borrow();
    editing_ = true;
    return true;
}

void StaticPictureEditor::borrow() {
    ShowMemory& show = console_.show;
    show.copyOut(scene0_.data(), kSurface, kArea);
    show.copyOut(rates_.data(), kRates, kArea);
    currentScene_ = show.cell(cell::kCurrentScene);
    show.setCell(cell::kCurrentScene, 0);
    show.copyOut(selection_.data(), kSelection, kArea);
    clearSurface();
}

void StaticPictureEditor::leave() {
    if (!editing_) return;
    ShowMemory& show = console_.show;
    show.copyIn(scene0_.data(), kSurface, kArea);
    show.copyIn(rates_.data(), kRates, kArea);
    show.setCell(cell::kCurrentScene, currentScene_);
    show.copyIn(selection_.data(), kSelection, kArea);
    editing_ = false;
}

void StaticPictureEditor::showReplaced() {
    if (editing_) borrow();
}

void StaticPictureEditor::clearSurface() {
    console_.show.fill(0, kSurface, kSurface + kArea);
    console_.show.fill(0, kSelection, kSelection + kArea);
}

void StaticPictureEditor::ReadChaser(int picture) {
    ShowMemory& show = console_.show;
    const int flags = pictureFlags(picture);
    const int levels = flags + layout::kPictureLevels;
    for (int i = 0; i < kArea; ++i) {
        const std::uint8_t flag = show.get(flags + i);
        show.set(kSelection + i, flag);
        show.set(kSurface + i, flag == 1 ? show.get(levels + i) : 0);
    }
}

void StaticPictureEditor::SaveChaser(int picture) {
    ShowMemory& show = console_.show;
    const int flags = pictureFlags(picture);
    const int levels = flags + layout::kPictureLevels;
    for (int i = 0; i < kArea; ++i) {
        show.set(flags + i, show.get(kSelection + i));
        show.set(levels + i, show.get(kSurface + i));
    }
}

void StaticPictureEditor::copyScene(int position) {
    // By index, not through CurrentSceneBase, which the tick rewrites. At
    // position 255 the source is scene 0, the surface itself.
    ShowMemory& show = console_.show;
    const int source = layout::sceneOffset((position + 1) % layout::kSceneCount);
    if (source != kSurface)
        for (int i = 0; i < kArea; ++i) show.set(kSurface + i, show.get(source + i));
    show.fill(0, kSelection, kSelection + kArea);
}

void StaticPictureEditor::deleteSurface() {
    console_.show.snapshot(console_.undoCopy);
    clearSurface();
}

void StaticPictureEditor::deleteAll() {
    console_.show.snapshot(console_.undoCopy);
    console_.show.fill(0, layout::kStaticPictures, layout::kSelectionFlags);
    clearSurface();
}

void StaticPictureEditor::undo() {
    console_.show.restore(console_.undoCopy);
}

void StaticPictureEditor::imageToSave(ShowMemory::Image& image) const {
    if (!editing_) return;
    std::copy(scene0_.begin(), scene0_.end(), image.begin() + kSurface);
    std::copy(rates_.begin(), rates_.end(), image.begin() + kRates);
    std::copy(selection_.begin(), selection_.end(), image.begin() + kSelection);
    image[cell::kCurrentScene] = currentScene_;
}

}  // namespace lumetra
