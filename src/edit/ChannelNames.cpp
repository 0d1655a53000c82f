#include "edit/ChannelNames.h"

#include <algorithm>

#include "show/SceneList.h"

namespace lumetra {

namespace {
constexpr std::uint8_t kBlank = 32;
constexpr int kNameEnd = layout::kStaticPictures;  // one past the name area
constexpr int kClearedEntries = 511;               // entries 0..510

bool validChannel(int channel) {
    return channel >= 0 && channel <= layout::kChannels;
}
}  // namespace

NameBytes LoadEdit(const ShowMemory& show, int channel) {
    NameBytes name{};
    if (!validChannel(channel)) return name;
    const int at = layout::nameOffset(channel);
    show.copyOut(name.data(), at, layout::kNameSize);
    for (std::uint8_t& b : name)
        if (b == 0) b = kBlank;
    for (int k = layout::kNameSize - 1; k >= 0 && name[k] == kBlank; --k) name[k] = 0;
    return name;
}

void SaveEdit(ShowMemory& show, int channel, const NameBytes& name) {
    if (!validChannel(channel)) return;
    show.copyIn(name.data(), layout::nameOffset(channel), layout::kNameSize);
}

NameBytes padName(std::string_view bytes) {
    NameBytes name;
    name.fill(kBlank);
    const std::size_t n = std::min(bytes.size(), name.size());
    std::copy_n(bytes.begin(), n, name.begin());
    return name;
}

void BlanksToZero(ShowMemory& show) {
    for (int at = layout::kChannelNameTable; at < kNameEnd; ++at)
        if (show.get(at) == kBlank) show.set(at, 0);
}

std::string nameDisplayBytes(const ShowMemory& show, int channel) {
    if (!validChannel(channel)) return {};
    NameBytes name{};
    show.copyOut(name.data(), layout::nameOffset(channel), layout::kNameSize);
    int end = layout::kNameSize;
    while (end > 0 && (name[end - 1] == 0 || name[end - 1] == kBlank)) --end;
    std::string text;
    for (int k = 0; k < end; ++k)
        text.push_back(static_cast<char>(name[k] == 0 ? kBlank : name[k]));
    return text;
}

void ClearNameChannel(ShowMemory& show) {
    show.fill(0, layout::kChannelNameTable, kNameEnd);
}

void ClearNameColors(io::ChannelColors& colors) {
    for (auto* table : {&colors.NameRed, &colors.NameGreen, &colors.NameBlue})
        std::fill_n(table->begin(), kClearedEntries, 255);
}

void ClearGoboTypes(io::ChannelColors& colors) {
    std::fill_n(colors.GoboType.begin(), kClearedEntries, 255);
}

void ClearSplitColors(io::ChannelColors& colors, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    std::fill_n(colors.SplitRed.begin(), kClearedEntries, r);
    std::fill_n(colors.SplitGreen.begin(), kClearedEntries, g);
    std::fill_n(colors.SplitBlue.begin(), kClearedEntries, b);
}

NameCopyFields nameFirstChanged(NameCopyFields f) {
    // A last field pushed up is a change of that field, with its own rule.
    if (f.first > f.last) {
        f.last = f.first;
        return nameLastChanged(f);
    }
    return f;
}

NameCopyFields nameLastChanged(NameCopyFields f) {
    if (f.first >= f.last) f.last = f.first;
    return nameFromChanged(f);
}

NameCopyFields nameFromChanged(NameCopyFields f) {
    if (f.linked && f.last + 1 >= f.from) f.from = f.last + 1;
    return f;
}

NameCopyResult ButtonNameBlocCopyClick(Console& console, io::ChannelColors& colors,
                                       const NameCopyFields& f) {
    ToMemoryUndo(console);
    const int n = f.last - f.first + 1;
    NameCopyResult result{false, f.from, f.digit};
    if (f.from + f.repeat * n - 1 > layout::kChannels) {
        result.refused = true;
        return result;
    }
    if (n <= 0 || f.first < 1 || f.from < 1 || f.last > layout::kChannels) return result;
    ShowMemory& show = console.show;
    for (int r = 1; r <= f.repeat; ++r) {
        // Byte by byte upwards, so a destination inside the source repeats it.
        const int src = layout::nameOffset(f.first);
        const int dst = layout::nameOffset(result.from);
        for (int k = 0; k < layout::kNameSize * n; ++k) show.set(dst + k, show.get(src + k));
        for (int c = f.first; c <= f.last; ++c) {
            const int t = result.from + c - f.first;
            if (f.numberName)
                show.set(layout::nameOffset(t), static_cast<std::uint8_t>('0' + result.digit));
            colors.GoboType[t] = colors.GoboType[c];
            colors.NameRed[t] = colors.NameRed[c];
            colors.NameGreen[t] = colors.NameGreen[c];
            colors.NameBlue[t] = colors.NameBlue[c];
            std::uint8_t grey = (r % 2 == 1) ? 170 : 200;
            std::array<std::uint8_t, 3> mark{grey, grey, grey};
            if (f.markFirst && c == f.first) mark = {50, 250, 50};
            colors.SplitRed[t] = mark[0];
            colors.SplitGreen[t] = mark[1];
            colors.SplitBlue[t] = mark[2];
        }
        result.from += n;
        result.digit += 1;
    }
    return result;
}

}  // namespace lumetra
