#pragma once

#include <string>

#include "show/FileIo.h"
#include "show/ShowMemory.h"

namespace lumetra::io {

// Loads a show file: its first 81,920 bytes replace the whole show in one
// pass; a longer file's tail is ignored. A missing, unreadable or short file
// leaves the show untouched and says why.
FileResult loadShow(const std::string& path, ShowMemory& show);

// Writes the show image as it stands (the caller refreshes the signature
// first for a save by name) and replaces the file atomically.
FileResult saveShow(const std::string& path, const ShowMemory& show);
FileResult saveShow(const std::string& path, const ShowMemory::Image& image);

// The three-minute autosave: the same image, signature untouched.
FileResult autosaveShow(const std::string& path, const ShowMemory& show);
FileResult autosaveShow(const std::string& path, const ShowMemory::Image& image);

}  // namespace lumetra::io
