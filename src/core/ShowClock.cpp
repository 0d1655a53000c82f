#include "core/ShowClock.h"

namespace lumetra {

void ShowClock::tick() {
    if (++seconds_ < 60) return;
    seconds_ = 0;
    if (++minutes_ < 60) return;
    minutes_ = 0;
    if (++hours_ < 24) return;
    hours_ = 0;
}

std::string ShowClock::counters() const {
    return std::to_string(hours_) + "ч " + std::to_string(minutes_) + "м " +
           std::to_string(seconds_) + "с ";
}

std::string ShowClock::showText() const {
    return "Шоу   = " + counters();
}

// The "a" of "Паузa" is a Latin a on purpose: it is the console's own text.
std::string ShowClock::pauseText() const {
    return "Паузa = " + counters();
}

InterfaceCaption interfaceCaption(const InterfaceState& state) {
    if (state.offline) return {"DEMO mode: ", "    DEMO MODE "};
    if (state.open) return {"Lumetra v5.4.1 ", state.closedText};
    return {" DEMO MODE: ", state.statusText};
}

}  // namespace lumetra
