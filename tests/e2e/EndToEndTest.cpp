// The lumetra program as an operator runs it: a data folder with a settings
// file naming the last show, then a stop by the system.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ProgramRun.h"
#include "show/ShowMemory.h"

namespace fs = std::filesystem;
using namespace lumetra;
using namespace lumetra::testing;
using namespace std::chrono_literals;

namespace {

struct DataFolderFixture : ::testing::Test {
    fs::path home;
    void SetUp() override {
        home = fs::temp_directory_path() /
               ("lumetra-e2e-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(home);
        fs::create_directories(home / "SHOW");
    }
    void TearDown() override { fs::remove_all(home); }
    std::string show(const std::string& name) const { return (home / "SHOW" / name).string(); }
};

// A show of three scenes whose scene 1 is current.
std::string sampleShow() {
    std::string bytes(layout::kShowSize, '\0');
    for (int c = 1; c <= 255; ++c) {
        bytes[layout::levelOffset(0, c)] = static_cast<char>(c);
        bytes[layout::levelOffset(1, c)] = static_cast<char>(255 - c);
    }
    for (int c = 0; c < 256; ++c) bytes[layout::rateOffset(c)] = static_cast<char>(255);
    bytes[cell::kCurrentScene] = 1;
    bytes[cell::kLastScene] = 2;
    bytes[cell::kTempo] = 44;
    return bytes;
}

}  // namespace

TEST_F(DataFolderFixture, ReopensTheLastShowAndWritesItsFilesWhenStopped) {
    const std::string showPath = (home / "club night.lum").string();
    writeFile(showPath, sampleShow());
    std::string colors(16384, '\0');
    colors[3584 + 9] = 17;  // a gobo picture number that must survive the run
    writeFile(show("lumiEdit.col"), colors);
    writeFile(show("Lumy.ini"),
              "[Konveir]\r\nFile03=" + showPath + "\r\n[LastFile]\r\nPath=" + showPath + "\r\n");

    ProgramRun run({"--home=" + home.string(), "--interface=none", "--audio=none"});
    ASSERT_TRUE(waitFor([&] { return fs::exists(home / "DOC" / "Helplumi.html"); }, 20s))
        << "the program did not start";
    // Remove the files the shutdown writes, so that what is found was written then.
    fs::remove(show("Lumy.ini"));
    fs::remove(show("lumiEdit.col"));
    std::this_thread::sleep_for(500ms);
    ASSERT_TRUE(run.running());
    EXPECT_EQ(run.stop(), 0);

    const std::string ini = readFile(show("Lumy.ini"));
    EXPECT_NE(ini.find("[Konveir]\r\nFile01=\r\nFile02=\r\nFile03=" + showPath + "\r\n"),
              std::string::npos)
        << ini;
    EXPECT_NE(ini.find("[LastFile]\r\nPath=" + showPath + "\r\n"), std::string::npos) << ini;
    const std::string col = readFile(show("lumiEdit.col"));
    ASSERT_EQ(col.size(), 16384u);
    EXPECT_EQ(col[3584 + 9], 17);
    // Stopped by the system, the console keeps the show in the autosave file.
    EXPECT_EQ(readFile(show("ShouTemp.lum")), sampleShow());
}

TEST_F(DataFolderFixture, HelpOptionPrintsTheOptions) {
    const std::string out = (home / "help.txt").string();
    const std::string cmd = std::string(LUMETRA_PROGRAM) + " --help > '" + out + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    const std::string text = readFile(out);
    EXPECT_NE(text.find("--home=DIR"), std::string::npos);
    EXPECT_NE(text.find("--interface=virtual:PATH"), std::string::npos);
    EXPECT_NE(text.find("--audio=file:PATH"), std::string::npos);
}

TEST_F(DataFolderFixture, RejectsAnUnknownOption) {
    const std::string cmd = std::string(LUMETRA_PROGRAM) + " --colour=red 2>/dev/null";
    EXPECT_NE(std::system(cmd.c_str()), 0);
}
