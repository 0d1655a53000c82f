#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/Console.h"
#include "core/ShowClock.h"

namespace lumetra {

// Colour of the tempo indicator square for one flash.
enum class TempoIndicator : std::uint8_t { Green, Black, Red };

// What one step of the sequencer timer asks of the window.
struct SequencerStep {
    TempoIndicator indicator = TempoIndicator::Green;  // flash for 100 ms
    bool waitingForBeat = false;                       // sound triggering on and no beat heard yet
    bool stopped = false;                              // the show is not playing
    bool advanced = false;     // the current scene changed: refresh the page
    bool wrapped = false;      // the last scene went over to scene 0
    bool conveyorDue = false;  // wrapped with a conveyor mode on
};

// Result of deriving the step interval from the tempo cell.
struct TempoStatus {
    int intervalMs = 0;
    std::string label;  // LabelTemp
};

// Result of one second of the show clock.
struct ClockTick {
    InterfaceCaption caption;
    bool playing = false;  // true: LabelTimeShou gets text, else LabelTimePause
    std::string text;
};

// The scene sequencer: steps cell 131 through the scene list at the tempo
// of cell 133 and fills TempoSteps for the "Автомат" crossfade. It owns no
// widget; the window calls these from its handlers and moves its controls
// from the results.
class Sequencer {
  public:
    static constexpr int kMinTempo = 10;
    static constexpr int kMaxTempo = 170;
    static constexpr int kDefaultTempo = 44;
    static constexpr int kTickMs = 50;

    explicit Sequencer(Console& console) : console_(console) {}

    // Derives the interval (v·v ms) from cell 133 and the LabelTemp text.
    // A value outside 10..170 can only come from a file; 0 and the values
    // whose 16-bit product turns negative (182..255) are bounded here so
    // that the interval is never zero or negative. The cell itself is left
    // as loaded.
    TempoStatus TempStatus();
    // Tempo slider moved: store into cell 133, then TempStatus.
    TempoStatus ScrollBarTempChange(int position);
    int intervalMs() const { return intervalMs_; }

    // One tick of TimerSeqveser. soundTrigger is the "Работа от звука" box,
    // conveyorMode whether a conveyor button is down. When the show wraps
    // with a conveyor mode on, konveyrJob (if given) runs in place, before
    // the steps are computed, so they belong to the show it loads.
    SequencerStep TimerSeqveserTimer(bool soundTrigger, bool conveyorMode = false,
                                     const std::function<void()>& konveyrJob = {});

    // Fills TempoSteps for the move from the previous scene of the list to
    // the current one, spread over one interval.
    void computeTempoSteps();

    void ModePlay();
    void ModeStop();
    // Double click on Play: play from the first scene.
    void SpeedButtonPlayDblClick();

    // One second of TimerShouClock.
    ClockTick TimerShouClockTimer(const InterfaceState& iface);
    const ShowClock& clock() const { return clock_; }

    // LabelScenHand for a preset start scene slider position (an index).
    static std::string presetSceneLabel(int position);

  private:
    Console& console_;
    int intervalMs_ = kDefaultTempo * kDefaultTempo;
    ShowClock clock_;
};

}  // namespace lumetra
