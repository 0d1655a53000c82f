#pragma once

#include <sndfile.h>

#include <cstdint>
#include <string>
#include <vector>

namespace lumetra::testing {

// Writes interleaved 16-bit samples as a WAV file.
inline void writeWav(const std::string& path, int rate, int channels,
                     const std::vector<std::int16_t>& samples) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!f) return;
    sf_writef_short(f, samples.data(), static_cast<sf_count_t>(samples.size() / channels));
    sf_close(f);
}

// A click track: `clicks` bursts of a 1 kHz tone 10 ms long at 0.9 of full
// scale, one every `periodMs`, starting after `leadMs` of silence.
inline std::vector<std::int16_t> clickTrack(int clicks, int periodMs, int leadMs) {
    const int rate = 44100;
    std::vector<std::int16_t> s(static_cast<std::size_t>(rate) * (leadMs + clicks * periodMs) /
                                1000);
    for (int k = 0; k < clicks; ++k) {
        const std::size_t start = static_cast<std::size_t>(rate) * (leadMs + k * periodMs) / 1000;
        for (int n = 0; n < rate / 100; ++n) {
            const int phase = n % 44;  // about 1 kHz, a square wave
            s[start + n] = phase < 22 ? 29490 : -29490;
        }
    }
    return s;
}

}  // namespace lumetra::testing
