#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "show/FileIo.h"

namespace lumetra::io {

constexpr int kKonveyrSlots = 20;
// A settings file is a few kilobytes; anything past this is not one.
constexpr std::size_t kMaxSettingsBytes = 1 << 20;

// What the settings file keeps between runs: the conveyor's twenty show
// files (button n from path n-1; empty = empty slot) and the show that was
// current at the last shutdown.
struct Settings {
    std::array<std::string, kKonveyrSlots> konveyr;
    std::string lastPath;
    // How the console follows the music's beat, a section of our own
    // ([Ritm]): the values of kRitmKeys, empty where not set. The section is
    // written only when one of them is set, so that a console that never
    // used it writes the file as before.
    std::array<std::string, 5> ritm;
    // How the console plays without a window (lumetra --headless), a section
    // of our own ([Player], kPlayerKeys), written like [Ritm] only once set.
    std::array<std::string, 3> player;
};

// The keys of [Ritm]: the step source ("level" or "beat"), step on every
// n-th beat (1, 2, 4, 8), keep a tapped tempo (0, 1), chase generator 1 and
// 2 follow the beat (0, 1).
inline constexpr std::array<std::string_view, 5> kRitmKeys = {"Source", "Every", "KeepTap",
                                                              "Chase1", "Chase2"};

// The keys of [Player]: play at start ("", "tempo" or "sound"), the
// conveyor at start ("", "list": from the slot of the last show, "first":
// from the first slot), and whether closing writes the show file itself
// ("1") besides the autosave file.
inline constexpr std::array<std::string_view, 3> kPlayerKeys = {"Play", "Konveyr", "SaveShow"};

struct SettingsReadResult {
    Settings settings;  // defaults (all empty) for an absent file or key
    FileResult file;    // an absent file is reported as notFound(), not an error to show
};

// The settings file in the Windows profile format: sections [Konveir]
// (File01..File20) and [LastFile] (Path). Reading accepts LF or CRLF, a
// UTF-8 byte order mark, blanks around names and values, any case in section
// and key names, and skips lines it cannot use; the first occurrence of a
// key wins and a value in matching quotes loses them, as with the system's
// profile functions.
Settings parseSettings(std::string_view text);

// The file text written: CRLF line ends, no escaping. A value cannot hold a
// line break in this format; such a value is written empty rather than let
// it start a line of its own.
std::string formatSettings(const Settings& settings);

// The text written over an existing file: our keys take their new values
// where they stand (a later duplicate of one of them is dropped), keys of
// ours the file lacks are added at the end of their section (or in a new
// section at the end), and every other line is kept as it was. Lines end
// in CRLF.
std::string mergeSettings(std::string_view existing, const Settings& settings);

// Reads at most kMaxSettingsBytes; a larger file is refused whole.
SettingsReadResult ReadIniFile(const std::string& path);

// Writes the file atomically, keeping what others keep in it (mergeSettings). On failure the
// message is "Unable to write to <path>" and the old file stays as it was.
FileResult WriteIniFile(const std::string& path, const Settings& settings);

// A relative path (such as the default name "Unit_001") names a file in the
// working folder; an absolute or empty path is returned unchanged.
std::string resolveAgainst(const std::string& path, const std::string& folder);
std::string resolveInWorkingFolder(const std::string& path);

// Caption of a conveyor button (1..20) for a bound show file or an empty
// slot. bound: true -> navy bold, false -> red regular.
struct KonveyrCaption {
    std::string text;
    bool bound;
};

// The short name of a show file: the name without its folder, cut to its
// first maxChars characters, without the extension the cut text still has.
std::string shortShowName(const std::string& path, int maxChars);

// Key prefix of a conveyor button: "Q=" .. "L=" for 1..19, " " for 20.
std::string konveyrKeyPrefix(int button);

// Start-up labelling from the settings file: key prefix and 8-character
// short name, or "Q пусто" .. "L пусто" / "пусто" for an empty slot.
KonveyrCaption KonveyrButtonCaption(int button, const std::string& path);

// ConvertorFileName: the 7-character short name the conveyor shows once the
// console runs (LabelKonveyr, and after a key prefix on an assigned button).
std::string ConvertorFileName(const std::string& path);

// Caption of a button the operator has just bound: key prefix and
// ConvertorFileName; an empty path gives the empty-slot caption.
KonveyrCaption KonveyrAssignedCaption(int button, const std::string& path);

}  // namespace lumetra::io
