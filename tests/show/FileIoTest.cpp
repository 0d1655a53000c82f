#include <gtest/gtest.h>

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
