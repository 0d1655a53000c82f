#include "show/PatchFile.h"

namespace lumetra::io {

PatchImage encodePatch(const PatchTable& table) {
    PatchImage image{};
    for (int k = 0; k < kPatchFileEntries; ++k) {
        const std::uint16_t v = table.get(k);
        image[2 * k] = static_cast<std::uint8_t>(v & 0xFF);
        image[2 * k + 1] = static_cast<std::uint8_t>(v >> 8);
    }
    return image;
}

FileResult LoadPatchFile(const std::string& path, PatchTable& table) {
    const ReadResult read = readFile(path, kPatchFileSize, kPatchFileSize);
    if (!read.ok()) return read;
    for (int k = 0; k < kPatchFileEntries; ++k)
        table.set(k, static_cast<std::uint16_t>(read.data[2 * k] | (read.data[2 * k + 1] << 8)));
    return FileResult::success();
}

FileResult SavePatchFile(const std::string& path, const PatchTable& table) {
    const PatchImage image = encodePatch(table);
    return writeFileAtomic(path, image.data(), image.size());
}

}  // namespace lumetra::io
