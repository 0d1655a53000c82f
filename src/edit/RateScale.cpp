#include "edit/RateScale.h"

#include <algorithm>

namespace lumetra {

namespace {

constexpr std::array<RateChoice, kRatePositions> kScale{{
    {1, "15"},
    {2, "7"},
    {4, "3"},
    {8, "2"},
    {20, "1"},
    {50, "0,5"},
    {100, "0,2"},
    {255, "no"},
}};

}  // namespace

RateChoice TabRate(int position) {
    return kScale[std::clamp(position, 0, kRatePositions - 1)];
}

int RateSliderPosition(std::uint8_t step) {
    // The first position whose canonical step is not below the stored one;
    // a stored 0 (the channel holds) shows as the slowest position.
    for (int p = 0; p < kRatePositions; ++p) {
        if (step <= kScale[p].step) return p;
    }
    return kRatePositions - 1;
}

std::string_view ScrollBarRateChange(Console& console, int row, int position) {
    const RateChoice choice = TabRate(position);
    if (row >= 1 && row <= kFaderRows)
        console.show.set(layout::rateOffset(bankOffset(console) + row), choice.step);
    return choice.label;
}

std::string_view ScrollBarRateLeuelChange(Console& console, int position,
                                          const CheckStates& ticked) {
    const RateChoice choice = TabRate(position);
    console.show.setCell(cell::kGroupRate, choice.step);
    FaderTools(console).CheckBoxToMemory(ticked);
    for (int c = 1; c <= layout::kChannels; ++c) {
        if (console.show.get(layout::selectionOffset(c)) != 0)
            console.show.set(layout::rateOffset(c), choice.step);
    }
    return choice.label;
}

std::array<int, kFaderRows> ReturnRate(const Console& console) {
    std::array<int, kFaderRows> positions{};
    const int bank = bankOffset(console);
    for (int n = 1; n <= kFaderRows; ++n)
        positions[n - 1] = RateSliderPosition(console.show.get(layout::rateOffset(bank + n)));
    return positions;
}

}  // namespace lumetra
