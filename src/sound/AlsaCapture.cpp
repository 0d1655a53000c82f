#include "sound/AlsaCapture.h"

#include <alsa/asoundlib.h>

#include <cstdio>

namespace lumetra::sound {

namespace {
constexpr unsigned kLatencyUs = 20000;  // the device's buffer; periods of about 5 ms
constexpr int kWaitMs = 100;            // how soon the thread sees a stop
constexpr int kReadFrames = 256;

void note(const std::string& device, const char* what, int err) {
    std::fprintf(stderr, "lumetra: sound input %s: %s: %s\n", device.c_str(), what,
                 snd_strerror(err));
}
}  // namespace

OpenedCapture AlsaCapture::open(const std::string& device, int ringSamples) {
    OpenedCapture result;
    snd_pcm_t* pcm = nullptr;
    int err = snd_pcm_open(&pcm, device.c_str(), SND_PCM_STREAM_CAPTURE, SND_PCM_NONBLOCK);
    if (err < 0) {
        note(device, "open", err);
        // No card at all is told first. A device that opens without a card
        // (a sound server, a file device) is an input all the same.
        int card = -1;
        if (snd_card_next(&card) < 0 || card < 0)
            result.failures.push_back({"нет звуковой платы", "Error"});
        result.failures.push_back({"не открывается waveIn", "Error"});
        return result;
    }
    err = snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, 1,
                             kSampleRate, 1, kLatencyUs);
    if (err < 0) {
        note(device, "format", err);
        snd_pcm_close(pcm);
        result.failures.push_back({"error", "Out Prepare error"});
        return result;
    }
    err = snd_pcm_start(pcm);
    if (err < 0) {
        note(device, "start", err);
        snd_pcm_close(pcm);
        result.failures.push_back({"error", "Wave out error"});
        return result;
    }
    std::unique_ptr<AlsaCapture> capture(new AlsaCapture(pcm, ringSamples));
    capture->thread_ = std::thread([c = capture.get()] { c->run(); });
    result.capture = std::move(capture);
    return result;
}

AlsaCapture::~AlsaCapture() {
    stop_.store(true);
    if (thread_.joinable()) thread_.join();
    snd_pcm_close(pcm_);
}

void AlsaCapture::run() {
    std::int16_t frames[kReadFrames];
    while (!stop_.load()) {
        const int ready = snd_pcm_wait(pcm_, kWaitMs);
        if (ready == 0) continue;
        snd_pcm_sframes_t got = ready < 0 ? ready : snd_pcm_readi(pcm_, frames, kReadFrames);
        if (got == -EAGAIN) continue;
        if (got < 0) {
            // An overrun (the thread was held up) or a suspend: start again.
            if (snd_pcm_recover(pcm_, static_cast<int>(got), 1) == 0 && snd_pcm_start(pcm_) >= 0)
                continue;
            if (snd_pcm_state(pcm_) == SND_PCM_STATE_RUNNING) continue;
            // The device is gone (a USB card pulled out): silence from now on.
            note("capture", "read", static_cast<int>(got));
            ring_.clear();
            return;
        }
        ring_.push(frames, static_cast<int>(got));
    }
}

void AlsaCapture::fillBlock(Block& block) {
    std::int16_t samples[kBlockSamples];
    ring_.newest(samples, kBlockSamples);
    samplesToBlock(samples, block);
}

}  // namespace lumetra::sound
