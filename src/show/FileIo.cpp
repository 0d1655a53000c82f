#include "show/FileIo.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "show/SystemErrorText.h"

namespace lumetra::io {

namespace fileText {
std::string notFound(const std::string& path) {
    return "Файл " + path + " не существует";
}

std::string readError(const std::string& path, int err) {
    return "Ошибка чтения файла " + path + ": " + systemErrorText(err);
}

std::string writeError(const std::string& path, int err) {
    return "Ошибка записи файла " + path + ": " + systemErrorText(err);
}

std::string notRegular(const std::string& path) {
    return "Ошибка чтения файла " + path + ": это не обычный файл";
}

std::string tooLarge(const std::string& path, std::size_t limit) {
    return "Ошибка чтения файла " + path + ": файл больше " + std::to_string(limit) + " байт";
}

std::string tooShort(const std::string& path, std::size_t have, std::size_t need) {
    return "Ошибка чтения файла " + path + ": файл слишком короткий (" + std::to_string(have) +
           " байт, нужно " + std::to_string(need) + ")";
}
}  // namespace fileText

namespace {

FileResult failure(FileStatus status, std::string message, int err = 0) {
    return FileResult{status, std::move(message), err};
}

// A failed system call: the text names the file and the reason.
FileResult systemFailure(std::string (*text)(const std::string&, int), const std::string& path,
                         int err) {
    return failure(FileStatus::Failed, text(path, err), err);
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

std::string nameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a save really replaces: a symbolic link is followed (to the end
// of a chain), so that the link stays and its target gets the new bytes.
std::string saveTarget(const std::string& path) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        std::vector<char> buf(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4095) + 1);
        const ssize_t n = ::readlink(current.c_str(), buf.data(), buf.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= buf.size()) return current;
        std::string link(buf.data(), static_cast<std::size_t>(n));
        current = link.front() == '/' ? link : folderOf(current) + "/" + link;
    }
    return current;
}

constexpr int kTempSuffix = 6;  // the XXXXXX of mkstemp

// A temporary of our own that a killed save left beside the file: the
// file's name, a dot and six characters of mkstemp's alphabet, at least one
// of them a digit or a capital (so that a name such as "show.lum.backup" is
// never taken for one), a plain file of ours.
bool isLeftoverTemp(const std::string& folder, const std::string& base, const char* entry) {
    const std::string name(entry);
    if (name.size() != base.size() + 1 + kTempSuffix || name.compare(0, base.size(), base) != 0 ||
        name[base.size()] != '.')
        return false;
    bool mixed = false;
    for (std::size_t k = base.size() + 1; k < name.size(); ++k) {
        const char c = name[k];
        const bool lower = c >= 'a' && c <= 'z';
        const bool other = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!lower && !other) return false;
        mixed = mixed || other;
    }
    struct stat st {};
    const std::string full = folder + "/" + name;
    return mixed && ::lstat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           st.st_uid == ::geteuid();
}

void removeLeftoverTemps(const std::string& path, const std::string& keep) {
    const std::string folder = folderOf(path);
    const std::string base = nameOf(path);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* e = ::readdir(dir)) {
        if (isLeftoverTemp(folder, base, e->d_name) && folder + "/" + e->d_name != keep)
            ::unlink((folder + "/" + e->d_name).c_str());
    }
    ::closedir(dir);
}

}  // namespace

ReadResult readFile(const std::string& path, std::size_t minSize, std::size_t maxSize) {
    ReadResult result;
    // Non-blocking, so that a FIFO or a device named as a show cannot hold
    // the console at its open; anything but a plain file is then refused.
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0) {
        const int err = errno;
        static_cast<FileResult&>(result) =
            err == ENOENT ? failure(FileStatus::NotFound, fileText::notFound(path))
                          : failure(FileStatus::Failed, fileText::readError(path, err), err);
        return result;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        static_cast<FileResult&>(result) =
            systemFailure(fileText::readError, path, errno);
        return result;
    }
    if (!S_ISREG(st.st_mode)) {
        static_cast<FileResult&>(result) = failure(FileStatus::Failed, fileText::notRegular(path));
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
                systemFailure(fileText::readError, path, errno);
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

FileResult writeFileAtomic(const std::string& named, const std::uint8_t* data, std::size_t size) {
    const std::string path = saveTarget(named);
    // The temporary lives in the target's folder so that the rename stays on
    // one file system and therefore replaces the file in one step.
    std::string tmp = path + ".XXXXXX";
    Fd fd(::mkostemp(tmp.data(), O_CLOEXEC));
    if (fd.get() < 0) return systemFailure(fileText::writeError, path, errno);

    auto abandon = [&](int err) {
        ::unlink(tmp.c_str());
        return systemFailure(fileText::writeError, path, err);
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
    removeLeftoverTemps(path, tmp);

    // Make the rename itself durable; the new file is already in place, so a
    // failure here is not reported as a failed save.
    Fd dir(::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
    return FileResult::success();
}

}  // namespace lumetra::io
