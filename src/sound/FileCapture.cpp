#include "sound/FileCapture.h"

#include <samplerate.h>
#include <sndfile.h>

#include <algorithm>
#include <filesystem>

namespace lumetra::sound {

namespace {
constexpr long kReadFrames = 1024;
}

OpenedCapture FileCapture::open(const std::string& path, Clock clock) {
    OpenedCapture result;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        result.failures.push_back({"", "Звуковой файл не существует: " + path});
        return result;
    }
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) {
        result.failures.push_back(
            {"", "Звуковой файл не читается: " + path + "\n" + sf_strerror(nullptr)});
        return result;
    }
    if (info.channels < 1 || info.samplerate < 1) {
        sf_close(file);
        result.failures.push_back({"", "Звуковой файл не читается: " + path});
        return result;
    }
    std::unique_ptr<FileCapture> capture(
        new FileCapture(file, info.channels, info.samplerate, std::move(clock)));
    if (capture->ratio_ != 1.0) {
        int err = 0;
        capture->resampler_ =
            src_callback_new(&FileCapture::supply, SRC_SINC_FASTEST, 1, &err, capture.get());
        if (!capture->resampler_) {
            result.failures.push_back(
                {"", "Звуковой файл не читается: " + path + "\n" + src_strerror(err)});
            return result;
        }
    }
    result.capture = std::move(capture);
    return result;
}

FileCapture::FileCapture(SNDFILE* file, int channels, double rate, Clock clock)
    : file_(file),
      channels_(channels),
      ratio_(kSampleRate / rate),
      clock_(std::move(clock)),
      frames_(static_cast<std::size_t>(kReadFrames) * channels),
      mono_(kReadFrames) {}

FileCapture::~FileCapture() {
    if (resampler_) src_delete(resampler_);
    sf_close(file_);
}

long FileCapture::readMono(float* out, long frames) {
    const sf_count_t got = sf_readf_float(file_, frames_.data(), frames);
    for (sf_count_t f = 0; f < got; ++f) {
        float sum = 0;
        for (int c = 0; c < channels_; ++c) sum += frames_[f * channels_ + c];
        out[f] = sum / static_cast<float>(channels_);
    }
    return static_cast<long>(got);
}

long FileCapture::supply(void* self, float** data) {
    auto* capture = static_cast<FileCapture*>(self);
    *data = capture->mono_.data();
    return capture->readMono(capture->mono_.data(), kReadFrames);
}

int FileCapture::decode(float* out, int count) {
    if (!resampler_) return static_cast<int>(readMono(out, count));
    return static_cast<int>(src_callback_read(resampler_, ratio_, count, out));
}

void FileCapture::fillBlock(Block& block) {
    const auto now = clock_().count();
    const auto due =
        static_cast<std::uint64_t>(std::max<std::int64_t>(now, 0)) * kSampleRate / 1000000000ULL;
    if (due <= played_) return;  // nothing new since the last block

    // Only the newest block counts: of a long stretch, decode and drop all
    // but its last samples.
    std::uint64_t missing = due - played_;
    const std::int64_t arrived = monotonicNs();
    float decoded[kReadFrames];
    std::int16_t samples[kReadFrames];
    while (missing > 0) {
        const int want = static_cast<int>(std::min<std::uint64_t>(missing, kReadFrames));
        int got = ended_ ? 0 : decode(decoded, want);
        if (got < want) ended_ = true;
        src_float_to_short_array(decoded, samples, got);
        std::fill(samples + got, samples + want, 0);  // silence after the end
        // The last of these samples is the one due now, less what is still
        // missing after them.
        const auto later = static_cast<std::int64_t>((missing - want) * 1000000000ULL / kSampleRate);
        stream_.push(samples, want, arrived - later);
        const int keep = std::min(want, kBlockSamples);
        std::move(newest_.begin() + keep, newest_.end(), newest_.begin());
        std::copy(samples + want - keep, samples + want, newest_.end() - keep);
        missing -= want;
        // Past the end there is nothing to decode: the rest is silence.
        if (ended_ && missing > kBlockSamples) missing = kBlockSamples;
    }
    played_ = due;
    samplesToBlock(newest_.data(), block);
}

}  // namespace lumetra::sound
