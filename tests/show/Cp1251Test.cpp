#include <gtest/gtest.h>

#include "show/Cp1251.h"

namespace lumetra {
namespace {

TEST(Cp1251, EveryAssignedByteRoundTrips) {
    for (int b = 0; b < 256; ++b) {
        if (b == 0x98) continue;  // unassigned in the code page
        EXPECT_EQ(unicodeToCp1251(cp1251ToUnicode(static_cast<std::uint8_t>(b))), b) << b;
    }
}

TEST(Cp1251, KnownLetters) {
    EXPECT_EQ(cp1251ToUnicode(0xC0), u'А');
    EXPECT_EQ(cp1251ToUnicode(0xFF), u'я');
    EXPECT_EQ(cp1251ToUnicode(0xA8), u'Ё');
    EXPECT_EQ(cp1251ToUnicode(0xB8), u'ё');
    EXPECT_EQ(cp1251ToUnicode(0xB9), u'№');
    EXPECT_EQ(unicodeToCp1251(u'Ж'), 0xC6);
    EXPECT_EQ(unicodeToCp1251(u'€'), 0x88);
    EXPECT_EQ(unicodeToCp1251(u'ß'), -1);
    EXPECT_EQ(unicodeToCp1251(0xFFFD), -1);
}

}  // namespace
}  // namespace lumetra
