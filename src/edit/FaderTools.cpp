#include "edit/FaderTools.h"

#include <algorithm>

namespace lumetra {

namespace {

bool validRow(int row) {
    return row >= 1 && row <= kFaderRows;
}

}  // namespace

int bankOffset(const Console& console) {
    return std::min<int>(console.controls.bankOffset.get(), kMaxBankOffset);
}

int levelPercent(std::uint8_t v) {
    return (100 * v + 254) / 255;
}

std::string outputLabelText(std::uint8_t v, bool percent) {
    return std::to_string(percent ? levelPercent(v) : v);
}

int FaderTools::ScrolbarVertPosChange(int position) {
    const int offset = std::clamp(position, 0, kMaxBankOffset);
    console_.controls.bankOffset.set(static_cast<std::uint8_t>(offset));
    return offset;
}

std::array<std::string, kFaderRows> FaderTools::NamberDmx() const {
    std::array<std::string, kFaderRows> numbers;
    const int bank = bankOffset(console_);
    for (int n = 1; n <= kFaderRows; ++n) numbers[n - 1] = std::to_string(bank + n);
    return numbers;
}

void FaderTools::selectCurrentScene() {
    console_.show.RaschetAdr(static_cast<std::uint8_t>(console_.show.currentScene()));
}

bool FaderTools::ScrollBarChange(int row, int position) {
    if (!validRow(row)) return false;
    const std::uint8_t level = clampLevel(position);
    // The manual overlay follows the fader whatever the show does.
    console_.controls.faderPosition.set(row - 1, level);
    if (console_.showRunning.get() == 1) return false;
    selectCurrentScene();
    console_.show.set(console_.show.CurrentSceneBase() + bankOffset(console_) + row, level);
    return true;
}

void FaderTools::CheckBoxClick(int row, bool ticked) {
    if (!validRow(row)) return;
    console_.controls.faderTicked.set(row - 1, ticked ? 1 : 0);
    console_.show.set(layout::selectionOffset(bankOffset(console_) + row), ticked ? 1 : 0);
}

CheckStates FaderTools::CheckBoxFromMemory() {
    CheckStates states{};
    const int bank = bankOffset(console_);
    for (int n = 1; n <= kFaderRows; ++n) {
        // Only a 1 shows ticked; other non-zero bytes from a file show unticked.
        states[n - 1] = console_.show.get(layout::selectionOffset(bank + n)) == 1;
        console_.controls.faderTicked.set(n - 1, states[n - 1] ? 1 : 0);
    }
    return states;
}

void FaderTools::CheckBoxToMemory(const CheckStates& ticked) {
    const int bank = bankOffset(console_);
    for (int n = 1; n <= kFaderRows; ++n) {
        const std::uint8_t flag = ticked[n - 1] ? 1 : 0;
        console_.controls.faderTicked.set(n - 1, flag);
        console_.show.set(layout::selectionOffset(bank + n), flag);
    }
}

FaderPositions FaderTools::ReturnScrollBars(const FaderPositions& shown, const CheckStates& ticked,
                                            bool manual) {
    FaderPositions positions{};
    const int scene = console_.show.currentScene();
    const int bank = bankOffset(console_);
    for (int n = 1; n <= kFaderRows; ++n) {
        const bool keep = manual && ticked[n - 1];
        positions[n - 1] = keep ? shown[n - 1] : console_.show.level(scene, bank + n);
        console_.controls.faderPosition.set(n - 1, positions[n - 1]);
    }
    return positions;
}

void FaderTools::ScrollBarLevelAllChange(int position, const CheckStates& ticked) {
    selectCurrentScene();
    CheckBoxToMemory(ticked);
    const int base = console_.show.CurrentSceneBase();
    const std::uint8_t level = clampLevel(position);
    for (int c = 1; c <= layout::kChannels; ++c) {
        if (console_.show.get(layout::selectionOffset(c)) != 0) console_.show.set(base + c, level);
    }
}

ToolResult FaderTools::setVisible(std::uint8_t level, std::string_view status) {
    if (console_.showRunning.get() == 1) return {};
    selectCurrentScene();
    const int first = console_.show.CurrentSceneBase() + bankOffset(console_) + 1;
    console_.show.fill(level, first, first + kFaderRows);
    return {true, status};
}

ToolResult FaderTools::SpeedButtonAllScrl0Click() {
    if (console_.showRunning.get() == 1) return {};
    selectCurrentScene();
    const int base = console_.show.CurrentSceneBase();
    console_.show.fill(0, base, base + layout::kSceneSize);
    return {true, " Вся сцена установлена в 0"};
}

CheckStates FaderTools::setVisibleFlags(std::uint8_t flag) {
    const int first = layout::selectionOffset(bankOffset(console_) + 1);
    console_.show.fill(flag, first, first + kFaderRows);
    return CheckBoxFromMemory();
}

CheckStates FaderTools::SpeedButtonOffAllCheckClick() {
    const int first = layout::selectionOffset(0);
    console_.show.fill(0, first, first + layout::kSceneSize);
    return CheckBoxFromMemory();
}

CheckStates FaderTools::SpeedButtonInvClick(int firstRow, const CheckStates& shown) {
    CheckStates states = shown;
    if (firstRow < 1 || firstRow > 21 || (firstRow - 1) % 5 != 0) return states;
    for (int n = firstRow; n < firstRow + 5; ++n) states[n - 1] = !states[n - 1];
    CheckBoxToMemory(states);
    return states;
}

void FaderTools::CheckBoxManualScrollBar(Console& console) {
    const int bank = bankOffset(console);
    for (int n = 1; n <= kFaderRows; ++n) {
        if (console.controls.faderTicked.get(n - 1) != 0)
            console.dmxLine.set(bank + n, console.controls.faderPosition.get(n - 1));
    }
}

std::vector<OutputLabel> FaderTools::outputLabels(bool allRows, bool percent) {
    int first = 1;
    int last = kFaderRows;
    if (!allRows) {
        labelRefreshCounter_ = labelRefreshCounter_ % 9 + 1;
        last = 3 * labelRefreshCounter_;
        first = last - 2;
    }
    std::vector<OutputLabel> labels;
    labels.reserve(last - first + 1);
    const int bank = bankOffset(console_);
    for (int n = first; n <= last; ++n)
        labels.push_back({n, outputLabelText(console_.dmxLine.get(bank + n), percent)});
    return labels;
}

}  // namespace lumetra
