#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "sound/SoundCapture.h"

typedef struct sf_private_tag SNDFILE;
typedef struct SRC_STATE_tag SRC_STATE;

namespace lumetra::sound {

// A sound file (anything libsndfile reads: WAV, FLAC, Ogg ...) played in
// real time as if it came in through the sound card: mixed down to mono,
// brought to 44,100 Hz when it has another rate, and paced by the clock, so
// that each block is the newest 250 samples at that moment. After its end
// the input is silent.
class FileCapture final : public SoundCapture {
  public:
    static OpenedCapture open(const std::string& path, Clock clock);
    ~FileCapture() override;

    void fillBlock(Block& block) override;

    // Samples played so far (44,100 per second of the clock).
    std::uint64_t position() const { return played_; }
    bool ended() const { return ended_; }
    const SampleRing* stream() const override { return &stream_; }

  private:
    FileCapture(SNDFILE* file, int channels, double rate, Clock clock);
    // Decodes up to `count` mono samples at 44,100 Hz; fewer at the end.
    int decode(float* out, int count);
    long readMono(float* out, long frames);
    static long supply(void* self, float** data);

    SNDFILE* file_;
    int channels_;
    double ratio_;  // 44,100 / the file's rate
    SRC_STATE* resampler_ = nullptr;
    Clock clock_;
    std::vector<float> frames_;  // interleaved, one read
    std::vector<float> mono_;    // the resampler's input
    std::array<std::int16_t, kBlockSamples> newest_{};
    SampleRing stream_{1 << 16};  // every sample played, about 1.5 s
    std::uint64_t played_ = 0;
    bool ended_ = false;
};

}  // namespace lumetra::sound
