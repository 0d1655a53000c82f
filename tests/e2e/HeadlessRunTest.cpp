// lumetra --headless as an installation runs it: no display variables, a
// conveyor of two shows from the settings file, the virtual interface;
// stopped by the service manager, killed, and started again.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "ProgramRun.h"
#include "output/WirePacket.h"
#include "show/ShowMemory.h"

namespace fs = std::filesystem;
using namespace lumetra;
using namespace lumetra::testing;
using namespace std::chrono_literals;

namespace {

// Two scenes at the shortest tempo (100 ms a step); channel 1 carries
// `first` and `first + 1`, so the wire tells which show plays.
std::string twoSceneShow(int first) {
    std::string bytes(layout::kShowSize, '\0');
    bytes[layout::levelOffset(0, 1)] = static_cast<char>(first);
    bytes[layout::levelOffset(1, 1)] = static_cast<char>(first + 1);
    for (int c = 0; c < 256; ++c) bytes[layout::rateOffset(c)] = static_cast<char>(255);
    bytes[cell::kLastScene] = 1;
    bytes[cell::kTempo] = 10;
    return bytes;
}

struct HeadlessRun : ::testing::Test {
    fs::path home;
    void SetUp() override {
        home = fs::temp_directory_path() / ("lumetra-headless-" + std::to_string(::getpid()));
        fs::remove_all(home);
        fs::create_directories(home / "SHOW");
        writeFile(path("a.lum"), twoSceneShow(10));
        writeFile(path("b.lum"), twoSceneShow(20));
        writeFile(path("SHOW/Lumy.ini"), "[Konveir]\r\nFile01=" + path("a.lum") +
                                             "\r\nFile02=" + path("b.lum") +
                                             "\r\n[Player]\r\nPlay=tempo\r\nKonveyr=first\r\n");
    }
    void TearDown() override { fs::remove_all(home); }
    std::string path(const std::string& name) const { return (home / name).string(); }

    ProgramRun start(const std::string& wire, std::vector<std::string> more = {}) {
        std::vector<std::string> args{"--headless", "--home=" + home.string(),
                                      "--interface=virtual:" + path(wire), "--audio=none"};
        args.insert(args.end(), more.begin(), more.end());
        return ProgramRun(args, {true, path("stderr.txt")});
    }

    // The levels of channel 1 on the wire, in order of arrival.
    std::vector<int> channelOne(const std::string& wire) const {
        const std::string bytes = readFile(path(wire));
        PacketDecoder decoder;
        decoder.feed(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        std::vector<int> out;
        DmxFrame f;
        while (decoder.next(f)) out.push_back(f[1]);
        return out;
    }
    bool sawBothShows(const std::string& wire) const {
        std::set<int> seen;
        for (int v : channelOne(wire)) seen.insert(v);
        return seen.count(10) && seen.count(11) && seen.count(20) && seen.count(21);
    }
};

}  // namespace

TEST_F(HeadlessRun, PlaysTheConveyorFromItsSettingsAndResumesAfterStopAndCrash) {
    {
        ProgramRun run = start("wire1.bin");
        ASSERT_TRUE(waitFor([&] { return sawBothShows("wire1.bin"); }, 20s))
            << readFile(path("stderr.txt"));
        fs::remove(path("SHOW/ShouTemp.lum"));
        EXPECT_EQ(run.stop(), 0);
    }
    const std::string log = readFile(path("stderr.txt"));
    EXPECT_NE(log.find("lumetra: Шоу запущено\n"), std::string::npos) << log;
    EXPECT_NE(log.find("lumetra: Конвейр: 2 b\n"), std::string::npos) << log;
    EXPECT_NE(log.find("lumetra: Остановлен\n"), std::string::npos) << log;
    // A stop by the system keeps the show that played and names it in the
    // settings, the [Player] section kept.
    const std::string kept = readFile(path("SHOW/ShouTemp.lum"));
    ASSERT_EQ(kept.size(), static_cast<std::size_t>(layout::kShowSize));
    const std::string ini = readFile(path("SHOW/Lumy.ini"));
    const std::string last = kept[layout::levelOffset(0, 1)] == 10 ? "a.lum" : "b.lum";
    EXPECT_NE(ini.find("[LastFile]\r\nPath=" + path(last) + "\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("[Player]\r\nPlay=tempo\r\nKonveyr=first\r\n"), std::string::npos) << ini;
    EXPECT_EQ(kept.substr(layout::kSceneArea), twoSceneShow(kept[layout::levelOffset(0, 1)])
                                                   .substr(layout::kSceneArea));

    // A crash: killed while show b plays. The next start carries on with b.
    fs::remove(path("stderr.txt"));
    {
        ProgramRun run = start("wire2.bin", {"--conveyor=list"});
        ASSERT_TRUE(waitFor([&] { return sawBothShows("wire2.bin"); }, 20s));
        ASSERT_TRUE(waitFor(
            [&] {
                const std::vector<int> v = channelOne("wire2.bin");
                return !v.empty() && v.back() >= 20;
            },
            10s));
        // The settings name the show as soon as the conveyor loads it.
        ASSERT_TRUE(waitFor(
            [&] { return readFile(path("SHOW/Lumy.ini")).find("Path=" + path("b.lum")) !=
                         std::string::npos; },
            5s));
        run.kill();
    }
    fs::remove(path("stderr.txt"));
    {
        ProgramRun run = start("wire3.bin", {"--conveyor=list"});
        ASSERT_TRUE(waitFor([&] { return !channelOne("wire3.bin").empty(); }, 20s));
        ASSERT_TRUE(waitFor(
            [&] { return readFile(path("stderr.txt")).find("Конвейр:") != std::string::npos; },
            5s));
        EXPECT_EQ(run.stop(), 0);
    }
    const std::string resumed = readFile(path("stderr.txt"));
    EXPECT_NE(resumed.find("lumetra: Конвейр: 2 b\n"), std::string::npos) << resumed;
    EXPECT_LT(resumed.find("Конвейр: 2 b"), resumed.find("Конвейр: 1 a") == std::string::npos
                                                 ? std::string::npos
                                                 : resumed.find("Конвейр: 1 a"));
}
