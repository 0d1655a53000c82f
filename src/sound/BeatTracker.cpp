#include "sound/BeatTracker.h"

#include <aubio/aubio.h>
#include <pthread.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

namespace lumetra::sound {

namespace {
// Below -50 dBFS (RMS of a hop) the input counts as silent.
constexpr double kSilentRms = 0.00316;
// A tracker beat and an onset this close are the same event.
constexpr std::int64_t kConfirmNs = 70'000'000;
// An onset is found this long after it sounded, at the most.
constexpr std::int64_t kOnsetLatencyNs = 100'000'000;

// An onset below this share of the strongest recent one (in energy) is an
// ornament, not a beat.
constexpr float kWeakOnset = 1.0f / 30;
}  // namespace

struct BeatAnalysis::Aubio {
    aubio_tempo_t* tempo = new_aubio_tempo("default", kWindow, kHop, kSampleRate);
    // The energy onsets: the drums' kicks and snares rather than the hi-hats.
    aubio_onset_t* onset = new_aubio_onset("energy", kWindow, kHop, kSampleRate);
    fvec_t* in = new_fvec(kHop);
    fvec_t* out = new_fvec(1);
    fvec_t* onsetOut = new_fvec(1);
    ~Aubio() {
        if (onsetOut) del_fvec(onsetOut);
        if (out) del_fvec(out);
        if (in) del_fvec(in);
        if (onset) del_aubio_onset(onset);
        if (tempo) del_aubio_tempo(tempo);
    }
};

BeatAnalysis::BeatAnalysis() : aubio_(std::make_unique<Aubio>()) {
    if (!ok()) return;
    aubio_tempo_set_silence(aubio_->tempo, -50);
    aubio_onset_set_silence(aubio_->onset, -50);
}

BeatAnalysis::~BeatAnalysis() = default;

bool BeatAnalysis::ok() const {
    const Aubio& a = *aubio_;
    return a.tempo && a.onset && a.in && a.out && a.onsetOut;
}

std::int64_t BeatAnalysis::timeOf(std::uint64_t p, std::int64_t endNs) const {
    // p may lie past the hop's end: a beat placed ahead.
    const auto behind = static_cast<std::int64_t>(fed_) - static_cast<std::int64_t>(p);
    return endNs - behind * 1'000'000'000LL / kSampleRate;
}

bool BeatAnalysis::strongOnset(float strength) {
    // Against the strongest of the last onsets: a hi-hat between the drums
    // is some 30 dB below them and no beat. A quieter passage brings the
    // reference down within a few onsets.
    const float loudest = *std::max_element(onsetStrengths_.begin(), onsetStrengths_.end());
    onsetStrengths_[nextStrength_++ % onsetStrengths_.size()] = strength;
    return strength >= loudest * kWeakOnset;
}

bool BeatAnalysis::feed(const std::int16_t* samples, std::int64_t endNs) {
    Aubio& a = *aubio_;
    double energy = 0;
    for (int n = 0; n < kHop; ++n) {
        const smpl_t v = static_cast<smpl_t>(samples[n]) / 32768.0f;
        a.in->data[n] = v;
        energy += static_cast<double>(v) * v;
    }
    aubio_tempo_do(a.tempo, a.in, a.out);
    aubio_onset_do(a.onset, a.in, a.onsetOut);
    fed_ += kHop;
    if (std::sqrt(energy / kHop) > kSilentRms) heard_.soundNs = endNs;
    // A beat an onset confirms is placed on it; whichever of the two comes
    // second confirms the first. A tracker beat that no onset confirmed
    // still counts when the music had an onset since the beat before (much
    // music does not hit every beat hard), not in a break: the tracker goes
    // on predicting beats there, where nothing is played on them.
    bool heardOne = false;
    const auto settle = [&] {
        if (pendingNs_ != 0 && pendingNs_ - lastOnsetNs_ < pendingPeriod_ * 7 / 8)
            heardOne = heard_.tracked(pendingNs_, pendingPeriod_, false) || heardOne;
        pendingNs_ = 0;
    };
    if (pendingNs_ != 0 && endNs - pendingNs_ > kConfirmNs + kOnsetLatencyNs) settle();
    if (a.out->data[0] != 0) {
        const std::int64_t at = timeOf(aubio_tempo_get_last(a.tempo), endNs);
        const auto period = static_cast<std::int64_t>(
            static_cast<double>(aubio_tempo_get_period(a.tempo)) * 1e9 / kSampleRate);
        // Confirmed, the beat is placed on the onset: the drum itself is the
        // sharper of the two.
        if (std::llabs(at - lastOnsetNs_) <= kConfirmNs) {
            heardOne = heard_.tracked(lastOnsetNs_, period);
        } else {
            settle();
            pendingNs_ = at;
            pendingPeriod_ = period;
        }
    }
    if (a.onsetOut->data[0] != 0 && strongOnset(aubio_onset_get_descriptor(a.onset))) {
        lastOnsetNs_ = timeOf(aubio_onset_get_last(a.onset) + kHop / 2, endNs);
        if (pendingNs_ != 0 && std::llabs(lastOnsetNs_ - pendingNs_) <= kConfirmNs) {
            heardOne = heard_.tracked(lastOnsetNs_, pendingPeriod_) || heardOne;
            pendingNs_ = 0;
        } else {
            // The tracker falls quiet now and then on very regular music,
            // and slowly finds a beat back after a break; onsets at the
            // tempo keep the beat and take it up again.
            heardOne = heard_.onset(lastOnsetNs_) || heardOne;
        }
    }
    return heardOne;
}

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
    heard.everyOther = everyOther_.load(std::memory_order_acquire);
    heard.soundNs = soundNs_.load(std::memory_order_acquire);
    return heard.gridAt(nowNs);
}

void BeatTracker::run() {
    pthread_setname_np(pthread_self(), "lumetra-beat");
    constexpr int kHop = BeatAnalysis::kHop;
    BeatAnalysis analysis;
    if (!analysis.ok()) return;                         // out of memory: no beat, nothing else lost
    std::uint64_t position = stream_.anchor().written;  // next sample to analyse
    std::vector<std::int16_t> hop(kHop);
    while (!stop_.load()) {
        const SampleRing::Anchor anchor = stream_.anchor();
        if (!listening_.load(std::memory_order_relaxed)) {
            position = anchor.written;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            continue;
        }
        if (anchor.written < position + kHop) {
            // Caught up: two hops gather meanwhile. A beat is heard at most
            // 23 ms later, long before the step it places is due; waking
            // half as often halves what the waking costs.
            std::this_thread::sleep_for(std::chrono::milliseconds(23));
            continue;
        }
        // Fallen behind further than the stream keeps: go on from its newest
        // samples.
        if (anchor.written - position > static_cast<std::uint64_t>(stream_.capacity() - kHop))
            position = anchor.written - kHop;
        if (!stream_.copy(position, hop.data(), kHop)) continue;
        const auto started = std::chrono::steady_clock::now();
        position += kHop;
        const auto behind = static_cast<std::int64_t>(anchor.written - position);
        const std::int64_t endNs = anchor.ns - behind * 1'000'000'000LL / kSampleRate;
        const bool heardOne = analysis.feed(hop.data(), endNs);
        const HeardBeats& heard = analysis.heard();
        soundNs_.store(heard.soundNs, std::memory_order_release);
        if (heardOne) {
            streak_.store(heard.streak, std::memory_order_release);
            everyOther_.store(heard.everyOther, std::memory_order_release);
            periodNs_.store(heard.periodNs, std::memory_order_release);
            beatNs_.store(heard.beatNs, std::memory_order_release);
        }
        busyNs_.fetch_add(std::chrono::duration_cast<std::chrono::nanoseconds>(
                              std::chrono::steady_clock::now() - started)
                              .count(),
                          std::memory_order_relaxed);
    }
}

}  // namespace lumetra::sound
