#pragma once

#include <string>

namespace lumetra {

// The playing / pause clock of the sequencer page. Play and Stop both reset
// it, so it counts the time since the last Play while playing and since the
// last Stop (or start-up) while stopped.
class ShowClock {
  public:
    int hours() const { return hours_; }
    int minutes() const { return minutes_; }
    int seconds() const { return seconds_; }

    void reset() { hours_ = minutes_ = seconds_ = 0; }
    // One second; the day rolls over to 0:0:0 after 23:59:59.
    void tick();

    // "Шоу   = 1ч 2м 3с " and "Паузa = 1ч 2м 3с " (the "a" is Latin,
    // as the console has always shown it).
    std::string showText() const;
    std::string pauseText() const;

  private:
    std::string counters() const;

    int hours_ = 0;
    int minutes_ = 0;
    int seconds_ = 0;
};

// Where the outputs stand (the USB interface, olad universes), as the
// once-a-second refresh needs it.
struct InterfaceState {
    bool offline = false;    // "Работа в DEMO режиме" ticked
    bool open = false;       // at least one output is open
    std::string statusText;  // the outputs' last error texts
    // With several outputs: the texts of those not open while another one
    // is (empty with one output).
    std::string closedText;
};

// The start of the main window's caption and the first status panel.
struct InterfaceCaption {
    std::string captionPrefix;
    std::string statusPanel;
};

InterfaceCaption interfaceCaption(const InterfaceState& state);

}  // namespace lumetra
