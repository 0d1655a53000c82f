#include "show/ColorEditFile.h"

#include <algorithm>
#include <vector>

namespace lumetra::io {

namespace {

// Where each table lies in the file. Every stretch not named here is
// reserved.
template <typename Colors>
auto channelTables(Colors& c) {
    using T = decltype(&c.NameRed);
    return std::array<std::pair<int, T>, 7>{{{0, &c.NameRed},
                                             {512, &c.NameGreen},
                                             {1024, &c.NameBlue},
                                             {2048, &c.SplitRed},
                                             {2560, &c.SplitGreen},
                                             {3072, &c.SplitBlue},
                                             {3584, &c.GoboType}}};
}

template <typename Colors>
auto deviceTables(Colors& c) {
    using T = decltype(&c.DeviceType);
    return std::array<std::pair<int, T>, 7>{{{4192, &c.DeviceType},
                                             {4704, &c.DeviceX},
                                             {5216, &c.DeviceY},
                                             {5728, &c.DeviceZ},
                                             {8384, &c.DeviceBeamWidth},
                                             {8896, &c.DevicePan},
                                             {9408, &c.DeviceTilt}}};
}

}  // namespace

ChannelColors ChannelColors::startupDefaults() {
    ChannelColors c;
    c.NameRed.fill(230);
    c.NameGreen.fill(238);
    c.NameBlue.fill(245);
    return c;
}

ColorEditImage encodeColorEdit(const ChannelColors& colors) {
    ColorEditImage image = colors.asRead;
    for (const auto& [offset, table] : channelTables(colors))
        std::copy(table->begin(), table->end(), image.begin() + offset);
    for (const auto& [offset, table] : deviceTables(colors)) table->copyOut(image.data() + offset);
    return image;
}

ChannelColors decodeColorEdit(const ColorEditImage& image) {
    ChannelColors colors;
    for (const auto& [offset, table] : channelTables(colors))
        std::copy_n(image.begin() + offset, table->size(), table->begin());
    for (const auto& [offset, table] : deviceTables(colors)) table->copyIn(image.data() + offset);
    colors.asRead = image;
    return colors;
}

FileResult LoadColorEdit(const std::string& path, ChannelColors& colors) {
    const ReadResult read = readFile(path, kColorEditFileSize, kColorEditFileSize);
    if (!read.ok()) return read;
    ColorEditImage image;
    std::copy(read.data.begin(), read.data.end(), image.begin());
    colors = decodeColorEdit(image);
    return FileResult::success();
}

FileResult SaveColorEdit(const std::string& path, const ChannelColors& colors) {
    const ColorEditImage image = encodeColorEdit(colors);
    return writeFileAtomic(path, image.data(), image.size());
}

}  // namespace lumetra::io
