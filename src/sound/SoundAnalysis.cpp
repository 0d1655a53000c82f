#include "sound/SoundAnalysis.h"

#include <algorithm>

namespace lumetra::sound {

int decodeWord(std::uint8_t lo, std::uint8_t hi) {
    const int low = lo <= 128 ? lo : 255 - lo;
    return hi <= 127 ? hi * 255 + low : low - (255 - hi) * 255;
}

int SoundAnalysis::soundLevel(int realLevel, int floor) {
    int level = realLevel < 300 ? 0 : realLevel;
    level /= 128;
    return std::min((255 - floor) * level / 200 + floor, 255);
}

void SoundAnalysis::tick() {
    const auto before = counters();
    const auto traceBefore = trace_;
    // Peak and trace over the window.
    int peak = 0;
    for (int i = kWindowStart; i <= kWindowEnd; ++i) {
        const int at = 4 * i + 2;
        const std::uint8_t lo = at < kBlockBytes ? block_[at] : 0;
        const std::uint8_t hi = at + 1 < kBlockBytes ? block_[at + 1] : 0;
        const int e = decodeWord(lo, hi);
        peak = std::max({peak, e, -e});
        if (i < kPanelWidth - 3)
            trace_[i - kWindowStart] = {i - 1, kPanelHeight / 2 + e / kTraceDivisor};
    }
    peak_ = peak;
    if (peak > realLevel_) realLevel_ = std::min(peak, kBarMax);

    // Envelope: an attack that overshoots RL is followed at once by a release.
    int k = envelope_;
    if (k < realLevel_) k += settings_.attack;
    if (realLevel_ < k) k -= settings_.release;
    envelope_ = std::clamp(k, 0, kBarMax);

    // Beat, held off for the hold time.
    if (envelope_ < realLevel_ && realLevel_ > kBeatThreshold && holdCounter_ == 0) {
        beatCounter_ = (beatCounter_ + 1) % 4;
        if (settings_.setsBeatFlag) console_.beatFlag.set(1);
        holdCounter_ = settings_.holdTicks;
    }
    if (holdCounter_ >= 1) --holdCounter_;

    realLevel_ = std::max(realLevel_ - kDecayPerTick, 0);
    console_.soundLevel.store(soundLevel(realLevel_, settings_.floor), std::memory_order_relaxed);

    unchanged_ = counters() == before && trace_ == traceBefore;
}

std::array<int, 6> SoundAnalysis::counters() const {
    return {peak_,        realLevel_,   envelope_,
            beatCounter_, holdCounter_, console_.soundLevel.load(std::memory_order_relaxed)};
}

}  // namespace lumetra::sound
