#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/Console.h"
#include "output/OutputCycle.h"

namespace lumetra {

// The two four-channel chase generators ("Автомат 1", "Автомат 2"). Each has
// its own window timer that moves an eight-position step counter and derives
// four levels (bright or dark) from one of four patterns; the real-time tick
// lays the levels of the running generators over the line. The settings are
// system-block cells and travel with the show; the step, the levels and the
// active flag are run-time state only.

constexpr int kAvtomatCount = 2;
constexpr int kAvtomatChannels = 4;
constexpr int kAvtomatPatterns = 4;
constexpr int kAvtomatMaxChannel = 250;  // first-channel slider: drives c+1..c+4

// The five cells of generator n (0 or 1): 145..149 and 150..154.
struct AvtomatCells {
    int speed, channel, program, bright, dark;
};
constexpr AvtomatCells avtomatCells(int n) {
    const int base = cell::kAvtomat1Speed + 5 * n;
    return {base, base + 1, base + 2, base + 3, base + 4};
}

// Timer interval and label of a speed cell (TempAvtomatStatus): v·v ms, a
// zero cell counting as 20.
struct AvtomatTiming {
    int intervalMs;
    std::string label;  // "24 Flash/мин "
};
AvtomatTiming avtomatTiming(std::uint8_t speed);

using AvtomatLevels = std::array<std::uint8_t, kAvtomatChannels>;

// L1..L4 of pattern 1..4 at step 0..7 from the bright and dark levels
// (Avtomat1Program1 .. Avtomat2Program4: both generators share them). Any
// other pattern gives all dark.
AvtomatLevels avtomatPattern(int pattern, int step, std::uint8_t bright, std::uint8_t dark);

// The step counter: forward 0..7 round and round until it has passed
// position 3 `forwardTurns` times, then backward until the turn count
// passes `lastTurn`, then forward again.
class AvtomatStep {
  public:
    AvtomatStep(std::uint8_t forwardTurns, std::uint8_t lastTurn)
        : forwardTurns_(forwardTurns), lastTurn_(lastTurn) {}
    void advance();
    std::uint8_t step() const { return step_; }
    std::uint8_t turns() const { return turns_; }

  private:
    std::uint8_t forwardTurns_;
    std::uint8_t lastTurn_;
    std::uint8_t step_ = 0;
    std::uint8_t turns_ = 0;
};

// One generator. The timer tick and the step run on the UI thread; the
// real-time tick reads only the shared bytes (active, first channel, levels).
class Avtomat {
  public:
    Avtomat(Console& console, int index);

    int index() const { return index_; }
    const AvtomatCells& cells() const { return cells_; }

    // TimerTempAvtomatNTimer after the heartbeat: the generator runs when
    // "Пуск самостоятельно" is ticked, or "С основным" while the show plays,
    // never under blackout. Returns whether it stepped.
    bool timerTick(bool alone, bool withShow);
    // JobAvtomatN: one step with the pattern button that is down.
    void JobAvtomat();

    // Mirrors of the controls the generator reads: the pattern button that
    // is down (1..4) and the first-channel slider's position.
    void setPattern(int pattern) { pattern_ = pattern; }
    int pattern() const { return pattern_; }
    void setFirstChannel(int position);
    int firstChannel() const { return firstChannel_.get(); }

    bool active() const { return active_.get() != 0; }
    std::uint8_t step() const { return counter_.step(); }
    std::uint8_t turns() const { return counter_.turns(); }
    AvtomatLevels levels() const;

    // Real-time tick: the four levels onto slots c+1..c+4 while active.
    void writeLine(AtomicTable<kDmxSlots>& line) const;

  private:
    Console& console_;
    int index_;
    AvtomatCells cells_;
    AvtomatStep counter_;
    int pattern_ = 1;
    SharedByte firstChannel_{0};
    SharedByte active_{0};
    AtomicTable<kAvtomatChannels> levels_;
};

// Both generators, plugged into the output cycle's seam.
class Avtomats : public AvtomatOutput {
  public:
    explicit Avtomats(Console& console) : one_(console, 0), two_(console, 1) {}
    Avtomat& operator[](int n) { return n == 0 ? one_ : two_; }
    const Avtomat& operator[](int n) const { return n == 0 ? one_ : two_; }

    // Generator 1 first, so generator 2 wins where the two overlap.
    void OutJobAvtomats(Console& console) override;

  private:
    Avtomat one_;
    Avtomat two_;
};

}  // namespace lumetra
