#include <gtest/gtest.h>

#include "core/ShowClock.h"

namespace lumetra {
namespace {

void tickTimes(ShowClock& clock, int n) {
    for (int i = 0; i < n; ++i) clock.tick();
}

TEST(ShowClockTest, SixtiethSecondBecomesOneMinute) {
    ShowClock clock;
    tickTimes(clock, 59);
    EXPECT_EQ(clock.showText(), "Шоу   = 0ч 0м 59с ");
    clock.tick();
    EXPECT_EQ(clock.minutes(), 1);
    EXPECT_EQ(clock.seconds(), 0);
    EXPECT_EQ(clock.showText(), "Шоу   = 0ч 1м 0с ");
}

TEST(ShowClockTest, RollsOverAfterADay) {
    ShowClock clock;
    tickTimes(clock, 24 * 3600 - 1);
    EXPECT_EQ(clock.pauseText(), "Паузa = 23ч 59м 59с ");
    clock.tick();
    EXPECT_EQ(clock.hours(), 0);
    EXPECT_EQ(clock.minutes(), 0);
    EXPECT_EQ(clock.seconds(), 0);
    tickTimes(clock, 3600 + 61);
    EXPECT_EQ(clock.showText(), "Шоу   = 1ч 1м 1с ");
    clock.reset();
    EXPECT_EQ(clock.showText(), "Шоу   = 0ч 0м 0с ");
}

TEST(ShowClockTest, PauseTextEndsInLatinA) {
    const std::string text = ShowClock().pauseText();
    // "Пауз" is Cyrillic, the last letter of the word is a Latin 'a'.
    EXPECT_EQ(text.substr(0, 8), "Пауз");
    EXPECT_EQ(text[8], 'a');
    EXPECT_EQ(text.substr(9), " = 0ч 0м 0с ");
}

TEST(InterfaceCaptionTest, OfflineWinsOverOpenAndError) {
    InterfaceCaption c = interfaceCaption({true, true, "x", ""});
    EXPECT_EQ(c.captionPrefix, "DEMO mode: ");
    EXPECT_EQ(c.statusPanel, "    DEMO MODE ");

    c = interfaceCaption({false, true, " - Устройство не найдено....", ""});
    EXPECT_EQ(c.captionPrefix, "Lumetra v5.4.1 ");
    EXPECT_EQ(c.statusPanel, "");

    c = interfaceCaption({false, false, "FT_Open - Устройство не найдено....", ""});
    EXPECT_EQ(c.captionPrefix, " DEMO MODE: ");
    EXPECT_EQ(c.statusPanel, "FT_Open - Устройство не найдено....");
}

}  // namespace
}  // namespace lumetra
