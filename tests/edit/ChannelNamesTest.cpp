#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "edit/ChannelNames.h"

namespace lumetra {
namespace {

NameBytes slot(const ShowMemory& show, int channel) {
    NameBytes name{};
    show.copyOut(name.data(), layout::nameOffset(channel), layout::kNameSize);
    return name;
}

void setName(ShowMemory& show, int channel, const std::string& text) {
    SaveEdit(show, channel, padName(text));
    BlanksToZero(show);
}

class ChannelNamesTest : public ::testing::Test {
  protected:
    ShowMemory& show() { return console->show; }
    std::unique_ptr<Console> console = std::make_unique<Console>();
    io::ChannelColors colors;
};

TEST_F(ChannelNamesTest, TypedNameIsStoredWithZerosAndReadBackWithItsBlank) {
    // "PAR 1" typed into a field and left.
    setName(show(), 7, "PAR 1");
    const NameBytes stored{'P', 'A', 'R', 0, '1'};
    EXPECT_EQ(slot(show(), 7), stored);
    EXPECT_EQ(nameDisplayBytes(show(), 7), "PAR 1");

    // Loading it again shows the blank and keeps the tail 0; the show keeps
    // its bytes.
    const NameBytes loaded{'P', 'A', 'R', ' ', '1'};
    EXPECT_EQ(LoadEdit(show(), 7), loaded);
    EXPECT_EQ(slot(show(), 7), stored);
    show().set(layout::nameOffset(7) + 5, ' ');
    EXPECT_EQ(LoadEdit(show(), 7), loaded);

    // Leaving a field turns blanks of every channel into 0, channel 0 too.
    show().set(layout::nameOffset(0) + 3, ' ');
    BlanksToZero(show());
    EXPECT_EQ(slot(show(), 7), stored);
    EXPECT_EQ(show().get(layout::nameOffset(0) + 3), 0);
}

TEST_F(ChannelNamesTest, LongPasteKeepsSixteenCharactersAndLeadingBlanksShow) {
    const NameBytes cut = padName("ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(std::string(cut.begin(), cut.end()), "ABCDEFGHIJKLMNOP");
    setName(show(), 255, "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(nameDisplayBytes(show(), 255), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(show().get(layout::kStaticPictures), 0);  // nothing past the name area

    setName(show(), 3, "  X");
    EXPECT_EQ(nameDisplayBytes(show(), 3), "  X");
}

TEST_F(ChannelNamesTest, ClearingCommandsReachChannel255AndSpareEntry511) {
    setName(show(), 255, "LAST");
    setName(show(), 0, "ZERO");
    ClearNameChannel(show());
    for (int at = layout::kChannelNameTable; at < layout::kStaticPictures; ++at)
        ASSERT_EQ(show().get(at), 0) << at;

    colors.NameRed[511] = 7;
    colors.GoboType[511] = 7;
    colors.SplitBlue[511] = 7;
    ClearNameColors(colors);
    ClearGoboTypes(colors);
    ClearSplitColors(colors, 10, 20, 30);
    EXPECT_EQ(colors.NameRed[0], 255);
    EXPECT_EQ(colors.NameBlue[510], 255);
    EXPECT_EQ(colors.GoboType[255], 255);
    EXPECT_EQ(colors.SplitGreen[100], 20);
    EXPECT_EQ(colors.NameRed[511], 7);
    EXPECT_EQ(colors.GoboType[511], 7);
    EXPECT_EQ(colors.SplitBlue[511], 7);
}

TEST_F(ChannelNamesTest, BlockCopyTwiceNumbersAndMarksTheCopies) {
    for (int c = 1; c <= 10; ++c) {
        setName(show(), c, "PAR" + std::to_string(c));
        colors.GoboType[c] = static_cast<std::uint8_t>(c);
        colors.NameRed[c] = static_cast<std::uint8_t>(100 + c);
    }
    show().setLevel(0, 1, 99);
    NameCopyFields f;  // F 1, L 10, D 11, digit 2, "+ Namber Name" and marks on
    f.repeat = 2;
    const NameCopyResult r = ButtonNameBlocCopyClick(*console, colors, f);
    EXPECT_FALSE(r.refused);
    EXPECT_EQ(r.from, 31);
    EXPECT_EQ(r.digit, 4);
    EXPECT_EQ(nameDisplayBytes(show(), 11), "2AR1");
    EXPECT_EQ(nameDisplayBytes(show(), 20), "2AR10");
    EXPECT_EQ(nameDisplayBytes(show(), 21), "3AR1");
    EXPECT_EQ(nameDisplayBytes(show(), 30), "3AR10");
    EXPECT_EQ(nameDisplayBytes(show(), 31), "");
    EXPECT_EQ(colors.GoboType[25], 5);
    EXPECT_EQ(colors.NameRed[30], 110);
    auto mark = [&](int c) {
        return std::array<int, 3>{colors.SplitRed[c], colors.SplitGreen[c], colors.SplitBlue[c]};
    };
    EXPECT_EQ(mark(11), (std::array<int, 3>{50, 250, 50}));
    EXPECT_EQ(mark(12), (std::array<int, 3>{170, 170, 170}));
    EXPECT_EQ(mark(21), (std::array<int, 3>{50, 250, 50}));
    EXPECT_EQ(mark(30), (std::array<int, 3>{200, 200, 200}));
    // The undo copy was taken before the copy.
    EXPECT_EQ(console->undoCopy[layout::levelOffset(0, 1)], 99);
    EXPECT_EQ(console->undoCopy[layout::nameOffset(11)], 0);
}

TEST_F(ChannelNamesTest, BlockCopyPastChannel255IsRefusedWholeAndTheLastFitIsTaken) {
    setName(show(), 1, "A");
    NameCopyFields f{1, 100, 101, 3, 2, true, true, true};
    EXPECT_TRUE(ButtonNameBlocCopyClick(*console, colors, f).refused);
    for (int c = 101; c <= 255; ++c) ASSERT_EQ(nameDisplayBytes(show(), c), "") << c;
    EXPECT_EQ(colors.SplitRed[101], 0);

    // One channel copied onto 255 exactly fits.
    NameCopyFields last{1, 1, 255, 1, 5, true, false, true};
    EXPECT_FALSE(ButtonNameBlocCopyClick(*console, colors, last).refused);
    EXPECT_EQ(nameDisplayBytes(show(), 255), "5");
    EXPECT_EQ(colors.SplitRed[255], 170);
}

TEST_F(ChannelNamesTest, ChannelFieldsFollowEachOther) {
    NameCopyFields f;
    f.first = 40;
    f = nameFirstChanged(f);
    EXPECT_EQ(f.last, 40);
    EXPECT_EQ(f.from, 41);  // the start follows the last field it pushed
    f.first = 30;
    EXPECT_EQ(nameFirstChanged(f).last, 40);
    f.from = 20;
    EXPECT_EQ(nameFromChanged(f).from, 41);
    f.linked = false;
    EXPECT_EQ(nameFromChanged(f).from, 20);
    f.last = 60;
    EXPECT_EQ(nameLastChanged(f).from, 20);
}

}  // namespace
}  // namespace lumetra
