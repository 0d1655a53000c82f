#pragma once

#include <cstdint>

#include "core/Console.h"

namespace lumetra {

// The memory part of clearing a show (a new show): scene clipboard and
// output slots 0..511 zero, every crossfade step 255, pictures, selection
// flags, free area and all scenes zero, the signature, window colour
// 190/197/190 switched on, playback stopped, tempo 44, current scene 0 and
// two scenes. Channel names, the other system cells and the undo copy stay.
// The window does the rest (undo buttons, caption, check boxes, pages, the
// sequencer interval and the graph zoom of clearedGraphZoom()).
void ClearAllMemory(Console& console);

// What the program start does before its first clear: no channel names and
// both automatic programs at speed 50.
void StartupMemoryReset(ShowMemory& show);

// A position of the graph zoom slider with the zoom and page size it gives.
struct GraphZoomSetting {
    int position;    // ScrollBarGrafikZoom, 0..3
    int zoom;        // GraphZoom: 1, 2, 4, 8
    int pageScenes;  // GraphPageScenes: 256, 128, 64, 32
};

// Zoom of a slider position, clamped into 0..3.
GraphZoomSetting graphZoomAt(int position);

// Zoom after a clear: the closest view, 32 scenes a page.
GraphZoomSetting clearedGraphZoom();

// Zoom after opening a show: position 256 div (last scene index), clamped to
// 3. A one-scene show (index 0) would divide by zero; it takes the closest
// view like every other short show (all indices up to 85 give 3).
GraphZoomSetting graphZoomAfterOpen(std::uint8_t lastScene);

}  // namespace lumetra
