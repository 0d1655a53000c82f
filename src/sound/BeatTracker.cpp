#include "sound/BeatTracker.h"

#include <aubio/aubio.h>
#include <pthread.h>

#include <chrono>
#include <cmath>
#include <vector>

namespace lumetra::sound {

namespace {
constexpr int kWindow = 1024;
constexpr int kHop = 512;
// Below -50 dBFS (RMS of a hop) the input counts as silent.
constexpr double kSilentRms = 0.00316;
// A tracker beat and an onset this close are the same event.
constexpr std::int64_t kConfirmNs = 70'000'000;

// The time of stream position p, from the anchor (position and time of the
// newest sample); p may lie past the anchor (a beat placed ahead).
std::int64_t timeOf(std::uint64_t p, const SampleRing::Anchor& anchor) {
    const auto behind = static_cast<std::int64_t>(anchor.written) - static_cast<std::int64_t>(p);
    return anchor.ns - behind * 1'000'000'000LL / kSampleRate;
}
}  // namespace

BeatTracker::BeatTracker(const SampleRing& stream) : stream_(stream) {
    thread_ = std::thread([this] { run(); });
}

BeatTracker::~BeatTracker() {
    stop_.store(true);
    if (thread_.joinable()) thread_.join();
}

BeatGrid BeatTracker::grid(std::int64_t nowNs) const {
    HeardBeats heard;
    heard.beatNs = beatNs_.load(std::memory_order_acquire);
    heard.periodNs = periodNs_.load(std::memory_order_acquire);
    heard.streak = streak_.load(std::memory_order_acquire);
    heard.soundNs = soundNs_.load(std::memory_order_acquire);
    return heard.gridAt(nowNs);
}

void BeatTracker::run() {
    pthread_setname_np(pthread_self(), "lumetra-beat");
    aubio_tempo_t* tempo = new_aubio_tempo("default", kWindow, kHop, kSampleRate);
    fvec_t* in = new_fvec(kHop);
    fvec_t* out = new_fvec(1);
    // The energy onsets: the drums' kicks and snares rather than the hi-hats.
    aubio_onset_t* onset = new_aubio_onset("energy", kWindow, kHop, kSampleRate);
    fvec_t* onsetOut = new_fvec(1);
    if (!tempo || !in || !out || !onset || !onsetOut) return;
    aubio_tempo_set_silence(tempo, -50);
    aubio_onset_set_silence(onset, -50);

    std::uint64_t position = stream_.anchor().written;  // next sample to analyse
    std::uint64_t base = position;  // stream position of aubio's sample 0
    std::vector<std::int16_t> hop(kHop);
    HeardBeats heard;  // this thread's own copy
    std::int64_t lastOnsetNs = 0, pendingNs = 0, pendingPeriod = 0;
    std::uint64_t tempoBase = base;  // stream position of the tracker's sample 0
    while (!stop_.load()) {
        const SampleRing::Anchor anchor = stream_.anchor();
        if (!listening_.load(std::memory_order_relaxed)) {
            base += anchor.written - position;
            tempoBase += anchor.written - position;
            position = anchor.written;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            continue;
        }
        if (anchor.written < position + kHop) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            continue;
        }
        // Fallen behind further than the stream keeps: go on from its newest
        // samples (aubio's count of samples goes on where it was).
        if (anchor.written - position > static_cast<std::uint64_t>(stream_.capacity() - kHop)) {
            const std::uint64_t resume = anchor.written - kHop;
            base += resume - position;
            tempoBase += resume - position;
            position = resume;
        }
        if (!stream_.copy(position, hop.data(), kHop)) continue;
        const auto started = std::chrono::steady_clock::now();
        double energy = 0;
        for (int n = 0; n < kHop; ++n) {
            const smpl_t v = static_cast<smpl_t>(hop[n]) / 32768.0f;
            in->data[n] = v;
            energy += static_cast<double>(v) * v;
        }
        aubio_tempo_do(tempo, in, out);
        position += kHop;
        const std::int64_t hopEndNs = timeOf(position, anchor);
        if (std::sqrt(energy / kHop) > kSilentRms)
            soundNs_.store(hopEndNs, std::memory_order_release);
        aubio_onset_do(onset, in, onsetOut);
        // A beat counts when the music has an onset on it: the tracker goes
        // on predicting beats through a break, where nothing is played on
        // them. Whichever of the two comes second confirms the first.
        bool heardOne = false;
        if (out->data[0] != 0) {
            const std::int64_t at = timeOf(tempoBase + aubio_tempo_get_last(tempo), anchor);
            const auto period = static_cast<std::int64_t>(
                static_cast<double>(aubio_tempo_get_period(tempo)) * 1e9 / kSampleRate);
            // Confirmed, the beat is placed on the onset: the drum itself is
            // the sharper of the two.
            if (std::llabs(at - lastOnsetNs) <= kConfirmNs) {
                heardOne = heard.tracked(lastOnsetNs, period);
            } else {
                pendingNs = at;
                pendingPeriod = period;
            }
        }
        if (onsetOut->data[0] != 0) {
            lastOnsetNs = timeOf(base + aubio_onset_get_last(onset), anchor);
            if (pendingNs != 0 && std::llabs(lastOnsetNs - pendingNs) <= kConfirmNs) {
                heardOne = heard.tracked(lastOnsetNs, pendingPeriod) || heardOne;
                pendingNs = 0;
            } else {
                // The tracker falls quiet now and then on very regular
                // music, and slowly finds a beat back after a break; onsets
                // at the tempo keep the beat and take it up again.
                heardOne = heard.onset(lastOnsetNs) || heardOne;
            }
        }
        if (heardOne) {
            streak_.store(heard.streak, std::memory_order_release);
            periodNs_.store(heard.periodNs, std::memory_order_release);
            beatNs_.store(heard.beatNs, std::memory_order_release);
        }
        busyNs_.fetch_add(std::chrono::duration_cast<std::chrono::nanoseconds>(
                              std::chrono::steady_clock::now() - started)
                              .count(),
                          std::memory_order_relaxed);
    }
    del_fvec(onsetOut);
    del_aubio_onset(onset);
    del_fvec(out);
    del_fvec(in);
    del_aubio_tempo(tempo);
}

}  // namespace lumetra::sound
