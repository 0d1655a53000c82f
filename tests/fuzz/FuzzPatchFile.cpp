// A patch file: entries 0..255 taken whole or not at all, the rest kept,
// and a save reads back the same table.
#include <cstring>

#include "FuzzSupport.h"
#include "show/PatchFile.h"

using namespace lumetra;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::writeScratch("patch.dat", data, size);

    io::PatchTable table;
    for (int i = 0; i < kPatchEntries; ++i) table.set(i, static_cast<std::uint16_t>(1000 + i));
    const io::FileResult loaded = io::LoadPatchFile(path, table);

    for (int i = io::kPatchFileEntries; i < kPatchEntries; ++i)
        FUZZ_CHECK(table.get(i) == 1000 + i);
    if (size < static_cast<std::size_t>(io::kPatchFileSize)) {
        FUZZ_CHECK(!loaded.ok());
        for (int i = 0; i < io::kPatchFileEntries; ++i) FUZZ_CHECK(table.get(i) == 1000 + i);
        return 0;
    }
    FUZZ_CHECK(loaded.ok());
    const io::PatchImage image = io::encodePatch(table);
    FUZZ_CHECK(std::memcmp(image.data(), data, image.size()) == 0);

    const std::string copy = fuzz::scratchFolder() + "/patch-copy.dat";
    FUZZ_CHECK(io::SavePatchFile(copy, table).ok());
    io::PatchTable again;
    FUZZ_CHECK(io::LoadPatchFile(copy, again).ok());
    for (int i = 0; i < io::kPatchFileEntries; ++i) FUZZ_CHECK(again.get(i) == table.get(i));
    return 0;
}
