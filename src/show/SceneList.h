#pragma once

#include <string_view>

#include "core/Console.h"

namespace lumetra {

// Status texts of the scene-list commands, exactly as the console shows them.
namespace sceneText {
inline constexpr std::string_view kSnapshot = "  данные сохранены ";
inline constexpr std::string_view kUndone = " данные возвращены ";
inline constexpr std::string_view kToBuffer = " Записать в буфер ";
inline constexpr std::string_view kAutoAdd = " Автодобавление сцен ";
// An insert that cannot be made says why instead of reporting a snapshot.
inline constexpr std::string_view kFullShow = " Сцена не вставлена: в Шоу уже 256 сцен ";
inline constexpr std::string_view kNoRoomAfter = " Сцена не вставлена: после сцены 256 места нет ";
}  // namespace sceneText

// ---- Worker routines: no playback test of their own. -----------------------

// Takes the one undo copy of the whole show (replacing the previous one).
// The window shows sceneText::kSnapshot and enables its four undo buttons.
void ToMemoryUndo(Console& console);

// Puts the undo copy back over the whole show, cells 131 and 132 included.
// The window shows sceneText::kUndone and disables the undo buttons; it
// alone knows whether a copy was taken since the last undo or clear.
void UndoFromMemory(Console& console);

// Inserts a duplicate of the current scene after it and makes it current;
// the records above move up by one. Returns false and changes nothing when
// the current scene is 255 or the show already has 256 scenes (a full show
// keeps every scene rather than push its last one out).
bool InsertNewScena(ShowMemory& show);

// Why InsertNewScena would refuse, or nothing when it can insert.
enum class InsertRefusal { None, FullShow, NoRoomAfter };
InsertRefusal insertRefusal(const ShowMemory& show);

// Removes the current scene; the records above move down by one and the
// vacated record 255 is cleared. Deleting the last scene makes the one
// before it current; a one-scene show keeps one scene.
void DeleteScena(ShowMemory& show);

// Current scene record into the clipboard (the window shows
// sceneText::kToBuffer).
void SaveToPaste(Console& console);

// Takes an undo copy, then the clipboard into the current scene record.
void LoadFromPaste(Console& console);

// ---- Commands of the "Сцены" menu and the sequencer page. ------------------
// While the show plays they leave the show alone and return Refused; the
// window then only refreshes, without a message.

enum class SceneCommand {
    Refused,      // the show plays: nothing done, no undo copy
    Done,         // done (an undo copy was taken where the command takes one)
    NotInserted,  // no scene could be inserted (see insertRefusal): nothing done, no undo copy
};

SceneCommand InsertScene(Console& console);             // InsertScenaItemClick
SceneCommand DeleteScene(Console& console);             // DeleteScenaItemClick
SceneCommand ClearScene(Console& console);              // ClearScenaItemClick
SceneCommand CopyPreviousScene(Console& console);       // CopyPredScenaClick
SceneCommand CopySceneToBuffer(Console& console);       // CopyToBufferItemClick (no undo copy)
SceneCommand PasteAsNewScene(Console& console);         // SpeedButtonNewScenaPasteClick
SceneCommand ReplaceSceneFromBuffer(Console& console);  // PasteFromBufferItemClick

// Maximum of the scene slider: one beyond the last scene, at most 255.
int sceneSliderMaximum(const ShowMemory& show);

struct SceneSliderResult {
    bool changed;       // false while the show plays: only refresh
    bool added;         // auto-add grew the show by a copy of the scene before
    int sliderMaximum;  // new maximum of ScrollBarStep
};

// ScrollBarStepChange: the slider position becomes the current scene; with
// auto-add on, stepping beyond the last scene copies the scene before it
// into it and makes it the last scene.
SceneSliderResult ScrollBarStepChange(Console& console, int position, bool autoAdd);

}  // namespace lumetra
