// The program with the virtual interface: the packet stream it writes is
// decoded and compared with the show, while the cable is pulled and put back.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>

#include "ProgramRun.h"
#include "output/WirePacket.h"
#include "show/ShowMemory.h"

namespace fs = std::filesystem;
using namespace lumetra;
using namespace lumetra::testing;
using namespace std::chrono_literals;

namespace {

struct VirtualInterfaceRun : ::testing::Test {
    fs::path home;
    fs::path wire;
    void SetUp() override {
        home = fs::temp_directory_path() / ("lumetra-wire-" + std::to_string(::getpid()));
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

    std::vector<DmxFrame> frames() const {
        const std::string bytes = readFile(wire.string());
        PacketDecoder decoder;
        decoder.feed(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        EXPECT_EQ(decoder.packetsDropped(), 0u);
        std::vector<DmxFrame> out;
        DmxFrame f;
        while (decoder.next(f)) out.push_back(f);
        return out;
    }
};

// Scene 1 is current: channel c at 255 - c; channel 7 at 255 makes the
// packet carry an escaped byte.
std::string showWithCurrentScene() {
    std::string bytes(layout::kShowSize, '\0');
    for (int c = 1; c <= 255; ++c) {
        bytes[layout::levelOffset(0, c)] = static_cast<char>(c);
        bytes[layout::levelOffset(1, c)] = static_cast<char>(255 - c);
    }
    bytes[layout::levelOffset(1, 7)] = static_cast<char>(255);
    for (int c = 0; c < 256; ++c) bytes[layout::rateOffset(c)] = static_cast<char>(255);
    bytes[cell::kCurrentScene] = 1;
    bytes[cell::kLastScene] = 1;
    bytes[cell::kTempo] = 44;
    return bytes;
}

}  // namespace

TEST_F(VirtualInterfaceRun, StreamCarriesTheCurrentSceneAndSurvivesAnUnpluggedCable) {
    const std::string showPath = (home / "show.lum").string();
    writeFile(showPath, showWithCurrentScene());
    writeFile((home / "SHOW" / "Lumy.ini").string(), "[LastFile]\nPath=" + showPath + "\n");

    ProgramRun run({"--home=" + home.string(), "--interface=virtual:" + wire.string(),
                    "--audio=none"});
    // The first poll opens the interface about a second after start-up.
    ASSERT_TRUE(waitFor([&] { return wireSize() > 20 * wire::kMaxPacket; }, 20s))
        << "no packets arrived";

    std::vector<DmxFrame> got = frames();
    ASSERT_GT(got.size(), 10u);
    const DmxFrame& last = got.back();
    EXPECT_EQ(last[0], 0);
    for (int c = 1; c <= 255; ++c) {
        const int want = c == 7 ? 255 : 255 - c;
        ASSERT_EQ(last[c], want) << "channel " << c;
    }
    for (int s = 256; s < kDmxSlots; ++s) ASSERT_EQ(last[s], 0) << "slot " << s;

    // Pull the cable: nothing more is written.
    writeFile(wire.string() + ".unplugged", "");
    std::this_thread::sleep_for(500ms);
    const auto whileUnplugged = wireSize();
    std::this_thread::sleep_for(1500ms);
    EXPECT_EQ(wireSize(), whileUnplugged);
    ASSERT_TRUE(run.running());

    // Put it back: packets resume by themselves within two seconds (the
    // poll reopens the interface), and the stream still decodes cleanly.
    fs::remove(wire.string() + ".unplugged");
    EXPECT_TRUE(waitFor([&] { return wireSize() > whileUnplugged + 5 * wire::kMinPacket; },
                        2500ms));
    EXPECT_EQ(frames().back(), last);
    EXPECT_EQ(run.stop(), 0);
}

// A sound input that cannot open: its box waits for the operator while the
// output runs on, and a stop by the system ends the program in order.
TEST_F(VirtualInterfaceRun, OutputRunsOnWhileTheSoundBoxWaits) {
    const std::string gone = "file:" + (home / "gone.wav").string();
    for (const std::string& audio : {std::string("alsa:nosuchdevice"), gone}) {
        fs::remove(wire);
        ProgramRun run({"--home=" + home.string(), "--interface=virtual:" + wire.string(),
                        "--audio=" + audio});
        ASSERT_TRUE(waitFor([&] { return wireSize() > 0; }, 20s)) << audio << ": no packets";
        const auto first = wireSize();
        ASSERT_TRUE(waitFor([&] { return wireSize() > first + 5 * wire::kMinPacket; }, 10s))
            << audio << ": the output stopped";
        EXPECT_TRUE(run.running());
        EXPECT_EQ(run.stop(), 0) << audio;
    }
}
