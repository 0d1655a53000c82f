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
constexpr std::string_view kRitmSection = "Ritm";
constexpr std::string_view kPlayerSection = "Player";
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
    if (sameName(section, kRitmSection)) {
        for (std::size_t i = 0; i < kRitmKeys.size(); ++i)
            if (sameName(key, kRitmKeys[i])) return &s.ritm[i];
        return nullptr;
    }
    if (sameName(section, kPlayerSection)) {
        for (std::size_t i = 0; i < kPlayerKeys.size(); ++i)
            if (sameName(key, kPlayerKeys[i])) return &s.player[i];
        return nullptr;
    }
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

// Editors that add a byte-order mark at every save leave several in front;
// the reader and the writer both skip all of them, so that the first
// section line is seen by both or by neither.
std::string_view skipBoms(std::string_view text) {
    while (text.substr(0, kBom.size()) == kBom) text.remove_prefix(kBom.size());
    return text;
}

// What one line of the profile format is, the one rule the reader and the
// writer share.
struct IniLine {
    enum Kind { Other, Section, BrokenSection, Key } kind = Other;
    std::string_view name;   // section name or key, trimmed
    std::string_view value;  // key value, trimmed, still quoted
};

IniLine classify(std::string_view line) {
    line = trim(line);
    if (line.empty() || line.front() == ';') return {};
    if (line.front() == '[') {
        const auto close = line.find(']');
        // A broken section line ("[LastFile" without its bracket) ends the
        // section before it all the same.
        if (close == std::string_view::npos) return {IniLine::BrokenSection, {}, {}};
        return {IniLine::Section, trim(line.substr(1, close - 1)), {}};
    }
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) return {};
    return {IniLine::Key, trim(line.substr(0, eq)), trim(line.substr(eq + 1))};
}

KonveyrCaption emptyCaption(int button) {
    if (button >= 1 && button < kKonveyrSlots)
        return {std::string(1, kKeyLetters[button - 1]) + " пусто", false};
    return {"пусто", false};
}

}  // namespace

Settings parseSettings(std::string_view text) {
    text = skipBoms(text);
    Settings s;
    std::vector<std::string*> seen;  // the first occurrence of a key wins
    std::string section;
    bool inSection = false;
    while (!text.empty()) {
        const auto eol = text.find('\n');
        const IniLine line = classify(text.substr(0, eol));
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);

        if (line.kind == IniLine::Section || line.kind == IniLine::BrokenSection) {
            inSection = line.kind == IniLine::Section;
            section = std::string(line.name);
            continue;
        }
        if (!inSection || line.kind != IniLine::Key) continue;
        std::string* slot = target(s, section, line.name);
        if (!slot || std::find(seen.begin(), seen.end(), slot) != seen.end()) continue;
        seen.push_back(slot);
        *slot = std::string(unquote(line.value));
    }
    return s;
}

std::string formatSettings(const Settings& settings) {
    return mergeSettings({}, settings);
}

namespace {

// Our keys of one section with the values to write.
struct OwnSection {
    std::string_view name;
    std::vector<std::pair<std::string, std::string>> keys;
    std::vector<bool> written;
};

std::vector<OwnSection> ownSections(const Settings& settings) {
    OwnSection konveyr{kKonveyrSection, {}, {}};
    for (int i = 0; i < kKonveyrSlots; ++i)
        konveyr.keys.emplace_back(konveyrKey(i), oneLine(settings.konveyr[i]));
    OwnSection last{kLastFileSection, {{std::string(kPathKey), oneLine(settings.lastPath)}}, {}};
    std::vector<OwnSection> sections{std::move(konveyr), std::move(last)};
    // The sections of our own are written only once one of their keys is set.
    const auto optional = [&sections](std::string_view name, const auto& keys, const auto& values) {
        if (std::none_of(values.begin(), values.end(),
                         [](const std::string& v) { return !v.empty(); }))
            return;
        OwnSection section{name, {}, {}};
        for (std::size_t i = 0; i < keys.size(); ++i)
            section.keys.emplace_back(std::string(keys[i]), oneLine(values[i]));
        sections.push_back(std::move(section));
    };
    optional(kRitmSection, kRitmKeys, settings.ritm);
    optional(kPlayerSection, kPlayerKeys, settings.player);
    for (auto& sec : sections) sec.written.assign(sec.keys.size(), false);
    return sections;
}

}  // namespace

std::string mergeSettings(std::string_view existing, const Settings& settings) {
    existing = skipBoms(existing);
    std::vector<OwnSection> own = ownSections(settings);
    std::string out;
    OwnSection* current = nullptr;
    std::vector<bool> seen(own.size(), false);

    const auto line = [&out](std::string_view text) {
        out.append(text);
        out += "\r\n";
    };
    // The keys of a section of ours that its text did not have yet.
    const auto completeSection = [&](OwnSection* sec) {
        if (!sec) return;
        for (std::size_t k = 0; k < sec->keys.size(); ++k)
            if (!sec->written[k]) {
                line(sec->keys[k].first + "=" + sec->keys[k].second);
                sec->written[k] = true;
            }
    };

    while (!existing.empty()) {
        const auto eol = existing.find('\n');
        std::string_view raw = existing.substr(0, eol);
        existing.remove_prefix(eol == std::string_view::npos ? existing.size() : eol + 1);
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        const IniLine text = classify(raw);

        if (text.kind == IniLine::Section || text.kind == IniLine::BrokenSection) {
            // Our keys that the section lacked go before the next section
            // line, broken or not, where the reader still sees them.
            completeSection(current);
            current = nullptr;
            if (text.kind == IniLine::Section)
                for (std::size_t i = 0; i < own.size(); ++i)
                    if (sameName(text.name, own[i].name)) current = &own[i], seen[i] = true;
            line(raw);
            continue;
        }
        if (current && text.kind == IniLine::Key) {
            bool ours = false;
            for (std::size_t k = 0; k < current->keys.size(); ++k) {
                if (!sameName(text.name, current->keys[k].first)) continue;
                ours = true;
                // The first occurrence takes the value; a later duplicate,
                // which no reader would see, goes.
                if (!current->written[k]) {
                    line(current->keys[k].first + "=" + current->keys[k].second);
                    current->written[k] = true;
                }
            }
            if (ours) continue;
        }
        // Everything else stays as it was: other sections, other keys,
        // comments and blank lines.
        line(raw);
    }
    completeSection(current);
    for (std::size_t i = 0; i < own.size(); ++i) {
        if (seen[i]) continue;
        line("[" + std::string(own[i].name) + "]");
        completeSection(&own[i]);
    }
    return out;
}

SettingsReadResult ReadIniFile(const std::string& path) {
    SettingsReadResult result;
    const ReadResult read = readFile(path, 0, kMaxSettingsBytes + 1);
    result.file = read;
    if (read.ok() && read.data.size() > kMaxSettingsBytes) {
        // Not a settings file this console wrote: its keys are not trusted.
        result.file = FileResult{FileStatus::Failed, fileText::tooLarge(path, kMaxSettingsBytes)};
        return result;
    }
    if (read.ok())
        result.settings = parseSettings(
            std::string_view(reinterpret_cast<const char*>(read.data.data()), read.data.size()));
    return result;
}

FileResult WriteIniFile(const std::string& path, const Settings& settings) {
    // Sections and keys of others survive, as with the system's profile
    // functions. A file that cannot be read as settings is replaced.
    const ReadResult old = readFile(path, 0, kMaxSettingsBytes + 1);
    std::string_view existing;
    if (old.ok() && old.data.size() <= kMaxSettingsBytes)
        existing =
            std::string_view(reinterpret_cast<const char*>(old.data.data()), old.data.size());
    const std::string text = mergeSettings(existing, settings);
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
