#include "show/FileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace lumetra::io {

namespace fileText {
std::string notFound(const std::string& path) {
    return "Файл " + path + " не существует";
}

std::string readError(const std::string& path, int err) {
    return "Ошибка чтения файла " + path + ": " + std::strerror(err);
}

std::string writeError(const std::string& path, int err) {
    return "Ошибка записи файла " + path + ": " + std::strerror(err);
}

std::string tooShort(const std::string& path, std::size_t have, std::size_t need) {
    return "Ошибка чтения файла " + path + ": файл слишком короткий (" + std::to_string(have) +
           " байт, нужно " + std::to_string(need) + ")";
}
}  // namespace fileText

namespace {

FileResult failure(FileStatus status, std::string message) {
    return FileResult{status, std::move(message)};
}

// Closes the descriptor on every path out of a function.
class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    // Closes now so that a failing close is seen (it may report a lost write).
    int close() {
        const int rc = ::close(fd_);
        fd_ = -1;
        return rc;
    }

  private:
    int fd_;
};

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace

ReadResult readFile(const std::string& path, std::size_t minSize, std::size_t maxSize) {
    ReadResult result;
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        const int err = errno;
        static_cast<FileResult&>(result) =
            err == ENOENT ? failure(FileStatus::NotFound, fileText::notFound(path))
                          : failure(FileStatus::Failed, fileText::readError(path, err));
        return result;
    }
    std::vector<std::uint8_t> data;
    std::uint8_t chunk[65536];
    while (data.size() < maxSize) {
        const std::size_t want = std::min(sizeof chunk, maxSize - data.size());
        const ssize_t got = ::read(fd.get(), chunk, want);
        if (got < 0) {
            if (errno == EINTR) continue;
            static_cast<FileResult&>(result) =
                failure(FileStatus::Failed, fileText::readError(path, errno));
            return result;
        }
        if (got == 0) break;
        data.insert(data.end(), chunk, chunk + got);
    }
    if (data.size() < minSize) {
        static_cast<FileResult&>(result) =
            failure(FileStatus::Failed, fileText::tooShort(path, data.size(), minSize));
        return result;
    }
    result.data = std::move(data);
    return result;
}

FileResult writeFileAtomic(const std::string& path, const std::uint8_t* data, std::size_t size) {
    // The temporary lives in the target's folder so that the rename stays on
    // one file system and therefore replaces the file in one step.
    std::string tmp = path + ".XXXXXX";
    Fd fd(::mkostemp(tmp.data(), O_CLOEXEC));
    if (fd.get() < 0) return failure(FileStatus::Failed, fileText::writeError(path, errno));

    auto abandon = [&](int err) {
        ::unlink(tmp.c_str());
        return failure(FileStatus::Failed, fileText::writeError(path, err));
    };

    // mkstemp creates the file for its owner only; a replaced file keeps its
    // permissions, a new one is readable by all like any file we create.
    struct stat old {};
    const mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    if (::fchmod(fd.get(), mode) != 0) return abandon(errno);

    std::size_t done = 0;
    while (done < size) {
        const ssize_t put = ::write(fd.get(), data + done, size - done);
        if (put < 0) {
            if (errno == EINTR) continue;
            return abandon(errno);
        }
        done += static_cast<std::size_t>(put);
    }
    if (::fsync(fd.get()) != 0) return abandon(errno);
    if (fd.close() != 0) return abandon(errno);
    if (::rename(tmp.c_str(), path.c_str()) != 0) return abandon(errno);

    // Make the rename itself durable; the new file is already in place, so a
    // failure here is not reported as a failed save.
    Fd dir(::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
    return FileResult::success();
}

}  // namespace lumetra::io
