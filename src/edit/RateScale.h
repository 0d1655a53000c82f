#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "core/Console.h"
#include "edit/FaderTools.h"

namespace lumetra {

constexpr int kRatePositions = 8;

// One position of the eight-step rate scale: the crossfade step stored in
// the rate table and the approximate seconds of a full swing ("no" = jump).
struct RateChoice {
    std::uint8_t step;
    std::string_view label;  // LabelRate
};

// Position (0..7, bounded) to step and label.
RateChoice TabRate(int position);
// A stored step back to the slider position that shows it; every step has
// exactly one position and the eight canonical steps map to their own.
int RateSliderPosition(std::uint8_t step);

// Row n (1..27) rate slider moved: stores the step of the position for the
// row's channel. Runs also while the show plays. Returns the label.
std::string_view ScrollBarRateChange(Console& console, int row, int position);

// Group rate slider moved: the step goes to cell 136 and to every selected
// channel, after the visible boxes are written back. Returns the label.
std::string_view ScrollBarRateLeuelChange(Console& console, int position,
                                          const CheckStates& ticked);

// Positions of the 27 row sliders for the visible bank.
std::array<int, kFaderRows> ReturnRate(const Console& console);

}  // namespace lumetra
