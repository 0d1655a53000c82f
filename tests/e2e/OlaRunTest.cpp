// The program with an olad universe beside the virtual USB interface: a
// daemon of the test's own, a client receiving the universe as any program
// on the network would, and the daemon stopped and started again while the
// console runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>

#include "OlaDaemon.h"
#include "OlaReceiver.h"
#include "ProgramRun.h"
#include "output/WirePacket.h"
#include "show/ShowMemory.h"

namespace fs = std::filesystem;
using namespace lumetra;
using namespace lumetra::testing;
using namespace std::chrono_literals;

namespace {

// Three scenes with levels of their own on every channel; rates at 255 so
// the output lands on a scene in one tick.
std::string threeSceneShow(int current) {
    std::string bytes(layout::kShowSize, '\0');
    for (int c = 1; c <= 255; ++c) {
        bytes[layout::levelOffset(0, c)] = static_cast<char>(c);
        bytes[layout::levelOffset(1, c)] = static_cast<char>(255 - c);
        bytes[layout::levelOffset(2, c)] = static_cast<char>(c % 2 ? 255 : 0);
    }
    for (int c = 0; c < 256; ++c) bytes[layout::rateOffset(c)] = static_cast<char>(255);
    bytes[cell::kCurrentScene] = static_cast<char>(current);
    bytes[cell::kLastScene] = 2;
    bytes[cell::kTempo] = 44;
    return bytes;
}

// What olad must carry for a scene: channels 1..255 of the scene, 256..512 at 0.
std::vector<std::uint8_t> expectedUniverse(const std::string& show, int scene) {
    std::vector<std::uint8_t> levels(512, 0);
    for (int c = 1; c <= 255; ++c)
        levels[c - 1] = static_cast<std::uint8_t>(show[layout::levelOffset(scene, c)]);
    return levels;
}

struct OlaRun : ::testing::Test {
    fs::path home;
    void SetUp() override {
        if (const std::string why = OlaDaemon::unavailableReason(); !why.empty())
            GTEST_SKIP() << why;
        home = fs::temp_directory_path() / ("lumetra-ola-" + std::to_string(::getpid()));
        fs::remove_all(home);
        fs::create_directories(home / "SHOW");
        writeFile((home / "SHOW" / "lumiEdit.col").string(), std::string(16384, '\0'));
    }
    void TearDown() override {
        if (!home.empty()) fs::remove_all(home);
    }
    void useShow(const std::string& bytes) {
        const std::string path = (home / "show.lum").string();
        writeFile(path, bytes);
        writeFile((home / "SHOW" / "Lumy.ini").string(), "[LastFile]\nPath=" + path + "\n");
    }
};

}  // namespace

TEST_F(OlaRun, UniverseCarriesEachSceneAndComesBackAfterOladRestarts) {
    OlaDaemon olad;
    ASSERT_TRUE(olad.start()) << olad.error();
    EXPECT_EQ(olad.unexpectedPluginConfigs(), "") << "a plugin runs with its own defaults";
    const fs::path wire = home / "wire.bin";

    for (int scene = 0; scene < 3; ++scene) {
        SCOPED_TRACE("scene " + std::to_string(scene + 1));
        const std::string show = threeSceneShow(scene);
        const std::vector<std::uint8_t> want = expectedUniverse(show, scene);
        useShow(show);
        fs::remove(wire);
        OlaReceiver receiver(olad.port(), 1);
        ASSERT_TRUE(receiver.connect());

        ProgramRun run({"--home=" + home.string(), "--interface=virtual:" + wire.string(),
                        "--interface=ola:1", "--ola-port=" + std::to_string(olad.port()),
                        "--audio=none"});
        ASSERT_TRUE(receiver.pumpUntil([&] { return receiver.latest() == want; }, 20s))
            << "universe 1 never carried the scene (" << receiver.frames() << " frames)";
        // The frames keep coming, one per tick.
        const std::uint64_t before = receiver.frames();
        ASSERT_TRUE(receiver.pumpUntil([&] { return receiver.frames() >= before + 10; }, 5s));
        EXPECT_EQ(receiver.latest(), want);

        // The USB interface beside it carries the same line.
        ASSERT_TRUE(waitFor([&] { return fs::exists(wire) && fs::file_size(wire) > 0; }, 5s));
        const std::string bytes = readFile(wire.string());
        PacketDecoder decoder;
        decoder.feed(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        DmxFrame frame{}, last{};
        bool any = false;
        while (decoder.next(frame)) {
            last = frame;
            any = true;
        }
        ASSERT_TRUE(any);
        EXPECT_EQ(std::vector<std::uint8_t>(last.begin() + 1, last.end()), want);

        if (scene == 2) {
            // olad goes away: the console runs on without it ...
            olad.stop();
            std::this_thread::sleep_for(1500ms);
            ASSERT_TRUE(run.running());
            // ... and once it is back, the one-second poll reconnects.
            ASSERT_TRUE(olad.start()) << olad.error();
            OlaReceiver again(olad.port(), 1);
            ASSERT_TRUE(again.connect());
            EXPECT_TRUE(again.pumpUntil([&] { return again.latest() == want; }, 5s))
                << "no output after olad came back (" << again.frames() << " frames)";
        }
        EXPECT_EQ(run.stop(), 0);
    }
}
