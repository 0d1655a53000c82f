// The editors that read and write what a show file brought: the channel
// names, the channel graph and the XY beam editor, on a show from anywhere.
// The file's first 81,920 bytes are the show; the bytes after it are the
// operator's actions. Each editor may write only its own bytes, and showing
// a show never changes it.
#include <cstring>
#include <functional>
#include <memory>

#include "FuzzSupport.h"
#include "edit/ChannelGraph.h"
#include "edit/ChannelNames.h"
#include "edit/XyFigures.h"
#include "edit/XyPath.h"
#include "show/ShowFile.h"

using namespace lumetra;

namespace {

// The actions, byte by byte; zeros once they run out.
struct Actions {
    const std::uint8_t* at;
    const std::uint8_t* end;
    int byte() { return at < end ? *at++ : 0; }
    int word() { return byte() << 8 | byte(); }
    bool more() const { return at < end; }
};

using Image = ShowMemory::Image;

// Every byte that differs between the images must be one the editor owns.
void onlyChanged(const char* editor, const Image& before, const ShowMemory& show,
                 const std::function<bool(int offset)>& owned) {
    auto after = std::make_unique<Image>();
    show.snapshot(*after);
    for (int i = 0; i < layout::kShowSize; ++i)
        if ((*after)[i] != before[i] && !owned(i)) {
            std::fprintf(stderr, "%s wrote byte %d (%d -> %d)\n", editor, i, before[i],
                         (*after)[i]);
            FUZZ_CHECK(owned(i));
        }
}

bool isLevelOf(int offset, int channel) {
    return offset >= layout::kSceneArea &&
           (offset - layout::kSceneArea) % layout::kSceneSize == channel;
}

void nameFields(ShowMemory& show) {
    auto before = std::make_unique<Image>();
    show.snapshot(*before);
    std::array<NameBytes, layout::kChannels + 1> shown{};
    for (int ch = 1; ch <= layout::kChannels; ++ch) {
        shown[ch] = LoadEdit(show, ch);
        const std::string display = nameDisplayBytes(show, ch);
        FUZZ_CHECK(display.size() <= static_cast<std::size_t>(layout::kNameSize));
        FUZZ_CHECK(display.empty() || (display.back() != ' ' && display.back() != '\0'));
    }
    auto same = std::make_unique<Image>();
    show.snapshot(*same);
    FUZZ_CHECK(*same == *before);  // showing never writes

    // Leaving the fields stores what they show; the names read back alike.
    for (int ch = 1; ch <= layout::kChannels; ++ch) SaveEdit(show, ch, shown[ch]);
    BlanksToZero(show);
    for (int ch = 1; ch <= layout::kChannels; ++ch) FUZZ_CHECK(LoadEdit(show, ch) == shown[ch]);
    onlyChanged("names", *before, show, [](int i) {
        return i >= layout::nameOffset(0) && i < layout::nameOffset(0) + 256 * layout::kNameSize;
    });
}

void graphEditor(ShowMemory& show, Actions& act) {
    static const int zooms[] = {1, 2, 4, 8};
    GraphView view;
    view.channelPosition = act.byte();
    view.zoom = zooms[act.byte() % 4];
    view.pageScenes = 256 / view.zoom;
    view.page = act.byte() % view.zoom;
    const int channel = view.channel();
    FUZZ_CHECK(channel >= 1 && channel <= layout::kChannels);

    // The page paints one column past the right edge and markers reach a
    // few pixels over the edges (the box clips them); nothing goes further.
    const int column = 2 * view.zoom;
    for (const graph::Fill& f :
         graphFills(show, view, show.currentScene(), act.byte() % layout::kSceneCount)) {
        FUZZ_CHECK(f.x0 >= -3 && f.x0 <= f.x1 && f.x1 <= graph::kWidth + column + 3);
        FUZZ_CHECK(f.y0 >= -3 && f.y0 <= f.y1 && f.y1 <= graph::kHeight + 3);
    }

    auto before = std::make_unique<Image>();
    show.snapshot(*before);
    ChannelGraph editor(show);
    editor.tool = static_cast<GraphTool>(act.byte() % 3);
    const int strokes = act.byte() % 8;
    for (int s = 0; s < strokes; ++s) {
        // Pointer positions a little outside the graph too.
        auto x = [&] { return act.word() % (graph::kWidth + 40) - 20; };
        auto y = [&] { return act.word() % (graph::kHeight + 40) - 20; };
        const auto button = static_cast<GraphButton>(act.byte() % 3);
        editor.press(view, button, x(), y());
        for (int m = act.byte() % 6; m > 0; --m) editor.move(view, x(), y());
        editor.release();
        editor.pointer(view, x(), y());
    }
    // The tools write the edited channel only.
    onlyChanged("graph", *before, show, [&](int i) { return isLevelOf(i, channel); });
}

void beamEditor(ShowMemory& show, Actions& act) {
    const int first = act.byte() % (xy::kMaxFirstChannel + 1);
    XyRange range;
    if (act.byte() & 1) {
        range = wholeShowRange(show);
    } else {  // the spin boxes: from 1..250, to 2..255
        range.from = 1 + act.byte() % 250;
        range.to = 2 + act.byte() % 254;
    }
    auto pair = [&](int i) {
        return isLevelOf(i, first + 1) || isLevelOf(i, first + 2) || i == cell::kCurrentScene ||
               i == cell::kLastScene;
    };
    auto before = std::make_unique<Image>();
    show.snapshot(*before);

    XyDrag drag;
    for (int n = act.byte() % 12; n > 0 && act.more(); --n) {
        const XyPoint at = fromPixel(act.word() % 300 - 20, act.word() % 300 - 20);
        FUZZ_CHECK(at.x >= 0 && at.x <= 255 && at.y >= 0 && at.y <= 255);
        switch (act.byte() % 6) {
            case 0:
                if (auto hit = SearchScena(show, first, range, at))
                    FUZZ_CHECK(range.contains(*hit));
                break;
            case 1:
                drag.press(show, first, range, at, act.byte() & 1, act.byte() & 1, act.byte() & 1);
                break;
            case 2:
                drag.move(show, first, range, at);
                drag.release();
                break;
            case 3:
                ButtonRepeat(show, first, range, static_cast<XyNudge>(act.byte() % 9));
                break;
            case 4:
                RotateArea(show, first, range, act.word() % 721 - 360);
                break;
            case 5: {
                FigureParams params;
                params.range = range;
                params.size = 20 + act.byte() % 231;
                params.option = act.byte() % 11;
                makeFigure(show, first, static_cast<XyFigure>(act.byte() % 9), params);
                break;
            }
        }
    }
    onlyChanged("beam", *before, show, pair);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < static_cast<std::size_t>(layout::kShowSize)) return 0;
    const std::string path = fuzz::writeScratch("editors.lum", data, layout::kShowSize);
    auto console = std::make_unique<Console>();
    FUZZ_CHECK(io::loadShow(path, console->show).ok());
    Actions act{data + layout::kShowSize, data + size};

    nameFields(console->show);
    graphEditor(console->show, act);
    beamEditor(console->show, act);

    // What the editors left is still a show that saves and loads whole.
    auto image = std::make_unique<Image>();
    console->show.snapshot(*image);
    const std::string copy = fuzz::scratchFolder() + "/editors-copy.lum";
    FUZZ_CHECK(io::saveShow(copy, console->show).ok());
    auto again = std::make_unique<Console>();
    FUZZ_CHECK(io::loadShow(copy, again->show).ok());
    auto reread = std::make_unique<Image>();
    again->show.snapshot(*reread);
    FUZZ_CHECK(*reread == *image);
    return 0;
}
