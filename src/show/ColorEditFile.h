#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "show/ByteTable.h"
#include "show/FileIo.h"

namespace lumetra::io {

constexpr int kColorEditFileSize = 16384;
constexpr int kColorChannels = 512;
constexpr int kDevices = 256;

using ColorEditImage = std::array<std::uint8_t, kColorEditFileSize>;

// One byte per 3D device. The output tick writes pan, tilt and beam width
// while the window reads them, so every byte is atomic; copying goes
// byte by byte.
class DeviceTable : public AtomicTable<kDevices> {
  public:
    DeviceTable() = default;
    DeviceTable(const DeviceTable& other) { *this = other; }
    DeviceTable& operator=(const DeviceTable& other) {
        for (std::size_t i = 0; i < kSize; ++i) set(i, other.get(i));
        return *this;
    }
    std::uint8_t operator[](std::size_t i) const { return get(i); }
    static constexpr std::size_t size() { return kSize; }
    bool operator==(const DeviceTable& other) const {
        for (std::size_t i = 0; i < kSize; ++i)
            if (get(i) != other.get(i)) return false;
        return true;
    }
};

// The tables kept outside the show in the colour/name edit file: per channel
// the name-field colour, the marker (split) colour and the gobo picture, and
// per 3D device its type, place and beam.
struct ChannelColors {
    using ChannelTable = std::array<std::uint8_t, kColorChannels>;

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

    // The file as it was last read: saving writes its reserved stretches
    // back unchanged (zeros when nothing was read).
    ColorEditImage asRead{};

    // Start-up values before the file is read: name fields 230/238/245,
    // everything else 0.
    static ChannelColors startupDefaults();
};

// The file image; reserved stretches as read.
ColorEditImage encodeColorEdit(const ChannelColors& colors);
// Takes every table from an image and keeps the image for its reserved
// stretches.
ChannelColors decodeColorEdit(const ColorEditImage& image);

// Loads the file whole or not at all: a missing (notFound()), unreadable or
// short file leaves the tables as they were. A longer file's tail is ignored.
FileResult LoadColorEdit(const std::string& path, ChannelColors& colors);

// Writes the file atomically; a failure leaves the old file whole.
FileResult SaveColorEdit(const std::string& path, const ChannelColors& colors);

}  // namespace lumetra::io
