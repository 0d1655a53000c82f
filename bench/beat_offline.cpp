// The beat analysis and the step schedule on a sound file at full speed,
// without the program: a quick look while tuning the tracker. The real
// measure, through the program and read at the wire, is beat-accuracy.sh.
//
//   bench/beat_offline SONG.wav...     (beats in SONG.beats, one per line)
//
// Samples reach the analysis 25 ms after they are due (the capture's block
// and the analysis thread's wake-up, at worst), the window looks at the grid every
// 10 ms, and a step shows on the first 50 ms tick after it is made; each song
// is run with the ticks at five phases. Per song: F-measure (+-70 ms) after
// the first 4 s, the worst phase's median and 95th percentile of
// |step - beat|, the signed median, the beats missed and the steps off any
// beat (of the first phase), and the analysis time as a share of the song's
// length. STEPS=1 prints each step of the first phase with the grid; SKIP=N
// starts the analysis N samples into the file (another alignment of its hops,
// as the program has when playing starts after the sound).
#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "sound/BeatClock.h"
#include "sound/BeatTracker.h"
#include "sound/SoundAnalysis.h"

using namespace lumetra::sound;

namespace {
constexpr std::int64_t kMs = 1'000'000;
constexpr std::int64_t kOrigin = 100'000 * kMs;  // time of the file's first sample

struct Run {
    std::vector<double> steps;  // seconds from the file's start
    double busy = 0;            // seconds of analysis
};

Run play(const std::vector<std::int16_t>& samples, std::int64_t tickPhase) {
    Run run;
    BeatAnalysis analysis;
    BeatSchedule schedule;
    schedule.setPlaying(true, kOrigin);
    const std::int64_t length =
        static_cast<std::int64_t>(samples.size()) * 1'000'000'000LL / kSampleRate;
    std::size_t fed = std::getenv("SKIP") ? std::strtoul(std::getenv("SKIP"), nullptr, 10) : 0;
    std::optional<std::int64_t> due;
    for (std::int64_t t = kOrigin; t < kOrigin + length; t += kMs) {
        while (fed + BeatAnalysis::kHop <= samples.size()) {
            const std::int64_t end = kOrigin + static_cast<std::int64_t>(fed + BeatAnalysis::kHop) *
                                                   1'000'000'000LL / kSampleRate;
            if (end > t - 25 * kMs) break;
            const auto started = std::chrono::steady_clock::now();
            analysis.feed(samples.data() + fed, end);
            run.busy +=
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
            fed += BeatAnalysis::kHop;
        }
        if ((t - kOrigin) % (10 * kMs) == 0)
            due = schedule.nextStepAt(analysis.heard().gridAt(t), t);
        if (due && t >= *due) {
            schedule.stepped(*due);
            std::int64_t tick =
                t - ((t - kOrigin - tickPhase) % (50 * kMs) + 50 * kMs) % (50 * kMs);
            if (tick < t) tick += 50 * kMs;
            run.steps.push_back(static_cast<double>(tick - kOrigin) / 1e9);
            if (std::getenv("STEPS") && tickPhase == 0) {
                const HeardBeats& h = analysis.heard();
                std::printf("step %.3f due %.3f  beat %.3f period %.1f streak %d\n",
                            (tick - kOrigin) / 1e9, (*due - kOrigin) / 1e9,
                            (h.beatNs - kOrigin) / 1e9, h.periodNs / 1e6, h.streak);
            }
            due = schedule.nextStepAt(analysis.heard().gridAt(t), t);
        }
    }
    return run;
}

double nearest(const std::vector<double>& beats, double s) {
    double best = 1e9;
    for (double b : beats)
        if (std::fabs(s - b) < std::fabs(best)) best = s - b;
    return best;
}
}  // namespace

int main(int argc, char** argv) {
    double sumF = 0;
    int songs = 0;
    for (int a = 1; a < argc; ++a) {
        const std::string path = argv[a];
        SF_INFO info{};
        SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
        if (!f || info.samplerate != kSampleRate) {
            std::fprintf(stderr, "%s: not a %d Hz sound file\n", path.c_str(), kSampleRate);
            return 1;
        }
        std::vector<short> frames(static_cast<std::size_t>(info.frames * info.channels));
        sf_readf_short(f, frames.data(), info.frames);
        sf_close(f);
        std::vector<std::int16_t> samples(static_cast<std::size_t>(info.frames));
        for (std::size_t i = 0; i < samples.size(); ++i) {
            int sum = 0;
            for (int c = 0; c < info.channels; ++c) sum += frames[i * info.channels + c];
            samples[i] = static_cast<std::int16_t>(sum / info.channels);
        }
        std::vector<double> beats;
        std::ifstream in(path.substr(0, path.size() - 4) + ".beats");
        for (double b; in >> b;) beats.push_back(b);
        const double musicEnd = static_cast<double>(info.frames) / kSampleRate - 4.0;
        std::vector<double> truth;
        for (double b : beats)
            if (b >= 4.0 && b <= musicEnd) truth.push_back(b);

        double fSum = 0, worstMedian = 0, worstP95 = 0, busy = 0;
        std::string missed, extra;
        double signedMedian = 0;
        for (int phase = 0; phase < 5; ++phase) {
            const Run run = play(samples, phase * 10 * kMs);
            busy = run.busy;
            std::vector<double> judged, offsets, signedOffsets;
            for (double s : run.steps)
                if (s >= 4.0 && s <= musicEnd) judged.push_back(s);
            std::vector<bool> used(truth.size());
            int matched = 0;
            for (double s : judged) {
                int best = -1;
                for (std::size_t i = 0; i < truth.size(); ++i)
                    if (!used[i] && std::fabs(s - truth[i]) <= 0.070 &&
                        (best < 0 || std::fabs(s - truth[i]) < std::fabs(s - truth[best])))
                        best = static_cast<int>(i);
                if (best >= 0) {
                    used[best] = true;
                    ++matched;
                } else if (phase == 0) {
                    extra += " " + std::to_string(s).substr(0, 5);
                }
                const double off = nearest(beats, s) * 1000;
                offsets.push_back(std::fabs(off));
                signedOffsets.push_back(off);
            }
            if (phase == 0)
                for (std::size_t i = 0; i < truth.size(); ++i)
                    if (!used[i]) missed += " " + std::to_string(truth[i]).substr(0, 5);
            const double prec = judged.empty() ? 0 : static_cast<double>(matched) / judged.size();
            const double rec = truth.empty() ? 0 : static_cast<double>(matched) / truth.size();
            fSum += prec + rec > 0 ? 2 * prec * rec / (prec + rec) : 0;
            std::sort(offsets.begin(), offsets.end());
            std::sort(signedOffsets.begin(), signedOffsets.end());
            if (!offsets.empty()) {
                worstMedian = std::max(worstMedian, offsets[offsets.size() / 2]);
                worstP95 = std::max(worstP95,
                                    offsets[static_cast<std::size_t>(0.95 * (offsets.size() - 1))]);
                if (phase == 0) signedMedian = signedOffsets[signedOffsets.size() / 2];
            }
        }
        const std::string name = path.substr(path.rfind('/') + 1);
        std::printf(
            "%-18s F=%.3f median<=%5.1f p95<=%5.1f signed=%+5.1f cpu=%.2f%%\n    missed:%s\n    "
            "extra:%s\n",
            name.c_str(), fSum / 5, worstMedian, worstP95, signedMedian,
            100 * busy / (static_cast<double>(info.frames) / kSampleRate), missed.c_str(),
            extra.c_str());
        sumF += fSum / 5;
        ++songs;
    }
    if (songs > 1) std::printf("mean F %.3f\n", sumF / songs);
    return 0;
}
