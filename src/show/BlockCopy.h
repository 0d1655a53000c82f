#pragma once

#include <string_view>

#include "core/Console.h"

namespace lumetra {

// Warnings of the "Копирование" page, exactly as the console shows them.
namespace copyText {
inline constexpr std::string_view kTooManyChannels =
    " Копирование не выполнено:Максимальное число каналов > 256 ! ";
inline constexpr std::string_view kTooManyScenes =
    " Копирование не выполнено:Максимальное число сцен > 256 ! ";
}  // namespace copyText

// The three channel fields of a group: first channel F, last channel L
// ("включительно") and start channel S, as the spin boxes show them.
struct ChannelBlock {
    int first;
    int last;
    int start;
};

// The three scene fields of a group, counted from 1 like the scene numbers
// the operator sees (field value n is scene index n - 1).
struct SceneBlock {
    int first;
    int last;
    int start;
};

// Outcome of a block copy: an empty warning means the copy ran (it may have
// had nothing to copy); otherwise nothing was changed and the window shows
// the warning in a box with one OK button.
struct BlockCopyResult {
    std::string_view warning;
    bool refused() const { return !warning.empty(); }
};

// Every block copy first takes the undo copy (also when it is then refused)
// and runs whether or not the show plays.
//
// A channel block is copied one channel at a time in ascending order, from
// channel F through L + 1 (one beyond the last field) to S + (channel - F).
// Each channel is read just before it is copied, so a destination that runs
// ahead into the source repeats the beginning of the block. The copy stops
// at the first source or destination past channel 255, so it never leaves
// the scene record, and byte 0 of a record is never written.

// "Каналов текущей Сцены ": the block within the current scene; refused
// when L + S - F > 256.
BlockCopyResult ButtonLevelBlocCopyClick(Console& console, ChannelBlock block);

// "Каналов (все сцены)": the block within every scene 0..255; refused when
// L + S - F >= 256.
BlockCopyResult SpeedButtonLevelJobScensClick(Console& console, ChannelBlock block);

// "Каналов в сценах": refused when L + S > 256, then when the last-scene
// field plus the start-scene field > 256. Nothing happens when the
// last-scene field is below the first. Otherwise, for each scene field
// value k from first to last, in ascending order, the channel block of
// scene k is copied into scene start + (k - first): scene k's channels
// F..L + 1 go to channels S.. of that scene. Scenes are taken as they stand
// when visited, so a destination range that runs ahead into the source
// range repeats, like the channels. A scene equal to its destination gives
// the plain in-scene copy. The show length (cell 132) is not changed.
BlockCopyResult SpeedButtonScenAllCopyClick(Console& console, ChannelBlock channels,
                                            SceneBlock scenes);

// "Сцен (все каналы)": the whole records (byte 0 included) of scenes
// first..last go to the scenes from start on, as they were before the copy
// whichever way the ranges overlap. Refused with the scene warning when the
// last destination would lie past scene 256; nothing happens when the last
// field is below the first. The show length (cell 132) is not changed.
BlockCopyResult SpeedButtonScenaBlocCopyClick(Console& console, SceneBlock scenes);

}  // namespace lumetra
