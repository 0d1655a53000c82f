#include "core/DataFolder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "show/SystemErrorText.h"

namespace lumetra::io {

namespace {
std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}
}  // namespace

std::string DataFolder::resolve(const std::string& option) {
    if (!option.empty()) return option;
    if (std::string v = env("LUMETRA_HOME"); !v.empty()) return v;
    if (std::string v = env("XDG_DATA_HOME"); !v.empty()) return v + "/lumetra";
    std::string home = env("HOME");
    if (home.empty()) home = ".";
    return home + "/.local/share/lumetra";
}

std::string DataFolder::create() const {
    for (const std::string& dir : {showDir(), docDir()}) {
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
        if (ec) return "Не удается создать папку " + dir + ": " + systemErrorText(ec.value());
    }
    return {};
}

}  // namespace lumetra::io
