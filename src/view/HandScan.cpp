#include "view/HandScan.h"

#include <algorithm>

namespace lumetra {

ScannerPair scannerPair(int a, int b, ScannerOptions options) {
    a = std::clamp(a, 0, 255);
    b = std::clamp(b, 0, 255);
    int x = options.invertX ? 255 - a : a;
    int y = options.invertY ? b : 255 - b;
    if (options.swap) std::swap(x, y);
    return {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)};
}

bool writeScannerPair(Console& console, ScannerPair pair) {
    ShowMemory& show = console.show;
    const bool running = console.showRunning.get() != 0;
    const int scene = show.currentScene();
    bool cleared = false;
    for (int c = 1; c <= layout::kChannels; ++c) {
        if (show.get(layout::selectionOffset(c)) != 1) continue;
        if (c < layout::kChannels && show.get(layout::selectionOffset(c + 1)) == 1) {
            show.set(layout::selectionOffset(c + 1), 0);
            cleared = true;
        }
        if (running) continue;
        show.setLevel(scene, c, pair.x);
        if (c < layout::kChannels) show.setLevel(scene, c + 1, pair.y);
    }
    return cleared;
}

}  // namespace lumetra
