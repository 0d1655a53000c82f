// The program stepping on the music's beat: a click track at 120 BPM played
// through --audio=file:, the scene steps read back at the virtual wire.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "ProgramRun.h"
#include "output/WirePacket.h"
#include "show/ShowMemory.h"

namespace fs = std::filesystem;
using namespace lumetra;
using namespace lumetra::testing;
using namespace std::chrono_literals;

namespace {

// 16-bit mono WAV at 44,100 Hz: a kick drum (80 ms of a fading 60 Hz tone)
// every 500 ms for `seconds`.
std::string clickTrack(int seconds) {
    const int rate = 44100, n = rate * seconds;
    std::string pcm(static_cast<std::size_t>(n) * 2, '\0');
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i % (rate / 2)) / rate;
        const double v = t < 0.08 ? 0.9 * (1 - t / 0.08) * std::sin(2 * M_PI * 60 * t) : 0;
        const auto s = static_cast<std::int16_t>(v * 32767);
        pcm[2 * i] = static_cast<char>(s & 0xFF);
        pcm[2 * i + 1] = static_cast<char>((s >> 8) & 0xFF);
    }
    auto le = [](std::uint32_t v, int bytes) {
        std::string out;
        for (int k = 0; k < bytes; ++k) out += static_cast<char>((v >> (8 * k)) & 0xFF);
        return out;
    };
    return "RIFF" + le(36 + pcm.size(), 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) +
           le(rate, 4) + le(rate * 2, 4) + le(2, 2) + le(16, 2) + "data" + le(pcm.size(), 4) + pcm;
}

// Eight scenes, channel 1 at 10, 40, 70 ... so that every step shows.
std::string eightScenes() {
    std::string bytes(layout::kShowSize, '\0');
    for (int s = 0; s < 8; ++s) bytes[layout::levelOffset(s, 1)] = static_cast<char>(10 + 30 * s);
    for (int c = 0; c < 256; ++c) bytes[layout::rateOffset(c)] = static_cast<char>(255);
    bytes[cell::kLastScene] = 7;
    return bytes;
}

}  // namespace

// Plays twelve seconds of clicks at 120 BPM "по ритму" with `extra` options
// and checks the steps at the wire.
static void stepsFollowTheBeatsAndRestInSilence(const std::vector<std::string>& extra) {
    const fs::path home =
        fs::temp_directory_path() / ("lumetra-beat-" + std::to_string(::getpid()));
    fs::remove_all(home);
    fs::create_directories(home / "SHOW");
    writeFile((home / "SHOW" / "lumiEdit.col").string(), std::string(16384, '\0'));
    writeFile((home / "show.lum").string(), eightScenes());
    writeFile((home / "click.wav").string(), clickTrack(12));
    writeFile((home / "SHOW" / "Lumy.ini").string(),
              "[LastFile]\nPath=" + (home / "show.lum").string() + "\n[Ritm]\nSource=beat\n");
    const fs::path wire = home / "wire.bin";

    std::vector<std::string> args{"--home=" + home.string(), "--interface=virtual:" + wire.string(),
                                  "--audio=file:" + (home / "click.wav").string(), "--play=sound"};
    args.insert(args.end(), extra.begin(), extra.end());
    ProgramRun run(args);
    // Twelve seconds of clicks, then silence.
    std::this_thread::sleep_for(18s);
    EXPECT_EQ(run.stop(), 0);

    const std::string bytes = readFile(wire.string());
    PacketDecoder decoder;
    decoder.feed(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    std::vector<int> steps;  // packet numbers where channel 1 changed
    DmxFrame f;
    int previous = -1;
    for (int n = 0; decoder.next(f); ++n) {
        if (previous >= 0 && f[1] != previous) steps.push_back(n);
        previous = f[1];
    }
    ASSERT_GE(steps.size(), 10u) << "the beat was not followed";
    // One step per beat: ten ticks of 50 ms apart, give or take one.
    int onBeat = 0;
    for (std::size_t k = 1; k < steps.size(); ++k)
        if (std::abs(steps[k] - steps[k - 1] - 10) <= 1) ++onBeat;
    EXPECT_GE(onBeat * 10, static_cast<int>(steps.size() - 1) * 7) << "steps off the beat";
    // No step in the last three seconds of silence.
    const int packets = [&] {
        PacketDecoder d;
        d.feed(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        int n = 0;
        while (d.next(f)) ++n;
        return n;
    }();
    EXPECT_LT(steps.back(), packets - 60) << "a step was made in silence";
    fs::remove_all(home);
}

TEST(BeatRun, StepsFollowTheBeatsAndRestInSilence) {
    stepsFollowTheBeatsAndRestInSilence({});
}

TEST(BeatRun, TheHeadlessPlayerStepsOnTheBeatToo) {
    stepsFollowTheBeatsAndRestInSilence({"--headless"});
}
