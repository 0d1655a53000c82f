#include "show/ShowReset.h"

#include <algorithm>

namespace lumetra {

namespace {
constexpr int kClearedDmxSlots = 512;
constexpr std::uint8_t kClearedRate = 255;
constexpr std::uint8_t kClearedTempo = 44;
constexpr std::uint8_t kStartupAvtomatSpeed = 50;
constexpr int kZoomPositions = 4;
}  // namespace

void ClearAllMemory(Console& console) {
    console.sceneBuffer.fill(0);
    console.dmxLine.fill(0, 0, kClearedDmxSlots);

    ShowMemory& show = console.show;
    show.fill(kClearedRate, layout::kRateTable, layout::kChannelNameTable);
    show.fill(0, layout::kStaticPictures, layout::kShowSize);
    show.writeSignature();
    show.setCell(cell::kColorRed, 190);
    show.setCell(cell::kColorGreen, 197);
    show.setCell(cell::kColorBlue, 190);
    show.setCell(cell::kColorOn, 1);
    console.showRunning.set(0);
    show.setCell(cell::kTempo, kClearedTempo);
    show.setCell(cell::kCurrentScene, 0);
    show.setCell(cell::kLastScene, 1);
}

void StartupMemoryReset(ShowMemory& show) {
    show.fill(0, layout::kChannelNameTable, layout::kStaticPictures);
    show.setCell(cell::kAvtomat1Speed, kStartupAvtomatSpeed);
    show.setCell(cell::kAvtomat2Speed, kStartupAvtomatSpeed);
}

GraphZoomSetting graphZoomAt(int position) {
    const int p = std::clamp(position, 0, kZoomPositions - 1);
    const int zoom = 1 << p;
    return {p, zoom, layout::kSceneCount / zoom};
}

GraphZoomSetting clearedGraphZoom() {
    return graphZoomAt(kZoomPositions - 1);
}

GraphZoomSetting graphZoomAfterOpen(std::uint8_t lastScene) {
    if (lastScene == 0) return clearedGraphZoom();
    return graphZoomAt(layout::kSceneCount / lastScene);
}

}  // namespace lumetra
