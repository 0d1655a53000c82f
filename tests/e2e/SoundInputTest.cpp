// The program started with a sound input that cannot open: its box waits
// for the operator while the output runs on, and a stop by the system ends
// the program in order.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>

#include "ProgramRun.h"

namespace fs = std::filesystem;
using namespace lumetra::testing;
using namespace std::chrono_literals;

namespace {

struct SoundInputRun : ::testing::Test {
    fs::path home;
    fs::path wire;
    void SetUp() override {
        home = fs::temp_directory_path() / ("lumetra-sound-e2e-" + std::to_string(::getpid()));
        fs::remove_all(home);
        fs::create_directories(home / "SHOW");
        wire = home / "wire.bin";
        writeFile((home / "SHOW" / "lumiEdit.col").string(), std::string(16384, '\0'));
    }
    void TearDown() override { fs::remove_all(home); }
    std::uintmax_t wireSize() const {
        std::error_code ec;
        const auto n = fs::file_size(wire, ec);
        return ec ? 0 : n;
    }
};

}  // namespace

TEST_F(SoundInputRun, OutputRunsOnWhileTheSoundBoxWaits) {
    const std::string gone = "file:" + (home / "gone.wav").string();
    for (const std::string& audio : {std::string("alsa:nosuchdevice"), gone}) {
        fs::remove(wire);
        ProgramRun run({"--home=" + home.string(), "--interface=virtual:" + wire.string(),
                        "--audio=" + audio});
        ASSERT_TRUE(waitFor([&] { return wireSize() > 0; }, 20s)) << audio << ": no packets";
        const auto first = wireSize();
        ASSERT_TRUE(waitFor([&] { return wireSize() > first + 5 * 518; }, 10s))
            << audio << ": the output stopped";
        EXPECT_TRUE(run.running());
        EXPECT_EQ(run.stop(), 0) << audio;
    }
}
