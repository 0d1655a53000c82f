#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/Console.h"
#include "show/ColorEditFile.h"

namespace lumetra {

// Texts of the channel names room, exactly as the console shows them.
namespace nameText {
inline constexpr std::string_view kFieldHint =
    "Имя канала. Максимальное число символов - 16. Для изменения цвета дабл-клик";
inline constexpr std::string_view kTooManyNames =
    " Копирование не выполнено: Максимальное число имен > 256 ! ";
inline constexpr std::string_view kAskClearNames = "Очистить имена каналов?";
inline constexpr std::string_view kAskClearColors = "Очистить цвета имен каналов?";
inline constexpr std::string_view kAskClearGobo = "Очистить графическую подсказку каналов?";
inline constexpr std::string_view kAskClearSplit = "Очистить цветовые границы каналов?";
}  // namespace nameText

// One channel name as stored: 16 Windows-1251 bytes.
using NameBytes = std::array<std::uint8_t, layout::kNameSize>;

constexpr int kNoColorChannel = 1000;  // "Нет выбора"
constexpr int kGoboPictures = 142;     // pictures 0..141; other numbers show none

// The name of a channel as a field shows it: every 0 byte becomes a blank,
// then the trailing blanks become 0 again. The show itself is not touched,
// so showing a loaded show never changes its bytes.
NameBytes LoadEdit(const ShowMemory& show, int channel);

// Stores 16 bytes into the slot of a channel.
void SaveEdit(ShowMemory& show, int channel, const NameBytes& name);

// A typed name as the field stores it: its first 16 bytes laid over 16
// blanks.
NameBytes padName(std::string_view bytes);

// The rule on leaving a name field: every blank (32) of the whole name area
// becomes 0.
void BlanksToZero(ShowMemory& show);

// The name as the windows show it: 0 bytes inside as blanks, trailing blanks
// (0 or 32) left off. Windows-1251 bytes; the show is not changed.
std::string nameDisplayBytes(const ShowMemory& show, int channel);

// The clearing commands of the menu "Установки".
void ClearNameChannel(ShowMemory& show);          // every name byte 0
void ClearNameColors(io::ChannelColors& colors);  // name colours 0..510 := 255
void ClearGoboTypes(io::ChannelColors& colors);   // pictures 0..510 := 255
void ClearSplitColors(io::ChannelColors& colors, std::uint8_t r, std::uint8_t g,
                      std::uint8_t b);  // markers 0..510 := (r, g, b)

// The fields of the names block copy ("Имен " on "Копирование").
struct NameCopyFields {
    int first = 1;           // SpinEditNameFirst, 1..254
    int last = 10;           // SpinEditNameLast, 1..255
    int from = 11;           // SpinEditNameFrom, 1..254
    int repeat = 1;          // SpinEditRepeatName, 1..8
    int digit = 2;           // SpinEditFifsrtDigit, 1..8
    bool numberName = true;  // CheckBoxNamePlus "+ Namber Name"
    bool markFirst = true;   // CheckBoxbEGcH "Отмечать первый канал"
    bool linked = true;      // CheckBoxTogmame "Связать"
};

// What the spin boxes become when one of the three channel fields changes
// (a field moved by a rule runs its own rule in turn).
NameCopyFields nameFirstChanged(NameCopyFields f);
NameCopyFields nameLastChanged(NameCopyFields f);
NameCopyFields nameFromChanged(NameCopyFields f);

// Outcome of a names block copy; `from` and `digit` are the values the
// copy leaves for the spin boxes (unbounded: the boxes keep their ranges).
struct NameCopyResult {
    bool refused = false;
    int from = 0;
    int digit = 0;
};

// The names block copy: takes the undo copy, refuses a copy whose last
// destination is past channel 255, else copies names, pictures and name
// colours R times and marks the copies.
NameCopyResult ButtonNameBlocCopyClick(Console& console, io::ChannelColors& colors,
                                       const NameCopyFields& fields);

}  // namespace lumetra
