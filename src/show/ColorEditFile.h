#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "show/FileIo.h"

namespace lumetra::io {

constexpr int kColorEditFileSize = 16384;
constexpr int kColorChannels = 512;
constexpr int kDevices = 256;

// The tables kept outside the show in the colour/name edit file: per channel
// the name-field colour, the marker (split) colour and the gobo picture, and
// per 3D device its type, place and beam.
struct ChannelColors {
    using ChannelTable = std::array<std::uint8_t, kColorChannels>;
    using DeviceTable = std::array<std::uint8_t, kDevices>;

    ChannelTable NameRed{}, NameGreen{}, NameBlue{};
    ChannelTable SplitRed{}, SplitGreen{}, SplitBlue{};
    ChannelTable GoboType{};

    DeviceTable DeviceType{};
    DeviceTable DeviceX{};
    DeviceTable DeviceY{};  // stored as 255 - slider position
    DeviceTable DeviceZ{};
    DeviceTable DeviceBeamWidth{};
    DeviceTable DevicePan{};
    DeviceTable DeviceTilt{};

    // Start-up values before the file is read: name fields 230/238/245,
    // everything else 0.
    static ChannelColors startupDefaults();
};

using ColorEditImage = std::array<std::uint8_t, kColorEditFileSize>;

// The file image; reserved stretches are zero.
ColorEditImage encodeColorEdit(const ChannelColors& colors);
// Takes every table from an image; reserved stretches are ignored.
ChannelColors decodeColorEdit(const ColorEditImage& image);

// Loads the file whole or not at all: a missing (notFound()), unreadable or
// short file leaves the tables as they were. A longer file's tail is ignored.
FileResult LoadColorEdit(const std::string& path, ChannelColors& colors);

// Writes the file atomically; a failure leaves the old file whole.
FileResult SaveColorEdit(const std::string& path, const ChannelColors& colors);

}  // namespace lumetra::io
