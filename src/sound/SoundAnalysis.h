#pragma once

#include <array>
#include <cstdint>

#include "core/Console.h"

namespace lumetra::sound {

// The capture buffer: 500 bytes of 16-bit little-endian mono, 44,100 Hz.
constexpr int kSampleRate = 44100;
constexpr int kBlockBytes = 500;
constexpr int kBlockSamples = kBlockBytes / 2;
using Block = std::array<std::uint8_t, kBlockBytes>;

// The analysis window: words 1..251, word i at byte 4*i + 2 of the capture
// area (every second sample from the fourth on; words past the buffer read
// as zero, as the rest of the area is never written).
constexpr int kWindowStart = 1;
constexpr int kWindowEnd = kWindowStart + 250;

constexpr int kBarMax = 32000;  // ProgressBarRealLevel, ProgressBarKomp
constexpr int kBeatThreshold = 3000;
constexpr int kDecayPerTick = 300;
constexpr int kTraceDivisor = 2000;
constexpr int kPanelWidth = 121;  // Panelosc
constexpr int kPanelHeight = 49;
constexpr int kTracePoints = kPanelWidth - 3 - kWindowStart;  // i = 1 .. width - 4

// One word of the window as the console reads it: a low byte above 128 is
// folded down (255 - lo), a high byte above 127 makes the value negative.
int decodeWord(std::uint8_t lo, std::uint8_t hi);

// Positions of the sliders of the tab "Звук".
struct SoundSettings {
    int attack = 50;     // ScrollBarAtaka, 50..255
    int release = 50;    // ScrollBarRel, 5..255
    int holdTicks = 20;  // ScrollBarTimeScen, 10..100 ticks of 10 ms
    int floor = 255;     // ScrollBarLevelSmu, 0..255
    // The beat tracker steps the sequencer instead ("по ритму"): the level
    // trigger then only drives its indicator.
    bool setsBeatFlag = true;
};

struct TracePoint {
    int x = 0;
    int y = 0;
    bool operator==(const TracePoint&) const = default;
};

// The 10 ms sound analysis: peak of the block, real level with decay,
// attack/release envelope, beat with hold, the four-step indicator and the
// sound level that dims the selected channels. It writes BeatFlag and
// SoundLevel of the console; everything else is its own, read by the tab.
class SoundAnalysis {
  public:
    explicit SoundAnalysis(Console& console) : console_(console) {}

    // The capture buffer the sound input fills before each tick.
    Block& block() { return block_; }
    SoundSettings& settings() { return settings_; }

    // One tick of TimerAudio after the capture buffer was refilled.
    void tick();

    int peak() const { return peak_; }
    int realLevel() const { return realLevel_; }  // RL
    int envelope() const { return envelope_; }    // K
    int beatCounter() const { return beatCounter_; }
    int holdCounter() const { return holdCounter_; }
    // Indicator: ShapeFlip red on an even count; the lit square 0..3 is
    // ShapeS1..ShapeS4 (count 0 lights ShapeS4, 1 ShapeS1, ...).
    bool flipRed() const { return beatCounter_ % 2 == 0; }
    int litSquare() const { return (beatCounter_ + 3) % 4; }

    // The oscilloscope trace of the last tick; the first line starts at
    // the panel's top-left corner.
    const std::array<TracePoint, kTracePoints>& trace() const { return trace_; }

    static int soundLevel(int realLevel, int floor);

    // Whether the last tick changed nothing. The tick depends only on the
    // block, the settings and this state, so with an unchanged block the
    // next tick changes nothing either, until a setting changes.
    bool lastTickChangedNothing() const { return unchanged_; }

  private:
    std::array<int, 6> counters() const;

    Console& console_;
    Block block_{};
    SoundSettings settings_;
    std::array<TracePoint, kTracePoints> trace_{};
    int peak_ = 0;
    int realLevel_ = 1000;
    int envelope_ = 1000;
    int beatCounter_ = 0;
    int holdCounter_ = 1;
    bool unchanged_ = false;
};

}  // namespace lumetra::sound
