// The sound sources: a sound file paced by a clock stepped by hand, and the
// ALSA capture thread fed by an ALSA file device with an exact stream.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "WavFile.h"
#include "sound/AlsaCapture.h"
#include "sound/FileCapture.h"

namespace fs = std::filesystem;
using namespace lumetra::sound;
using namespace lumetra::testing;
using namespace std::chrono_literals;

namespace {

std::int16_t pattern(std::int64_t n) {
    return static_cast<std::int16_t>((n * 37) % 60000 - 30000);
}

std::vector<std::int16_t> blockSamples(const Block& b) {
    std::vector<std::int16_t> s(kBlockSamples);
    for (int n = 0; n < kBlockSamples; ++n)
        s[n] = static_cast<std::int16_t>(b[2 * n] | (b[2 * n + 1] << 8));
    return s;
}

struct Capture : ::testing::Test {
    fs::path dir;
    std::chrono::nanoseconds now{0};
    Clock clock = [this] { return now; };

    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("lumetra-sound-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const std::string& name) const { return (dir / name).string(); }

    std::unique_ptr<SoundCapture> openFile(const std::string& file) {
        OpenedCapture opened = openSoundCapture("file:" + file, clock);
        EXPECT_TRUE(opened.failures.empty());
        return std::move(opened.capture);
    }
};

}  // namespace

TEST_F(Capture, FilePlaysItsExactSamplesByTheClock) {
    std::vector<std::int16_t> samples(44100);
    for (int n = 0; n < 44100; ++n) samples[n] = pattern(n);
    writeWav(path("a.wav"), 44100, 1, samples);
    auto capture = openFile(path("a.wav"));
    ASSERT_TRUE(capture);

    Block block{};
    for (auto t : {10ms, 20ms, 500ms, 999ms}) {
        now = t;
        capture->fillBlock(block);
        const std::int64_t end = 44100LL * t.count() / 1000;
        const auto got = blockSamples(block);
        for (int n = 0; n < kBlockSamples; ++n)
            ASSERT_EQ(got[n], pattern(end - kBlockSamples + n)) << "at " << t.count() << " ms";
    }
    // The clock standing still leaves the block as it was.
    block.fill(7);
    capture->fillBlock(block);
    EXPECT_EQ(block[0], 7);
    // After its end the file is silent.
    now = 1100ms;
    capture->fillBlock(block);
    EXPECT_EQ(block, Block{});
}

TEST_F(Capture, FileBeforeTheFirstBlockIsFullStartsWithSilence) {
    writeWav(path("b.wav"), 44100, 1, std::vector<std::int16_t>(1000, 1234));
    auto capture = openFile(path("b.wav"));
    now = 2ms;  // 88 samples
    Block block{};
    capture->fillBlock(block);
    const auto got = blockSamples(block);
    EXPECT_EQ(got[kBlockSamples - 89], 0);
    EXPECT_EQ(got[kBlockSamples - 88], 1234);
    EXPECT_EQ(got[kBlockSamples - 1], 1234);
}

TEST_F(Capture, StereoIsMixedToMono) {
    std::vector<std::int16_t> samples;
    for (int n = 0; n < 4410; ++n) samples.insert(samples.end(), {1000, 3000});
    writeWav(path("stereo.wav"), 44100, 2, samples);
    auto capture = openFile(path("stereo.wav"));
    now = 50ms;
    Block block{};
    capture->fillBlock(block);
    for (std::int16_t s : blockSamples(block)) ASSERT_EQ(s, 2000);
}

TEST_F(Capture, OtherRatesAreResampledToTheConsoleRate) {
    // One second of a steady level at 22,050 Hz lasts one second at 44,100.
    writeWav(path("half.wav"), 22050, 1, std::vector<std::int16_t>(22050, 10000));
    auto* capture = [&] {
        OpenedCapture opened = openSoundCapture("file:" + path("half.wav"), clock);
        return opened.capture.release();
    }();
    ASSERT_TRUE(capture);
    std::unique_ptr<SoundCapture> owner(capture);
    auto* file = static_cast<FileCapture*>(capture);
    Block block{};
    now = 500ms;
    capture->fillBlock(block);
    for (std::int16_t s : blockSamples(block)) ASSERT_NEAR(s, 10000, 100);
    EXPECT_FALSE(file->ended());
    now = 990ms;
    capture->fillBlock(block);
    EXPECT_FALSE(file->ended());
    now = 1100ms;
    capture->fillBlock(block);
    EXPECT_TRUE(file->ended());
    EXPECT_EQ(block, Block{});
}

TEST_F(Capture, MissingOrUnreadableFilesAreNamed) {
    OpenedCapture missing = openSoundCapture("file:" + path("nothing.wav"), clock);
    EXPECT_FALSE(missing.capture);
    ASSERT_EQ(missing.failures.size(), 1u);
    EXPECT_NE(missing.failures[0].text.find(path("nothing.wav")), std::string::npos);

    std::ofstream(path("junk.wav")) << "this is not a sound file";
    OpenedCapture junk = openSoundCapture("file:" + path("junk.wav"), clock);
    EXPECT_FALSE(junk.capture);
    ASSERT_EQ(junk.failures.size(), 1u);
    EXPECT_NE(junk.failures[0].text.find("не читается: " + path("junk.wav")), std::string::npos);

    EXPECT_FALSE(openSoundCapture("none").capture);
    EXPECT_TRUE(openSoundCapture("none").failures.empty());
}

TEST_F(Capture, AlsaThreadDeliversTheExactStream) {
    // An ALSA file device reads its samples from a raw file (unpaced).
    const int count = 44100;
    {
        std::ofstream raw(path("in.raw"), std::ios::binary);
        for (int n = 0; n < count; ++n) {
            const auto v = static_cast<std::uint16_t>(pattern(n));
            raw.put(static_cast<char>(v & 0xFF)).put(static_cast<char>(v >> 8));
        }
    }
    std::ofstream(path("test.conf")) << "pcm.lumetratest {\n type file\n slave.pcm null\n"
                                        " file \"/dev/null\"\n infile \""
                                     << path("in.raw") << "\"\n format \"raw\"\n}\n";
    setenv("ALSA_CONFIG_PATH", ("/usr/share/alsa/alsa.conf:" + path("test.conf")).c_str(), 1);

    // A ring large enough that the unpaced stream is still in it when read.
    OpenedCapture opened = AlsaCapture::open("lumetratest", 1 << 24);
    ASSERT_TRUE(opened.capture);
    auto* alsa = static_cast<AlsaCapture*>(opened.capture.get());
    std::vector<std::int16_t> got(count);
    bool copied = false;
    for (int wait = 0; wait < 500 && !copied; ++wait) {
        copied = alsa->ring().copy(0, got.data(), count);
        if (!copied) std::this_thread::sleep_for(10ms);
    }
    ASSERT_TRUE(copied);
    for (int n = 0; n < count; ++n) ASSERT_EQ(got[n], pattern(n)) << "sample " << n;

    // A device that does not exist gives the console's box, and no input.
    OpenedCapture none = AlsaCapture::open("nosuchdevice");
    EXPECT_FALSE(none.capture);
    ASSERT_FALSE(none.failures.empty());
    EXPECT_EQ(none.failures.back().caption, "не открывается waveIn");
    EXPECT_EQ(none.failures.back().text, "Error");
}

TEST(SampleRingTest, NewestBlockAndPositions) {
    SampleRing ring(16);
    std::int16_t in[20];
    for (int n = 0; n < 20; ++n) in[n] = static_cast<std::int16_t>(n + 1);
    std::int16_t out[4];
    EXPECT_EQ(ring.newest(out, 4), 0u);
    EXPECT_EQ(out[3], 0);
    ring.push(in, 2);
    ring.newest(out, 4);
    EXPECT_EQ(std::vector<std::int16_t>(out, out + 4), (std::vector<std::int16_t>{0, 0, 1, 2}));
    ring.push(in + 2, 18);
    EXPECT_EQ(ring.newest(out, 4), 20u);
    EXPECT_EQ(std::vector<std::int16_t>(out, out + 4), (std::vector<std::int16_t>{17, 18, 19, 20}));
    EXPECT_FALSE(ring.copy(0, out, 4));   // overwritten
    EXPECT_FALSE(ring.copy(18, out, 4));  // not captured yet
    EXPECT_TRUE(ring.copy(4, out, 4));
    EXPECT_EQ(out[0], 5);
}
