#include <gtest/gtest.h>

#include "TempFolder.h"
#include "show/SettingsFile.h"

namespace lumetra::io {
namespace {

TEST(SettingsParse, ReadsLfAndCrlfFiles) {
    for (const char* eol : {"\n", "\r\n"}) {
        const std::string e = eol;
        const Settings s =
            parseSettings("[Konveir]" + e + "File01=/shows/a.lum" + e + "File20=/shows/t.lum" + e +
                          "[LastFile]" + e + "Path=/shows/last.lum" + e);
        EXPECT_EQ(s.konveyr[0], "/shows/a.lum");
        EXPECT_EQ(s.konveyr[19], "/shows/t.lum");
        EXPECT_EQ(s.konveyr[1], "");
        EXPECT_EQ(s.lastPath, "/shows/last.lum");
    }
}

TEST(SettingsParse, ToleratesWhatTheProfileFunctionsTolerate) {
    const Settings s = parseSettings(
        "\xEF\xBB\xBF"
        "garbage before any section\n"
        "File03=/not/in/a/section\n"
        "[ konveir ]\n"
        "  file02  =  /shows/b b.lum  \n"
        "no equals sign here\n"
        "; File04=/commented\n"
        "FILE05=\"/quoted path.lum\"\n"
        "File02=/second/occurrence/loses\n"
        "File21=/no/such/slot\n"
        "[Other]\n"
        "Path=/wrong/section\n"
        "[LASTFILE]\n"
        "path=\n"
        "[lastfile\n"
        "Path=/broken/section/line\n");
    EXPECT_EQ(s.konveyr[1], "/shows/b b.lum");
    EXPECT_EQ(s.konveyr[2], "");
    EXPECT_EQ(s.konveyr[3], "");
    EXPECT_EQ(s.konveyr[4], "/quoted path.lum");
    EXPECT_EQ(s.lastPath, "");
}

TEST(SettingsFile, WritesCrlfByteExactAndReadsItBack) {
    TempFolder dir;
    Settings s;
    s.konveyr[0] = "/shows/Disco2008.lum";
    s.konveyr[19] = "/shows/Last.lum";
    s.lastPath = "Unit_001";
    ASSERT_TRUE(WriteIniFile(dir.file("Lumy.ini"), s).ok());

    std::string expected = "[Konveir]\r\nFile01=/shows/Disco2008.lum\r\n";
    for (int n = 2; n <= 19; ++n)
        expected += (n < 10 ? "File0" : "File") + std::to_string(n) + "=\r\n";
    expected += "File20=/shows/Last.lum\r\n[LastFile]\r\nPath=Unit_001\r\n";
    const auto file = readBytes(dir.file("Lumy.ini"));
    EXPECT_EQ(std::string(file.begin(), file.end()), expected);

    const SettingsReadResult back = ReadIniFile(dir.file("Lumy.ini"));
    ASSERT_TRUE(back.file.ok());
    EXPECT_EQ(back.settings.konveyr, s.konveyr);
    EXPECT_EQ(back.settings.lastPath, s.lastPath);
}

TEST(SettingsFile, AbsentFileReadsEmptyAndAFailedWriteNamesThePath) {
    TempFolder dir;
    const SettingsReadResult r = ReadIniFile(dir.file("Lumy.ini"));
    EXPECT_TRUE(r.file.notFound());
    EXPECT_EQ(r.settings.lastPath, "");
    for (const auto& p : r.settings.konveyr) EXPECT_EQ(p, "");

    const std::string target = dir.file("missing-folder") + "/Lumy.ini";
    const FileResult w = WriteIniFile(target, Settings{});
    EXPECT_FALSE(w.ok());
    EXPECT_EQ(w.message, "Unable to write to " + target);
}

TEST(SettingsFile, ALineBreakInsideAValueCannotAddKeys) {
    Settings s;
    s.konveyr[0] = "/a.lum\r\n[LastFile]\r\nPath=/evil.lum";
    s.lastPath = "/real.lum";
    const Settings back = parseSettings(formatSettings(s));
    EXPECT_EQ(back.konveyr[0], "");
    EXPECT_EQ(back.lastPath, "/real.lum");
}

TEST(SettingsFile, AWriteKeepsWhatOthersKeepInTheFile) {
    const std::string existing =
        "; notes of the lighting desk\n[Window]\nLeft=10\n[konveir]\nFile02=/old.lum\n"
        "Colour=blue\nFILE02=/stale.lum\n[Other]\nPath=/not/ours\n";
    Settings s;
    s.konveyr[1] = "/new.lum";
    s.lastPath = "/last.lum";
    std::string expected =
        "; notes of the lighting desk\r\n[Window]\r\nLeft=10\r\n[konveir]\r\n"
        "File02=/new.lum\r\nColour=blue\r\nFile01=\r\n";
    for (int n = 3; n <= 20; ++n)
        expected += (n < 10 ? "File0" : "File") + std::to_string(n) + "=\r\n";
    expected += "[Other]\r\nPath=/not/ours\r\n[LastFile]\r\nPath=/last.lum\r\n";
    EXPECT_EQ(mergeSettings(existing, s), expected);

    // Through the file: a second write changes nothing more.
    TempFolder dir;
    writeBytes(dir.file("Lumy.ini"), std::vector<std::uint8_t>(existing.begin(), existing.end()));
    ASSERT_TRUE(WriteIniFile(dir.file("Lumy.ini"), s).ok());
    ASSERT_TRUE(WriteIniFile(dir.file("Lumy.ini"), s).ok());
    const auto file = readBytes(dir.file("Lumy.ini"));
    EXPECT_EQ(std::string(file.begin(), file.end()), expected);
    EXPECT_EQ(ReadIniFile(dir.file("Lumy.ini")).settings.konveyr[1], "/new.lum");
}

TEST(SettingsFile, KeysAddedToASectionEndBeforeABrokenSectionLine) {
    // The reader leaves a section at "[LastFile" without its bracket; keys
    // added after that line would be written but never read back.
    const std::string existing = "[Konveir]\nFile01=/a.lum\n[LastFile\nPath=/broken.lum\n";
    Settings s;
    s.konveyr[4] = "/five.lum";
    s.lastPath = "/last.lum";
    const std::string merged = mergeSettings(existing, s);
    const Settings back = parseSettings(merged);
    EXPECT_EQ(back.konveyr[4], "/five.lum");
    EXPECT_EQ(back.konveyr[0], "");
    EXPECT_EQ(back.lastPath, "/last.lum");
    EXPECT_NE(merged.find("File20=\r\n[LastFile\r\nPath=/broken.lum\r\n"), std::string::npos);
}

TEST(SettingsFile, AnEditorsRepeatedByteOrderMarksLoseNoSection) {
    // Found by the settings fuzz target: an editor that adds a mark at every
    // save. The reader and the writer must agree on where the section starts.
    const std::string twice = "\xEF\xBB\xBF\xEF\xBB\xBF[Konveir]\nFile18=F";
    EXPECT_EQ(parseSettings(twice).konveyr[17], "F");
    Settings s;
    s.konveyr[17] = "/eighteen.lum";
    s.lastPath = "Unit_001";
    const Settings back = parseSettings(mergeSettings(twice, s));
    EXPECT_EQ(back.konveyr, s.konveyr);
    EXPECT_EQ(back.lastPath, s.lastPath);
}

TEST(SettingsFile, TheBeatAndPlayerSectionsAreWrittenOnlyOnceUsed) {
    Settings s;
    EXPECT_EQ(formatSettings(s).find("[Ritm]"), std::string::npos);
    EXPECT_EQ(formatSettings(s).find("[Player]"), std::string::npos);
    s.ritm = {"beat", "4", "0", "1", "0"};
    std::string text = formatSettings(s);
    EXPECT_NE(text.find("[Ritm]\r\nSource=beat\r\nEvery=4\r\nKeepTap=0\r\nChase1=1\r\nChase2=0\r\n"),
              std::string::npos);
    EXPECT_EQ(parseSettings(text).ritm, s.ritm);
    EXPECT_EQ(text.find("[Player]"), std::string::npos);
    s.player = {"tempo", "first", ""};
    text = formatSettings(s);
    EXPECT_NE(text.find("[Player]\r\nPlay=tempo\r\nKonveyr=first\r\nSaveShow=\r\n"),
              std::string::npos);
    EXPECT_EQ(parseSettings("[player]\nplay=sound\nSAVESHOW=1\n").player,
              (std::array<std::string, 3>{"sound", "", "1"}));
}

TEST(SettingsFile, AHugeFileIsRefusedAndReplacedOnWrite) {
    TempFolder dir;
    std::string huge = "[LastFile]\r\nPath=/evil.lum\r\n";
    huge.resize(kMaxSettingsBytes + 10, 'x');
    writeBytes(dir.file("Lumy.ini"), std::vector<std::uint8_t>(huge.begin(), huge.end()));
    const SettingsReadResult r = ReadIniFile(dir.file("Lumy.ini"));
    EXPECT_EQ(r.file.status, FileStatus::Failed);
    EXPECT_EQ(r.settings.lastPath, "");
    Settings s;
    s.lastPath = "/good.lum";
    ASSERT_TRUE(WriteIniFile(dir.file("Lumy.ini"), s).ok());
    const auto file = readBytes(dir.file("Lumy.ini"));
    EXPECT_EQ(std::string(file.begin(), file.end()), formatSettings(s));
}

TEST(SettingsPaths, RelativePathResolvesAgainstTheFolder) {
    EXPECT_EQ(resolveAgainst("Unit_001", "/home/op"), "/home/op/Unit_001");
    EXPECT_EQ(resolveAgainst("Unit_001", "/"), "/Unit_001");
    EXPECT_EQ(resolveAgainst("/shows/a.lum", "/home/op"), "/shows/a.lum");
    EXPECT_EQ(resolveAgainst("", "/home/op"), "");
    EXPECT_EQ(resolveInWorkingFolder("/abs.lum"), "/abs.lum");
    EXPECT_EQ(resolveInWorkingFolder("x.lum").front(), '/');
}

TEST(KonveyrCaptions, StartUpShortNamesOfEightCharacters) {
    EXPECT_EQ(KonveyrButtonCaption(1, "/any/folder/Disco2008.lum").text, "Q=Disco200");
    EXPECT_EQ(KonveyrButtonCaption(1, "/any/folder/Club.lum").text, "Q=Club");
    EXPECT_EQ(KonveyrButtonCaption(2, "C:\\KESTOR\\SHOW\\Party.lum").text, "W=Party");
    EXPECT_EQ(KonveyrButtonCaption(19, "/s/Ab.c.lum").text, "L=Ab.c");
    EXPECT_EQ(KonveyrButtonCaption(3, "/s/Шоу-Ночь.lum").text, "E=Шоу-Ночь");
    EXPECT_EQ(KonveyrButtonCaption(4, "/s/Зимний бал.lum").text, "R=Зимний б");
    const KonveyrCaption bound = KonveyrButtonCaption(20, "/s/Finale.lum");
    EXPECT_EQ(bound.text, " Finale");
    EXPECT_TRUE(bound.bound);
}

TEST(KonveyrCaptions, EmptySlots) {
    EXPECT_EQ(KonveyrButtonCaption(1, "").text, "Q пусто");
    EXPECT_EQ(KonveyrButtonCaption(11, "").text, "A пусто");
    EXPECT_EQ(KonveyrButtonCaption(19, "").text, "L пусто");
    const KonveyrCaption last = KonveyrButtonCaption(20, "");
    EXPECT_EQ(last.text, "пусто");
    EXPECT_FALSE(last.bound);
    EXPECT_EQ(KonveyrAssignedCaption(20, "").text, "пусто");
}

TEST(KonveyrCaptions, ConvertorFileNameCutsToSevenCharacters) {
    EXPECT_EQ(ConvertorFileName("/s/Disco2008.lum"), "Disco20");
    EXPECT_EQ(ConvertorFileName("/s/Club.lum"), "Club");
    EXPECT_EQ(ConvertorFileName("/s/Clubs.lum"), "Clubs");    // "Clubs.l" loses ".l"
    EXPECT_EQ(ConvertorFileName("/s/Dance1.lum"), "Dance1");  // "Dance1." loses "."
    EXPECT_EQ(KonveyrAssignedCaption(5, "/s/Disco2008.lum").text, "T=Disco20");
    EXPECT_EQ(KonveyrAssignedCaption(20, "/s/Disco2008.lum").text, " Disco20");
}

}  // namespace
}  // namespace lumetra::io
