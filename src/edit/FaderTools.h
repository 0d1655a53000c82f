#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/Console.h"

namespace lumetra {

// The 27 check boxes ("Выбор") and the 27 fader positions of the fader page,
// row 1 at index 0.
using CheckStates = std::array<bool, kFaderRows>;
using FaderPositions = std::array<std::uint8_t, kFaderRows>;

constexpr int kMaxBankOffset = layout::kChannels - kFaderRows;  // 228

// The bank offset as the page uses it, bounded so that row 27 never
// reaches past channel 255.
int bankOffset(const Console& console);

// What a level or selection button did.
struct ToolResult {
    bool applied = false;     // false: refused while the show plays
    std::string_view status;  // status line text, empty for none
};

// One output label of the fader page.
struct OutputLabel {
    int row;  // 1..27
    std::string text;
};

// Output level as shown in "%" mode: ⌈100·v / 255⌉.
int levelPercent(std::uint8_t v);
std::string outputLabelText(std::uint8_t v, bool percent);

// The engine half of the fader page: every operation reads and writes the
// show and returns what the widgets must show. Refreshes from memory (the
// CheckBoxFromMemory / ReturnScrollBars family) never write the show; they
// only keep the control mirrors that the real-time tick reads in step with
// what the page shows.
class FaderTools {
  public:
    explicit FaderTools(Console& console) : console_(console) {}

    // Bank slider moved; returns the offset in force (0..228).
    int ScrolbarVertPosChange(int position);
    // Texts of the 27 channel number labels: "1".."27" at offset 0.
    std::array<std::string, kFaderRows> NamberDmx() const;

    // Fader n (1..27) moved to position. Stores into the current scene
    // unless the show plays; returns whether the scene was written.
    bool ScrollBarChange(int row, int position);
    // Check box n (1..27) clicked; stored also while the show plays.
    void CheckBoxClick(int row, bool ticked);

    CheckStates CheckBoxFromMemory();
    void CheckBoxToMemory(const CheckStates& ticked);

    // Fader positions to show for the current scene. In manual mode the
    // rows ticked in `ticked` keep their `shown` positions.
    FaderPositions ReturnScrollBars(const FaderPositions& shown, const CheckStates& ticked,
                                    bool manual);

    // Group level slider: writes the visible boxes back, then sets every
    // selected channel of the current scene. Runs also while playing.
    void ScrollBarLevelAllChange(int position, const CheckStates& ticked);

    ToolResult SpeedButtonVis0Click() { return setVisible(0, " Установлено в 0 "); }
    ToolResult SpeedButtonVis127Click() { return setVisible(127, " Установлено в 127"); }
    ToolResult SpeedButtonVis255Click() { return setVisible(255, " Установлено в 255"); }
    ToolResult SpeedButtonAllScrl0Click();

    // Selection buttons; each returns the check states to show.
    CheckStates ButtonResetFlagVyborClick() { return setVisibleFlags(0); }
    CheckStates SpeedButtonOnVisCheckClick() { return setVisibleFlags(1); }
    CheckStates SpeedButtonOffAllCheckClick();
    static constexpr std::string_view kAllFlagsCleared = " Все флажки Установлены ";
    // Inverts rows firstRow..firstRow+4 for firstRow 1, 6, 11, 16 or 21
    // (rows 26 and 27 have no invert button), then writes the boxes back.
    CheckStates SpeedButtonInvClick(int firstRow, const CheckStates& shown);

    // The manual overlay of the real-time tick: ticked rows put their fader
    // positions into the line (from the control mirrors).
    static void CheckBoxManualScrollBar(Console& console);

    // Output labels for one display tick: all rows, or in slow mode the
    // next three rows of the LabelRefreshCounter cycle.
    std::vector<OutputLabel> outputLabels(bool allRows, bool percent);
    int labelRefreshCounter() const { return labelRefreshCounter_; }

  private:
    ToolResult setVisible(std::uint8_t level, std::string_view status);
    CheckStates setVisibleFlags(std::uint8_t flag);
    void selectCurrentScene();

    Console& console_;
    int labelRefreshCounter_ = 1;
};

}  // namespace lumetra
