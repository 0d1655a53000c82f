#pragma once

#include <cstdint>

#include "core/Console.h"

namespace lumetra {

// The manual scanner: a 256 x 256 field whose cursor position steers a
// pair of channels. Options of the window: invert X, invert Y, swap.
struct ScannerOptions {
    bool invertX = false;
    bool invertY = false;
    bool swap = false;
};

struct ScannerPair {
    std::uint8_t x = 0;
    std::uint8_t y = 0;
};

// The pair for a cursor position on the field (column a, row b, each
// clamped to 0..255): X grows to the right and Y upwards, then the
// inversions, then the swap.
ScannerPair scannerPair(int a, int b, ScannerOptions options);

// Writes the pair into the current scene for every selected channel: X on
// the channel, Y on the next one (none past 255). A selected channel whose
// next channel is selected too loses that neighbour's selection first, so
// every selection starts a pair. Nothing is written while the show plays.
// Returns true when a selection flag was cleared.
bool writeScannerPair(Console& console, ScannerPair pair);

}  // namespace lumetra
