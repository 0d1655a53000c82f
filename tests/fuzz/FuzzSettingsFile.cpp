// A settings file written by anything: parsing never fails, and writing our
// keys over it (keeping every other line) reads back exactly what we wrote.
#include <string_view>

#include "FuzzSupport.h"
#include "show/SettingsFile.h"

using namespace lumetra;

namespace {

bool operator==(const io::Settings& a, const io::Settings& b) {
    return a.konveyr == b.konveyr && a.lastPath == b.lastPath;
}

// Values the profile format keeps as they are: no blanks around, no line
// break, not wrapped in quotes.
bool plain(const std::string& v) {
    if (v.empty()) return true;
    if (v.find_first_of("\r\n") != std::string::npos) return false;
    if (v.front() == ' ' || v.front() == '\t' || v.back() == ' ' || v.back() == '\t') return false;
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const io::Settings parsed = io::parseSettings(text);

    // Known values merged over the input read back unchanged.
    io::Settings ours;
    for (int i = 0; i < io::kKonveyrSlots; i += 3)
        ours.konveyr[i] = "/shows/Unit_0" + std::to_string(i);
    ours.lastPath = "Unit_001";
    FUZZ_CHECK(io::parseSettings(io::mergeSettings(text, ours)) == ours);

    // What was parsed survives being written again, as far as the format can
    // hold it.
    const io::Settings reparsed = io::parseSettings(io::formatSettings(parsed));
    const io::Settings remerged = io::parseSettings(io::mergeSettings(text, parsed));
    for (int i = 0; i < io::kKonveyrSlots; ++i) {
        if (!plain(parsed.konveyr[i])) continue;
        FUZZ_CHECK(reparsed.konveyr[i] == parsed.konveyr[i]);
        FUZZ_CHECK(remerged.konveyr[i] == parsed.konveyr[i]);
    }
    if (plain(parsed.lastPath)) {
        FUZZ_CHECK(reparsed.lastPath == parsed.lastPath);
        FUZZ_CHECK(remerged.lastPath == parsed.lastPath);
    }

    // The file path reads what the text parser reads.
    const std::string path = fuzz::writeScratch("Lumetra.ini", data, size);
    const io::SettingsReadResult read = io::ReadIniFile(path);
    if (size <= io::kMaxSettingsBytes) {
        FUZZ_CHECK(read.file.ok());
        FUZZ_CHECK(read.settings == parsed);
    } else {
        FUZZ_CHECK(!read.file.ok());
    }
    return 0;
}
