#include "show/SceneList.h"

#include <algorithm>

namespace lumetra {

namespace {
constexpr int kTopScene = layout::kSceneCount - 1;

bool playing(const Console& console) {
    return console.showRunning.get() != 0;
}
}  // namespace

void ToMemoryUndo(Console& console) {
    console.show.snapshot(console.undoCopy);
}

void UndoFromMemory(Console& console) {
    console.show.restore(console.undoCopy);
}

InsertRefusal insertRefusal(const ShowMemory& show) {
    if (show.lastScene() == kTopScene) return InsertRefusal::FullShow;
    if (show.currentScene() == kTopScene) return InsertRefusal::NoRoomAfter;
    return InsertRefusal::None;
}

bool InsertNewScena(ShowMemory& show) {
    const int current = show.currentScene();
    const int last = show.lastScene();
    if (insertRefusal(show) != InsertRefusal::None) return false;
    // From the top down, so no record is overwritten before it has moved.
    for (int s = kTopScene - 1; s >= current; --s) show.copyRecord(s, s + 1);
    show.setCell(cell::kCurrentScene, static_cast<std::uint8_t>(current + 1));
    show.setCell(cell::kLastScene, static_cast<std::uint8_t>(last + 1));
    return true;
}

void DeleteScena(ShowMemory& show) {
    int current = show.currentScene();
    int last = show.lastScene();
    for (int s = current + 1; s <= kTopScene; ++s) show.copyRecord(s, s - 1);
    // The top record would otherwise hold a second copy of scene 254.
    show.fill(0, layout::sceneOffset(kTopScene), layout::kShowSize);
    if (current != 0 && current >= last) --current;
    if (last > 0) --last;
    show.setCell(cell::kCurrentScene, static_cast<std::uint8_t>(current));
    show.setCell(cell::kLastScene, static_cast<std::uint8_t>(last));
}

void SaveToPaste(Console& console) {
    console.show.copyOut(console.sceneBuffer.data(),
                         layout::sceneOffset(console.show.currentScene()), layout::kSceneSize);
}

void LoadFromPaste(Console& console) {
    ToMemoryUndo(console);
    console.show.copyIn(console.sceneBuffer.data(),
                        layout::sceneOffset(console.show.currentScene()), layout::kSceneSize);
}

SceneCommand InsertScene(Console& console) {
    if (playing(console)) return SceneCommand::Refused;
    if (insertRefusal(console.show) != InsertRefusal::None) return SceneCommand::NotInserted;
    ToMemoryUndo(console);
    InsertNewScena(console.show);
    return SceneCommand::Done;
}

SceneCommand DeleteScene(Console& console) {
    if (playing(console)) return SceneCommand::Refused;
    ToMemoryUndo(console);
    DeleteScena(console.show);
    return SceneCommand::Done;
}

SceneCommand ClearScene(Console& console) {
    if (playing(console)) return SceneCommand::Refused;
    ToMemoryUndo(console);
    const int from = layout::sceneOffset(console.show.currentScene());
    console.show.fill(0, from, from + layout::kSceneSize);
    return SceneCommand::Done;
}

SceneCommand CopyPreviousScene(Console& console) {
    if (playing(console)) return SceneCommand::Refused;
    ToMemoryUndo(console);
    const int current = console.show.currentScene();
    if (current != 0) console.show.copyRecord(current - 1, current);
    return SceneCommand::Done;
}

SceneCommand CopySceneToBuffer(Console& console) {
    if (playing(console)) return SceneCommand::Refused;
    SaveToPaste(console);
    return SceneCommand::Done;
}

SceneCommand PasteAsNewScene(Console& console) {
    if (playing(console)) return SceneCommand::Refused;
    // Without a new scene the paste would land on the scene that was
    // current, which the operator did not ask to replace.
    if (insertRefusal(console.show) != InsertRefusal::None) return SceneCommand::NotInserted;
    ToMemoryUndo(console);
    InsertNewScena(console.show);
    LoadFromPaste(console);
    return SceneCommand::Done;
}

SceneCommand ReplaceSceneFromBuffer(Console& console) {
    if (playing(console)) return SceneCommand::Refused;
    ToMemoryUndo(console);
    LoadFromPaste(console);
    return SceneCommand::Done;
}

int sceneSliderMaximum(const ShowMemory& show) {
    return std::min(show.lastScene() + 1, kTopScene);
}

SceneSliderResult ScrollBarStepChange(Console& console, int position, bool autoAdd) {
    ShowMemory& show = console.show;
    if (playing(console)) return {false, false, sceneSliderMaximum(show)};
    const int current = std::clamp(position, 0, kTopScene);
    show.setCell(cell::kCurrentScene, static_cast<std::uint8_t>(current));
    show.RaschetAdr(static_cast<std::uint8_t>(current));
    bool added = false;
    if (autoAdd && current > show.lastScene()) {
        show.copyRecord(current - 1, current);
        show.setCell(cell::kLastScene, static_cast<std::uint8_t>(current));
        added = true;
    }
    return {true, added, sceneSliderMaximum(show)};
}

}  // namespace lumetra
