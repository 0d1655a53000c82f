#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace lumetra::io {

// How a file operation ended. A missing file is told apart from every other
// failure because the windows answer it with their own message box
// ("Файл не существует !", "Файл -Color- не существует !").
enum class FileStatus { Ok, NotFound, Failed };

struct FileResult {
    FileStatus status = FileStatus::Ok;
    std::string message;  // operator-facing text; empty when ok
    int systemError = 0;  // the errno of a failed system call, else 0

    bool ok() const { return status == FileStatus::Ok; }
    bool notFound() const { return status == FileStatus::NotFound; }

    static FileResult success() { return {}; }
};

// The error texts of the file layer, written once so every file of the
// console reports a failure in the same words.
namespace fileText {
std::string notFound(const std::string& path);
std::string readError(const std::string& path, int err);
std::string writeError(const std::string& path, int err);
std::string notRegular(const std::string& path);
std::string tooLarge(const std::string& path, std::size_t limit);
std::string tooShort(const std::string& path, std::size_t have, std::size_t need);
}  // namespace fileText

struct ReadResult : FileResult {
    std::vector<std::uint8_t> data;
};

// Reads the start of a file: at most maxSize bytes. A file shorter than
// minSize fails with the "too short" text and no data. Only plain files are
// read: a FIFO, a device or a folder fails at once instead of blocking.
ReadResult readFile(const std::string& path, std::size_t minSize,
                    std::size_t maxSize = std::numeric_limits<std::size_t>::max());

// Replaces the file atomically: a temporary file beside the target is
// written, flushed to disk and renamed over it. On any failure the temporary
// is removed and the old file stays as it was. A symbolic link is kept: the
// file it points to is the one replaced. Temporaries that an earlier, killed
// save of the same file left behind are removed.
FileResult writeFileAtomic(const std::string& path, const std::uint8_t* data, std::size_t size);

}  // namespace lumetra::io
