#pragma once

#include <atomic>
#include <string>
#include <thread>

#include "sound/SoundCapture.h"

typedef struct _snd_pcm snd_pcm_t;

namespace lumetra::sound {

// Capture from an ALSA device, 16-bit mono at 44,100 Hz (the device layer
// converts when the card wants another format). A thread of its own reads
// the device and keeps the newest samples in a ring; the window thread only
// copies from the ring.
class AlsaCapture final : public SoundCapture {
  public:
    // Reports the console's boxes on the way: no card at all, a device
    // that does not open, a format it refuses, a start that fails.
    // The ring keeps the newest `ringSamples` samples.
    static OpenedCapture open(const std::string& device,
                              int ringSamples = SampleRing::kDefaultCapacity);
    ~AlsaCapture() override;

    void fillBlock(Block& block) override;
    const SampleRing& ring() const { return ring_; }
    const SampleRing* stream() const override { return &ring_; }

  private:
    AlsaCapture(snd_pcm_t* pcm, int ringSamples) : pcm_(pcm), ring_(ringSamples) {}
    void run();

    snd_pcm_t* pcm_;
    SampleRing ring_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace lumetra::sound
