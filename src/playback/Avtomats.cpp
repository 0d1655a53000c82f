#include "playback/Avtomats.h"

#include <algorithm>

namespace lumetra {

namespace {
constexpr std::uint8_t kZeroSpeed = 20;
// The interval is a signed 16-bit product in the stored shows' own program;
// a speed above 181 (only from a file) would turn it negative, so it is
// held at the slowest speed whose square still fits.
constexpr int kMaxSpeed = 181;
constexpr int kSteps = 8;

// Generator 1 turns back after 10 passes and forward again after 20,
// generator 2 after 12 and 24: the two never fall into step.
constexpr std::uint8_t kForwardTurns[kAvtomatCount] = {10, 12};
constexpr std::uint8_t kLastTurn[kAvtomatCount] = {20, 24};

// One row per pattern, one column per step; a 1 is bright, a 0 dark, for
// L1..L4 from the left.
constexpr const char* kPatterns[kAvtomatPatterns][kSteps] = {
    {"1000", "0100", "0010", "0001", "1000", "0100", "0010", "0001"},  // one running light
    {"1100", "0110", "0011", "1001", "1100", "0110", "0011", "1001"},  // two running lights
    {"1100", "0011", "1100", "0011", "0110", "1001", "0110", "1001"},  // running shadow
    {"1000", "1100", "1110", "1111", "0111", "0011", "0001", "0000"},  // fill
};
}  // namespace

AvtomatTiming avtomatTiming(std::uint8_t speed) {
    const int v = std::min<int>(speed == 0 ? kZeroSpeed : speed, kMaxSpeed);
    const int interval = v * v;
    return {interval, std::to_string(60000 / interval) + " Flash/мин "};
}

AvtomatLevels avtomatPattern(int pattern, int step, std::uint8_t bright, std::uint8_t dark) {
    AvtomatLevels levels;
    levels.fill(dark);
    if (pattern < 1 || pattern > kAvtomatPatterns || step < 0 || step >= kSteps) return levels;
    const char* row = kPatterns[pattern - 1][step];
    for (int i = 0; i < kAvtomatChannels; ++i)
        if (row[i] == '1') levels[i] = bright;
    return levels;
}

void AvtomatStep::advance() {
    if (step_ == 3) ++turns_;
    if (turns_ > lastTurn_) turns_ = 0;
    if (turns_ < forwardTurns_)
        step_ = static_cast<std::uint8_t>((step_ + 1) % kSteps);
    else
        step_ = static_cast<std::uint8_t>((step_ + kSteps - 1) % kSteps);
}

Avtomat::Avtomat(Console& console, int index)
    : console_(console),
      index_(index),
      cells_(avtomatCells(index)),
      counter_(kForwardTurns[index], kLastTurn[index]) {}

void Avtomat::setFirstChannel(int position) {
    firstChannel_.set(static_cast<std::uint8_t>(std::clamp(position, 0, kAvtomatMaxChannel)));
}

bool Avtomat::timerTick(bool alone, bool withShow) {
    const bool runs = console_.controls.blackout.get() == 0 &&
                      (alone || (withShow && console_.showRunning.get() == 1));
    // The flag is written once: the real-time tick never sees it drop for
    // one frame between two steps of a running generator.
    if (!runs) {
        active_.set(0);
        return false;
    }
    active_.set(1);
    JobAvtomat();
    return true;
}

void Avtomat::JobAvtomat() {
    counter_.advance();
    const ShowMemory& show = console_.show;
    const AvtomatLevels levels =
        avtomatPattern(pattern_, counter_.step(), show.cell(cells_.bright), show.cell(cells_.dark));
    levels_.copyIn(levels.data());
}

AvtomatLevels Avtomat::levels() const {
    AvtomatLevels out;
    levels_.copyOut(out.data());
    return out;
}

void Avtomat::writeLine(AtomicTable<kDmxSlots>& line) const {
    if (active_.get() == 0) return;
    const int first = firstChannel_.get() + 1;
    for (int i = 0; i < kAvtomatChannels; ++i) line.set(first + i, levels_.get(i));
}

void Avtomats::OutJobAvtomats(Console& console) {
    one_.writeLine(console.dmxLine);
    two_.writeLine(console.dmxLine);
}

}  // namespace lumetra
