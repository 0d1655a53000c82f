#pragma once

#include "core/Console.h"

namespace lumetra::testing {

// Marks every record with its own index in byte 0 and channel 1, so a test
// can tell which scene now sits where.
inline void markScenes(Console& c) {
    for (int s = 0; s < layout::kSceneCount; ++s) {
        c.show.set(layout::sceneOffset(s), static_cast<std::uint8_t>(s));
        c.show.setLevel(s, 1, static_cast<std::uint8_t>(s));
        c.show.setLevel(s, 255, static_cast<std::uint8_t>(255 - s));
    }
}

inline int markOf(const Console& c, int scene) {
    return c.show.level(scene, 1);
}

inline void setScenes(Console& c, int current, int last) {
    c.show.setCell(cell::kCurrentScene, static_cast<std::uint8_t>(current));
    c.show.setCell(cell::kLastScene, static_cast<std::uint8_t>(last));
}

}  // namespace lumetra::testing
