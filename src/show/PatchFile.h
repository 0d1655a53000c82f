#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/Console.h"
#include "show/FileIo.h"

namespace lumetra::io {

constexpr int kPatchFileEntries = 256;
constexpr int kPatchFileSize = 2 * kPatchFileEntries;

using PatchTable = decltype(Console::patchTable);
using PatchImage = std::array<std::uint8_t, kPatchFileSize>;

// Entries 0..255, each least significant byte first.
PatchImage encodePatch(const PatchTable& table);

// Loads a patch file into entries 0..255 whole or not at all: a missing,
// unreadable or short file leaves the table as it was. Entries 256..512 are
// not part of the file and stay.
FileResult LoadPatchFile(const std::string& path, PatchTable& table);

// Writes entries 0..255 as 512 bytes, replacing the file atomically.
FileResult SavePatchFile(const std::string& path, const PatchTable& table);

}  // namespace lumetra::io
