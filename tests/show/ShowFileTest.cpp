#include <gtest/gtest.h>

#include "TempFolder.h"
#include "show/ShowFile.h"

namespace lumetra::io {
namespace {

void fillPattern(ShowMemory& show, int seed) {
    for (int i = 0; i < layout::kShowSize; ++i)
        show.set(i, static_cast<std::uint8_t>((i * 31 + seed) >> 3));
}

std::vector<std::uint8_t> imageOf(const ShowMemory& show) {
    ShowMemory::Image image;
    show.snapshot(image);
    return {image.begin(), image.end()};
}

TEST(ShowFile, SaveWritesTheImageByteForByteAndLoadsItBack) {
    TempFolder dir;
    ShowMemory show;
    fillPattern(show, 1);
    show.writeSignature();
    ASSERT_TRUE(saveShow(dir.file("a.lum"), show).ok());
    const auto file = readBytes(dir.file("a.lum"));
    ASSERT_EQ(file.size(), 81920u);
    EXPECT_EQ(file, imageOf(show));
    EXPECT_EQ(std::string(file.begin(), file.begin() + 40),
              "it is DMX512 File VoxLamp USB Ver 5.3.1 ");

    ShowMemory loaded;
    ASSERT_TRUE(loadShow(dir.file("a.lum"), loaded).ok());
    EXPECT_EQ(imageOf(loaded), file);
}

TEST(ShowFile, AutosaveWritesTheImageAsItStands) {
    TempFolder dir;
    ShowMemory show;
    fillPattern(show, 2);  // no signature written
    ASSERT_TRUE(autosaveShow(dir.file("ShouTemp.lum"), show).ok());
    EXPECT_EQ(readBytes(dir.file("ShouTemp.lum")), imageOf(show));
}

TEST(ShowFile, LongerFileLoadsItsFirst81920Bytes) {
    TempFolder dir;
    ShowMemory source;
    fillPattern(source, 3);
    auto file = imageOf(source);
    file.resize(90000, 0xEE);
    writeBytes(dir.file("long.lum"), file);
    ShowMemory show;
    ASSERT_TRUE(loadShow(dir.file("long.lum"), show).ok());
    EXPECT_EQ(imageOf(show), imageOf(source));
}

TEST(ShowFile, ShortOrMissingFileLeavesTheShowUntouched) {
    TempFolder dir;
    ShowMemory show;
    fillPattern(show, 4);
    const auto before = imageOf(show);

    writeBytes(dir.file("short.lum"), std::vector<std::uint8_t>(81919, 0x55));
    const FileResult shortFile = loadShow(dir.file("short.lum"), show);
    EXPECT_EQ(shortFile.status, FileStatus::Failed);
    EXPECT_EQ(imageOf(show), before);

    const FileResult missing = loadShow(dir.file("gone.lum"), show);
    EXPECT_TRUE(missing.notFound());
    EXPECT_EQ(imageOf(show), before);
}

TEST(ShowFile, FailedSaveLeavesTheOldFile) {
    TempFolder dir;
    ShowMemory show;
    fillPattern(show, 5);
    ASSERT_TRUE(saveShow(dir.file("keep.lum"), show).ok());
    const auto old = readBytes(dir.file("keep.lum"));

    // Saving over it fails half way (the file-size limit stops the write).
    fillPattern(show, 6);
    FileResult r;
    {
        FileSizeLimit limit(8192);
        r = saveShow(dir.file("keep.lum"), show);
    }
    EXPECT_EQ(r.status, FileStatus::Failed);
    EXPECT_EQ(readBytes(dir.file("keep.lum")), old);

    // The folder the show should go into is a regular file.
    writeBytes(dir.file("notafolder"), {1, 2, 3});
    r = saveShow(dir.file("notafolder") + "/keep.lum", show);
    EXPECT_EQ(r.status, FileStatus::Failed);
    EXPECT_EQ(readBytes(dir.file("notafolder")), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(dir.entries().size(), 2u);
}

}  // namespace
}  // namespace lumetra::io
