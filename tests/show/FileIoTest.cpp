#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "TempFolder.h"
#include "show/FileIo.h"

namespace lumetra::io {
namespace {

std::vector<std::uint8_t> bytes(std::size_t n, std::uint8_t seed) {
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::uint8_t>(seed + i * 13);
    return v;
}

TEST(ReadFile, MissingShortAndLongFiles) {
    TempFolder dir;
    const ReadResult missing = readFile(dir.file("none.lum"), 10);
    EXPECT_TRUE(missing.notFound());
    EXPECT_EQ(missing.message, "Файл " + dir.file("none.lum") + " не существует");

    writeBytes(dir.file("short"), bytes(9, 1));
    const ReadResult shortFile = readFile(dir.file("short"), 10);
    EXPECT_EQ(shortFile.status, FileStatus::Failed);
    EXPECT_TRUE(shortFile.data.empty());
    EXPECT_NE(shortFile.message.find("9 байт, нужно 10"), std::string::npos);

    const auto longFile = bytes(100000, 3);
    writeBytes(dir.file("long"), longFile);
    const ReadResult head = readFile(dir.file("long"), 10, 70000);
    ASSERT_TRUE(head.ok());
    EXPECT_EQ(head.data, std::vector<std::uint8_t>(longFile.begin(), longFile.begin() + 70000));
    EXPECT_EQ(readFile(dir.file("long"), 0).data.size(), 100000u);
}

TEST(ReadFile, AFolderIsAnErrorNotAMissingFile) {
    TempFolder dir;
    const ReadResult r = readFile(dir.path().string(), 1);
    EXPECT_EQ(r.status, FileStatus::Failed);
    EXPECT_EQ(r.message.rfind("Ошибка чтения файла ", 0), 0u);
}

TEST(WriteFileAtomic, CreatesAndReplacesWithoutLeavingTemporaries) {
    TempFolder dir;
    const auto first = bytes(5000, 1), second = bytes(300, 2);
    ASSERT_TRUE(writeFileAtomic(dir.file("a.bin"), first.data(), first.size()).ok());
    EXPECT_EQ(readBytes(dir.file("a.bin")), first);
    ASSERT_TRUE(writeFileAtomic(dir.file("a.bin"), second.data(), second.size()).ok());
    EXPECT_EQ(readBytes(dir.file("a.bin")), second);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"a.bin"});
}

TEST(WriteFileAtomic, FolderThatIsAFileFailsWithTheWriteText) {
    TempFolder dir;
    writeBytes(dir.file("plain"), bytes(4, 0));
    const std::string target = dir.file("plain") + "/show.lum";
    const auto data = bytes(10, 0);
    const FileResult r = writeFileAtomic(target, data.data(), data.size());
    EXPECT_EQ(r.status, FileStatus::Failed);
    EXPECT_EQ(r.message.rfind("Ошибка записи файла " + target + ": ", 0), 0u);
}

TEST(WriteFileAtomic, FailedWriteKeepsTheOldFileWhole) {
    TempFolder dir;
    const auto old = bytes(1000, 5);
    writeBytes(dir.file("keep.lum"), old);
    const auto big = bytes(81920, 9);
    FileResult r;
    {
        FileSizeLimit limit(4096);
        r = writeFileAtomic(dir.file("keep.lum"), big.data(), big.size());
    }
    EXPECT_EQ(r.status, FileStatus::Failed);
    EXPECT_EQ(readBytes(dir.file("keep.lum")), old);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"keep.lum"});
}

}  // namespace
}  // namespace lumetra::io

namespace lumetra::io {
namespace {

TEST(ReadFile, RefusesFifosDevicesAndFoldersAtOnce) {
    TempFolder dir;
    const std::string fifo = dir.file("show.lum");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // No writer ever comes: a blocking open would never return.
    for (const std::string& path : {fifo, std::string("/dev/zero"), dir.path().string()}) {
        const ReadResult r = readFile(path, 0, 1 << 20);
        EXPECT_EQ(r.status, FileStatus::Failed) << path;
        EXPECT_TRUE(r.data.empty()) << path;
    }
    EXPECT_NE(readFile(fifo, 0).message.find("не обычный файл"), std::string::npos);
}

TEST(WriteFileAtomic, KeepsASymbolicLinkAndWritesItsTarget) {
    TempFolder dir;
    std::filesystem::create_directory(dir.path() / "shows");
    const std::string target = dir.file("shows/real.lum");
    writeBytes(target, bytes(10, 1));
    std::filesystem::create_symlink("shows/real.lum", dir.path() / "link.lum");
    std::filesystem::create_symlink("link.lum", dir.path() / "chain.lum");

    const auto data = bytes(64, 7);
    ASSERT_TRUE(writeFileAtomic(dir.file("chain.lum"), data.data(), data.size()).ok());
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link.lum"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "chain.lum"));
    EXPECT_EQ(readBytes(target), data);
    // The temporary was made beside the target and renamed there.
    EXPECT_EQ(std::filesystem::directory_iterator(dir.path() / "shows")->path().filename(),
              "real.lum");
}

TEST(WriteFileAtomic, RemovesTheTemporariesOfAKilledSaveOnly) {
    TempFolder dir;
    const std::string path = dir.file("show.lum");
    for (const char* name : {"show.lum.a1B2c3", "show.lum.QxZpWm", "show.lum.backup",
                             "show.lum.a1b2c3d", "other.lum.a1B2c3"})
        writeBytes(dir.file(name), bytes(5, 2));
    const auto data = bytes(32, 9);
    ASSERT_TRUE(writeFileAtomic(path, data.data(), data.size()).ok());
    auto names = dir.entries();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"other.lum.a1B2c3", "show.lum", "show.lum.a1b2c3d",
                                               "show.lum.backup"}));
}

}  // namespace
}  // namespace lumetra::io
