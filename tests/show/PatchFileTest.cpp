#include <gtest/gtest.h>

#include "TempFolder.h"
#include "show/PatchFile.h"

namespace lumetra::io {
namespace {

TEST(PatchFile, FreshTableSavesTheIdentityLittleEndian) {
    TempFolder dir;
    Console c;
    ASSERT_TRUE(SavePatchFile(dir.file("a.lmd"), c.patchTable).ok());
    const auto file = readBytes(dir.file("a.lmd"));
    ASSERT_EQ(file.size(), 512u);
    for (int k = 0; k < 256; ++k) {
        ASSERT_EQ(file[2 * k], k);
        ASSERT_EQ(file[2 * k + 1], 0);
    }
}

TEST(PatchFile, RoundTripKeepsValuesAbove255AndTheUnsavedEntries) {
    TempFolder dir;
    Console c;
    c.patchTable.set(5, 17);
    c.patchTable.set(6, 17);
    c.patchTable.set(255, 0x1234);
    ASSERT_TRUE(SavePatchFile(dir.file("a.lmd"), c.patchTable).ok());
    const auto file = readBytes(dir.file("a.lmd"));
    EXPECT_EQ(file[510], 0x34);
    EXPECT_EQ(file[511], 0x12);

    Console other;
    other.patchTable.set(300, 7);
    ASSERT_TRUE(LoadPatchFile(dir.file("a.lmd"), other.patchTable).ok());
    for (int k = 0; k < 256; ++k) ASSERT_EQ(other.patchTable.get(k), c.patchTable.get(k));
    EXPECT_EQ(other.patchTable.get(300), 7);
}

TEST(PatchFile, ShortOrMissingFileLeavesTheTable) {
    TempFolder dir;
    Console c;
    writeBytes(dir.file("short.lmd"), std::vector<std::uint8_t>(511, 0xAA));
    const FileResult shortFile = LoadPatchFile(dir.file("short.lmd"), c.patchTable);
    EXPECT_EQ(shortFile.status, FileStatus::Failed);
    for (int k = 0; k < kPatchEntries; ++k) ASSERT_EQ(c.patchTable.get(k), k);
    EXPECT_TRUE(LoadPatchFile(dir.file("none.lmd"), c.patchTable).notFound());
    for (int k = 0; k < kPatchEntries; ++k) ASSERT_EQ(c.patchTable.get(k), k);
}

}  // namespace
}  // namespace lumetra::io
