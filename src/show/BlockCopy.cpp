#include "show/BlockCopy.h"

#include <vector>

#include "show/SceneList.h"

namespace lumetra {

namespace {

constexpr int kLimit = 256;  // the limit the warnings name

// One channel block from one scene record into another (or the same one).
void copyChannels(ShowMemory& show, int fromScene, int toScene, const ChannelBlock& b) {
    if (b.first < 1 || b.start < 1) return;  // byte 0 is no channel
    for (int src = b.first; src <= b.last + 1; ++src) {
        const int dst = b.start + (src - b.first);
        if (src > layout::kChannels || dst > layout::kChannels) break;
        show.setLevel(toScene, dst, show.level(fromScene, src));
    }
}

bool validScene(int index) {
    return index >= 0 && index < layout::kSceneCount;
}

BlockCopyResult refuse(std::string_view warning) {
    return {warning};
}

}  // namespace

BlockCopyResult ButtonLevelBlocCopyClick(Console& console, ChannelBlock block) {
    ToMemoryUndo(console);
    if (block.last + block.start - block.first > kLimit) return refuse(copyText::kTooManyChannels);
    const int scene = console.show.currentScene();
    copyChannels(console.show, scene, scene, block);
    return {};
}

BlockCopyResult SpeedButtonLevelJobScensClick(Console& console, ChannelBlock block) {
    ToMemoryUndo(console);
    if (block.last + block.start - block.first >= kLimit) return refuse(copyText::kTooManyChannels);
    for (int s = 0; s < layout::kSceneCount; ++s) copyChannels(console.show, s, s, block);
    return {};
}

BlockCopyResult SpeedButtonScenAllCopyClick(Console& console, ChannelBlock channels,
                                            SceneBlock scenes) {
    ToMemoryUndo(console);
    if (channels.last + channels.start > kLimit) return refuse(copyText::kTooManyChannels);
    if (scenes.last + scenes.start > kLimit) return refuse(copyText::kTooManyScenes);
    for (int k = scenes.first; k <= scenes.last; ++k) {
        const int from = k - 1;
        const int to = scenes.start - 1 + (k - scenes.first);
        if (!validScene(from) || !validScene(to)) continue;
        copyChannels(console.show, from, to, channels);
    }
    return {};
}

BlockCopyResult SpeedButtonScenaBlocCopyClick(Console& console, SceneBlock scenes) {
    ToMemoryUndo(console);
    if (scenes.last < scenes.first) return {};
    const int count = scenes.last - scenes.first + 1;
    if (scenes.start + count - 1 > kLimit) return refuse(copyText::kTooManyScenes);
    if (scenes.first < 1 || scenes.last > kLimit || scenes.start < 1) return {};
    // Read every source record before writing, so overlapping ranges copy
    // the scenes as they were.
    ShowMemory& show = console.show;
    const int size = count * layout::kSceneSize;
    std::vector<std::uint8_t> records(size);
    show.copyOut(records.data(), layout::sceneOffset(scenes.first - 1), size);
    show.copyIn(records.data(), layout::sceneOffset(scenes.start - 1), size);
    return {};
}

}  // namespace lumetra
