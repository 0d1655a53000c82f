#include "show/SettingsFile.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

namespace lumetra::io {

namespace {

constexpr std::string_view kKonveyrSection = "Konveir";
constexpr std::string_view kLastFileSection = "LastFile";
constexpr std::string_view kPathKey = "Path";
constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr char kKeyLetters[] = "QWERTYUIOPASDFGHJKL";
constexpr int kStartupNameChars = 8;
constexpr int kConveyorNameChars = 7;

std::string konveyrKey(int slot) {
    char key[8];
    std::snprintf(key, sizeof key, "File%02d", slot + 1);
    return key;
}

std::string_view trim(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view unquote(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

// Where the settings of a key go, or null for a key we do not keep.
std::string* target(Settings& s, std::string_view section, std::string_view key) {
    if (sameName(section, kLastFileSection)) return sameName(key, kPathKey) ? &s.lastPath : nullptr;
    if (!sameName(section, kKonveyrSection)) return nullptr;
    for (int i = 0; i < kKonveyrSlots; ++i)
        if (sameName(key, konveyrKey(i))) return &s.konveyr[i];
    return nullptr;
}

std::string oneLine(const std::string& v) {
    return v.find_first_of("\r\n") == std::string::npos ? v : std::string();
}

// Number of bytes in the first maxChars UTF-8 characters of s.
std::size_t utf8Prefix(std::string_view s, int maxChars) {
    std::size_t i = 0;
    for (int n = 0; n < maxChars && i < s.size(); ++n) {
        ++i;
        while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
    }
    return i;
}

KonveyrCaption emptyCaption(int button) {
    if (button >= 1 && button < kKonveyrSlots)
        return {std::string(1, kKeyLetters[button - 1]) + " пусто", false};
    return {"пусто", false};
}

}  // namespace

Settings parseSettings(std::string_view text) {
    if (text.substr(0, kBom.size()) == kBom) text.remove_prefix(kBom.size());
    Settings s;
    std::vector<std::string*> seen;  // the first occurrence of a key wins
    std::string section;
    bool inSection = false;
    while (!text.empty()) {
        const auto eol = text.find('\n');
        std::string_view line = trim(text.substr(0, eol));
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);

        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            const auto close = line.find(']');
            inSection = close != std::string_view::npos;
            if (inSection) section = std::string(trim(line.substr(1, close - 1)));
            continue;
        }
        const auto eq = line.find('=');
        if (!inSection || eq == std::string_view::npos) continue;
        std::string* slot = target(s, section, trim(line.substr(0, eq)));
        if (!slot || std::find(seen.begin(), seen.end(), slot) != seen.end()) continue;
        seen.push_back(slot);
        *slot = std::string(unquote(trim(line.substr(eq + 1))));
    }
    return s;
}

std::string formatSettings(const Settings& settings) {
    std::string out = "[" + std::string(kKonveyrSection) + "]\r\n";
    for (int i = 0; i < kKonveyrSlots; ++i)
        out += konveyrKey(i) + "=" + oneLine(settings.konveyr[i]) + "\r\n";
    out += "[" + std::string(kLastFileSection) + "]\r\n";
    out += std::string(kPathKey) + "=" + oneLine(settings.lastPath) + "\r\n";
    return out;
}

SettingsReadResult ReadIniFile(const std::string& path) {
    SettingsReadResult result;
    const ReadResult read = readFile(path, 0);
    result.file = read;
    if (read.ok())
        result.settings = parseSettings(
            std::string_view(reinterpret_cast<const char*>(read.data.data()), read.data.size()));
    return result;
}

FileResult WriteIniFile(const std::string& path, const Settings& settings) {
    const std::string text = formatSettings(settings);
    FileResult r =
        writeFileAtomic(path, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    if (!r.ok()) r.message = "Unable to write to " + path;
    return r;
}

std::string resolveAgainst(const std::string& path, const std::string& folder) {
    if (path.empty() || path.front() == '/' || folder.empty()) return path;
    return folder.back() == '/' ? folder + path : folder + "/" + path;
}

std::string resolveInWorkingFolder(const std::string& path) {
    std::vector<char> buf(4096);
    const char* cwd = ::getcwd(buf.data(), buf.size());
    return resolveAgainst(path, cwd ? std::string(cwd) : std::string());
}

std::string shortShowName(const std::string& path, int maxChars) {
    // Settings written on other systems may carry backslash folders.
    const auto sep = path.find_last_of("/\\");
    std::string_view name(path);
    if (sep != std::string::npos) name.remove_prefix(sep + 1);
    name = name.substr(0, utf8Prefix(name, maxChars));
    if (const auto dot = name.rfind('.'); dot != std::string_view::npos) name = name.substr(0, dot);
    return std::string(name);
}

std::string konveyrKeyPrefix(int button) {
    if (button >= 1 && button < kKonveyrSlots) return std::string(1, kKeyLetters[button - 1]) + "=";
    return " ";
}

KonveyrCaption KonveyrButtonCaption(int button, const std::string& path) {
    if (path.empty()) return emptyCaption(button);
    return {konveyrKeyPrefix(button) + shortShowName(path, kStartupNameChars), true};
}

std::string ConvertorFileName(const std::string& path) {
    return shortShowName(path, kConveyorNameChars);
}

KonveyrCaption KonveyrAssignedCaption(int button, const std::string& path) {
    if (path.empty()) return emptyCaption(button);
    return {konveyrKeyPrefix(button) + ConvertorFileName(path), true};
}

}  // namespace lumetra::io
