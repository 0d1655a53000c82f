#include "sound/SoundCapture.h"

#include <algorithm>

#include "sound/AlsaCapture.h"
#include "sound/FileCapture.h"

namespace lumetra::sound {

void samplesToBlock(const std::int16_t* samples, Block& block) {
    for (int n = 0; n < kBlockSamples; ++n) {
        const auto v = static_cast<std::uint16_t>(samples[n]);
        block[2 * n] = static_cast<std::uint8_t>(v & 0xFF);
        block[2 * n + 1] = static_cast<std::uint8_t>(v >> 8);
    }
}

std::int64_t monotonicNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void SampleRing::push(const std::int16_t* samples, int count, std::int64_t nowNs) {
    std::lock_guard lock(mutex_);
    for (int n = 0; n < count; ++n) samples_[(written_ + n) % samples_.size()] = samples[n];
    written_ += count;
    anchorNs_ = nowNs;
}

SampleRing::Anchor SampleRing::anchor() const {
    std::lock_guard lock(mutex_);
    return {written_, anchorNs_};
}

std::uint64_t SampleRing::newest(std::int16_t* out, int count) const {
    std::lock_guard lock(mutex_);
    for (int n = 0; n < count; ++n) {
        const std::int64_t at = static_cast<std::int64_t>(written_) - count + n;
        out[n] = at < 0 ? 0 : samples_[at % samples_.size()];
    }
    return written_;
}

bool SampleRing::copy(std::uint64_t from, std::int16_t* out, int count) const {
    std::lock_guard lock(mutex_);
    if (from + count > written_ || written_ - from > samples_.size()) return false;
    for (int n = 0; n < count; ++n) out[n] = samples_[(from + n) % samples_.size()];
    return true;
}

void SampleRing::clear() {
    std::lock_guard lock(mutex_);
    std::fill(samples_.begin(), samples_.end(), 0);
}

Clock steadyClock() {
    const auto start = std::chrono::steady_clock::now();
    return [start] { return std::chrono::steady_clock::now() - start; };
}

OpenedCapture openSoundCapture(const std::string& source, Clock clock) {
    if (source == "none") return {};
    if (source.rfind("file:", 0) == 0) return FileCapture::open(source.substr(5), std::move(clock));
    if (source == "alsa") return AlsaCapture::open("default");
    if (source.rfind("alsa:", 0) == 0) return AlsaCapture::open(source.substr(5));
    return {nullptr, {{"", "Неизвестный источник звука: " + source}}};
}

}  // namespace lumetra::sound
