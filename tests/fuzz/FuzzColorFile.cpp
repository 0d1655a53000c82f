// The colour/name edit file: decoding and encoding give back the same
// bytes, reserved stretches included; a short file changes nothing.
#include <cstring>
#include <memory>

#include "FuzzSupport.h"
#include "show/ColorEditFile.h"

using namespace lumetra;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::writeScratch("color.dat", data, size);

    auto colors = std::make_unique<io::ChannelColors>(io::ChannelColors::startupDefaults());
    const io::ColorEditImage before = io::encodeColorEdit(*colors);
    const io::FileResult loaded = io::LoadColorEdit(path, *colors);
    const io::ColorEditImage after = io::encodeColorEdit(*colors);
    if (size < static_cast<std::size_t>(io::kColorEditFileSize)) {
        FUZZ_CHECK(!loaded.ok());
        FUZZ_CHECK(after == before);
        return 0;
    }
    FUZZ_CHECK(loaded.ok());
    FUZZ_CHECK(std::memcmp(after.data(), data, after.size()) == 0);
    FUZZ_CHECK(io::encodeColorEdit(io::decodeColorEdit(after)) == after);

    const std::string copy = fuzz::scratchFolder() + "/color-copy.dat";
    FUZZ_CHECK(io::SaveColorEdit(copy, *colors).ok());
    auto again = std::make_unique<io::ChannelColors>();
    FUZZ_CHECK(io::LoadColorEdit(copy, *again).ok());
    FUZZ_CHECK(io::encodeColorEdit(*again) == after);
    return 0;
}
