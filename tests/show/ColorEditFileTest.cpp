#include <gtest/gtest.h>

#include "TempFolder.h"
#include "show/ColorEditFile.h"

namespace lumetra::io {
namespace {

ChannelColors sample() {
    ChannelColors c;
    auto fill = [](auto& table, int seed) {
        for (std::size_t i = 0; i < table.size(); ++i)
            table[i] = static_cast<std::uint8_t>(seed + i * 3 + 1);
    };
    int seed = 0;
    for (auto* t : {&c.NameRed, &c.NameGreen, &c.NameBlue, &c.SplitRed, &c.SplitGreen, &c.SplitBlue,
                    &c.GoboType})
        fill(*t, seed += 17);
    for (auto* t : {&c.DeviceType, &c.DeviceX, &c.DeviceY, &c.DeviceZ, &c.DeviceBeamWidth,
                    &c.DevicePan, &c.DeviceTilt}) {
        seed += 17;
        for (int i = 0; i < kDevices; ++i) t->set(i, static_cast<std::uint8_t>(seed + i * 3 + 1));
    }
    return c;
}

bool same(const ChannelColors& a, const ChannelColors& b) {
    return encodeColorEdit(a) == encodeColorEdit(b) && a.NameRed == b.NameRed &&
           a.DeviceTilt == b.DeviceTilt;
}

TEST(ColorEditFile, StartupDefaults) {
    const ChannelColors c = ChannelColors::startupDefaults();
    for (int i = 0; i < kColorChannels; ++i) {
        ASSERT_EQ(c.NameRed[i], 230);
        ASSERT_EQ(c.NameGreen[i], 238);
        ASSERT_EQ(c.NameBlue[i], 245);
        ASSERT_EQ(c.SplitRed[i] | c.SplitGreen[i] | c.SplitBlue[i] | c.GoboType[i], 0);
    }
    for (int i = 0; i < kDevices; ++i) ASSERT_EQ(c.DeviceType[i] | c.DeviceTilt[i], 0);
}

TEST(ColorEditFile, TablesLieAtTheirOffsetsAndReservedStretchesAreZero) {
    const ChannelColors c = sample();
    const ColorEditImage img = encodeColorEdit(c);
    EXPECT_EQ(img[0], c.NameRed[0]);
    EXPECT_EQ(img[511], c.NameRed[511]);
    EXPECT_EQ(img[512 + 7], c.NameGreen[7]);
    EXPECT_EQ(img[1024 + 300], c.NameBlue[300]);
    EXPECT_EQ(img[2048 + 1], c.SplitRed[1]);
    EXPECT_EQ(img[2560 + 2], c.SplitGreen[2]);
    EXPECT_EQ(img[3072 + 3], c.SplitBlue[3]);
    EXPECT_EQ(img[3584 + 511], c.GoboType[511]);
    EXPECT_EQ(img[4192], c.DeviceType[0]);
    EXPECT_EQ(img[4704 + 255], c.DeviceX[255]);
    EXPECT_EQ(img[5216 + 9], c.DeviceY[9]);
    EXPECT_EQ(img[5728 + 10], c.DeviceZ[10]);
    EXPECT_EQ(img[8384 + 11], c.DeviceBeamWidth[11]);
    EXPECT_EQ(img[8896 + 12], c.DevicePan[12]);
    EXPECT_EQ(img[9408 + 255], c.DeviceTilt[255]);
    const std::pair<int, int> reserved[] = {{1536, 512}, {4096, 96},  {4448, 256},
                                            {4960, 256}, {5472, 256}, {5984, 2400},
                                            {8640, 256}, {9152, 256}, {9664, 6720}};
    int total = 0;
    for (auto [from, len] : reserved) {
        total += len;
        for (int i = from; i < from + len; ++i) ASSERT_EQ(img[i], 0) << "offset " << i;
    }
    EXPECT_EQ(total + 7 * 512 + 7 * 256, kColorEditFileSize);
}

TEST(ColorEditFile, RoundTripAndReservedBytesKeptAsRead) {
    TempFolder dir;
    const ChannelColors c = sample();
    ASSERT_TRUE(SaveColorEdit(dir.file("lumiEdit.col"), c).ok());
    auto file = readBytes(dir.file("lumiEdit.col"));
    ASSERT_EQ(file.size(), 16384u);
    ChannelColors loaded;
    ASSERT_TRUE(LoadColorEdit(dir.file("lumiEdit.col"), loaded).ok());
    EXPECT_TRUE(same(loaded, c));

    file[1536] = 0x77;  // reserved
    file[9664] = 0x78;
    file.resize(20000, 0x79);  // a longer file's tail is ignored
    writeBytes(dir.file("other.col"), file);
    ChannelColors other;
    ASSERT_TRUE(LoadColorEdit(dir.file("other.col"), other).ok());
    EXPECT_EQ(other.NameRed, c.NameRed);
    EXPECT_EQ(other.GoboType, c.GoboType);
    EXPECT_EQ(other.DeviceTilt, c.DeviceTilt);

    // Saved again, the reserved bytes go back as they were read and the
    // tables as they are now.
    other.DeviceType.set(3, 2);
    ASSERT_TRUE(SaveColorEdit(dir.file("again.col"), other).ok());
    const auto again = readBytes(dir.file("again.col"));
    ASSERT_EQ(again.size(), 16384u);
    EXPECT_EQ(again[1536], 0x77);
    EXPECT_EQ(again[9664], 0x78);
    EXPECT_EQ(again[4192 + 3], 2);
    file.resize(16384);
    file[4192 + 3] = 2;
    EXPECT_EQ(again, file);
}

TEST(ColorEditFile, MissingOrShortFileKeepsTheTables) {
    TempFolder dir;
    ChannelColors c = ChannelColors::startupDefaults();
    const FileResult missing = LoadColorEdit(dir.file("lumiEdit.col"), c);
    EXPECT_TRUE(missing.notFound());
    EXPECT_TRUE(same(c, ChannelColors::startupDefaults()));

    writeBytes(dir.file("short.col"), std::vector<std::uint8_t>(16383, 9));
    const FileResult shortFile = LoadColorEdit(dir.file("short.col"), c);
    EXPECT_EQ(shortFile.status, FileStatus::Failed);
    EXPECT_TRUE(same(c, ChannelColors::startupDefaults()));

    const FileResult noFolder = SaveColorEdit(dir.file("short.col") + "/x.col", c);
    EXPECT_EQ(noFolder.status, FileStatus::Failed);
}

}  // namespace
}  // namespace lumetra::io
