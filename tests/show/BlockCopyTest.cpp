#include <gtest/gtest.h>

#include "SceneFixture.h"
#include "show/BlockCopy.h"

namespace lumetra {
namespace {

using testing::setScenes;

// Scene s, channel ch holds (s * 7 + ch) mod 256 and byte 0 holds 200 + s
// mod 56, so every byte of the scene area is recognisable.
std::uint8_t pattern(int s, int ch) {
    return static_cast<std::uint8_t>((s * 7 + ch) % 256);
}

class BlockCopyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int s = 0; s < layout::kSceneCount; ++s) {
            c.show.set(layout::sceneOffset(s), static_cast<std::uint8_t>(200 + s % 56));
            for (int ch = 1; ch <= 255; ++ch) c.show.setLevel(s, ch, pattern(s, ch));
        }
        setScenes(c, 3, 9);
        c.show.snapshot(before);
    }
    std::uint8_t was(int s, int ch) const { return before[layout::levelOffset(s, ch)]; }
    void expectUnchangedExcept(int scene, int fromCh, int toCh) const {
        for (int s = 0; s < layout::kSceneCount; ++s)
            for (int ch = 0; ch <= 255; ++ch) {
                if (s == scene && ch >= fromCh && ch <= toCh) continue;
                ASSERT_EQ(c.show.level(s, ch), was(s, ch)) << "scene " << s << " ch " << ch;
            }
    }
    bool showUnchanged() const {
        ShowMemory::Image now;
        c.show.snapshot(now);
        return now == before;
    }

    Console c;
    ShowMemory::Image before;
};

TEST_F(BlockCopyTest, CurrentSceneCopiesThroughOneBeyondTheLastField) {
    EXPECT_FALSE(ButtonLevelBlocCopyClick(c, {1, 10, 11}).refused());
    for (int ch = 11; ch <= 20; ++ch) EXPECT_EQ(c.show.level(3, ch), was(3, ch - 10));
    // Channel 11 was overwritten first, so 21 receives the old level of 1.
    EXPECT_EQ(c.show.level(3, 21), was(3, 1));
    expectUnchangedExcept(3, 11, 21);
    EXPECT_EQ(c.undoCopy, before);
}

TEST_F(BlockCopyTest, OverlapRepeatsTheBeginningOfTheBlock) {
    ButtonLevelBlocCopyClick(c, {1, 4, 3});
    const std::uint8_t a = was(3, 1), b = was(3, 2);
    const std::uint8_t expected[] = {a, b, a, b, a, b, a};
    for (int ch = 1; ch <= 7; ++ch) EXPECT_EQ(c.show.level(3, ch), expected[ch - 1]) << ch;
    expectUnchangedExcept(3, 1, 7);
}

TEST_F(BlockCopyTest, CurrentSceneLimitAndCutAtChannel255) {
    // L + S - F = 256 is admitted; the destinations past 255 are cut.
    EXPECT_FALSE(ButtonLevelBlocCopyClick(c, {1, 200, 57}).refused());
    for (int ch = 57; ch <= 255; ++ch) ASSERT_EQ(c.show.level(3, ch), c.show.level(3, ch - 56));
    EXPECT_EQ(c.show.level(4, 0), was(4, 0));  // the next record's byte 0
    EXPECT_EQ(c.show.level(4, 1), was(4, 1));
    expectUnchangedExcept(3, 57, 255);

    c.show.restore(before);
    c.undoCopy.fill(0);
    const auto r = ButtonLevelBlocCopyClick(c, {1, 200, 58});
    EXPECT_EQ(r.warning, " Копирование не выполнено:Максимальное число каналов > 256 ! ");
    EXPECT_TRUE(showUnchanged());
    EXPECT_EQ(c.undoCopy, before);  // the snapshot precedes the refusal

    // The whole block 1..201 lands on 55..255.
    ButtonLevelBlocCopyClick(c, {1, 200, 55});
    for (int ch = 55; ch <= 255; ++ch) ASSERT_EQ(c.show.level(3, ch), c.show.level(3, ch - 54));
    EXPECT_EQ(c.show.level(3, 55), was(3, 1));
    EXPECT_EQ(c.show.level(3, 255), was(3, 39));  // via 201, 147, 93: each overwritten first
    expectUnchangedExcept(3, 55, 255);
}

TEST_F(BlockCopyTest, SourceReachingPastChannel255IsCut) {
    // L + 1 = 256 would be record byte 0 of the next scene: never read.
    c.show.setLevel(4, 0, 99);
    c.show.snapshot(before);
    ButtonLevelBlocCopyClick(c, {250, 255, 1});
    for (int ch = 1; ch <= 6; ++ch) EXPECT_EQ(c.show.level(3, ch), was(3, ch + 249));
    EXPECT_EQ(c.show.level(3, 7), was(3, 7));
    expectUnchangedExcept(3, 1, 6);
}

TEST_F(BlockCopyTest, NothingWhenTheBlockIsEmpty) {
    EXPECT_FALSE(ButtonLevelBlocCopyClick(c, {20, 5, 30}).refused());
    EXPECT_TRUE(showUnchanged());
    // L + 1 = F copies the one channel F.
    ButtonLevelBlocCopyClick(c, {20, 19, 30});
    EXPECT_EQ(c.show.level(3, 30), was(3, 20));
    expectUnchangedExcept(3, 30, 30);
}

TEST_F(BlockCopyTest, AllScenesCopyEverySceneAndHasAStricterLimit) {
    EXPECT_FALSE(SpeedButtonLevelJobScensClick(c, {1, 10, 11}).refused());
    for (int s : {0, 3, 128, 255}) {
        EXPECT_EQ(c.show.level(s, 11), was(s, 1));
        EXPECT_EQ(c.show.level(s, 21), was(s, 1));
        EXPECT_EQ(c.show.level(s, 22), was(s, 22));
    }
    c.show.restore(before);
    EXPECT_EQ(SpeedButtonLevelJobScensClick(c, {1, 200, 57}).warning, copyText::kTooManyChannels);
    EXPECT_TRUE(showUnchanged());
    EXPECT_FALSE(SpeedButtonLevelJobScensClick(c, {1, 200, 56}).refused());
    EXPECT_EQ(c.show.level(255, 255), was(255, 35));  // via 200, 145, 90
    EXPECT_EQ(c.show.level(255, 0), was(255, 0));
}

TEST_F(BlockCopyTest, ChannelsInScenesPairsSourceAndDestinationScenes) {
    // Scenes 1..3 (indices 0..2), channels 1..3 (+1) to channels 10.. of
    // scenes 11..13 (indices 10..12).
    EXPECT_FALSE(SpeedButtonScenAllCopyClick(c, {1, 3, 10}, {1, 3, 11}).refused());
    for (int k = 0; k < 3; ++k)
        for (int ch = 1; ch <= 4; ++ch)
            EXPECT_EQ(c.show.level(10 + k, 9 + ch), was(k, ch)) << k << "," << ch;
    for (int s = 0; s < layout::kSceneCount; ++s)
        for (int ch = 0; ch <= 255; ++ch) {
            if (s >= 10 && s <= 12 && ch >= 10 && ch <= 13) continue;
            ASSERT_EQ(c.show.level(s, ch), was(s, ch)) << s << "," << ch;
        }
}

TEST_F(BlockCopyTest, ChannelsInScenesSameSceneAndOverlappingScenes) {
    // Start scene = first scene: the in-scene copy in each scene.
    SpeedButtonScenAllCopyClick(c, {1, 4, 3}, {5, 6, 5});
    for (int s : {4, 5}) {
        EXPECT_EQ(c.show.level(s, 5), was(s, 1));
        EXPECT_EQ(c.show.level(s, 7), was(s, 1));
    }
    EXPECT_EQ(c.show.level(6, 5), was(6, 5));

    // Destination runs one scene ahead: scenes are read as visited, so the
    // first scene's block repeats down the range.
    c.show.restore(before);
    SpeedButtonScenAllCopyClick(c, {1, 1, 1}, {1, 3, 2});
    for (int s = 1; s <= 3; ++s) {
        EXPECT_EQ(c.show.level(s, 1), was(0, 1)) << s;
        EXPECT_EQ(c.show.level(s, 2), was(0, 2)) << s;
    }
}

TEST_F(BlockCopyTest, ChannelsInScenesLimitsInOrder) {
    EXPECT_EQ(SpeedButtonScenAllCopyClick(c, {1, 200, 57}, {1, 250, 100}).warning,
              copyText::kTooManyChannels);
    EXPECT_EQ(SpeedButtonScenAllCopyClick(c, {1, 10, 11}, {1, 250, 7}).warning,
              " Копирование не выполнено:Максимальное число сцен > 256 ! ");
    EXPECT_TRUE(showUnchanged());
    EXPECT_FALSE(SpeedButtonScenAllCopyClick(c, {1, 10, 11}, {10, 5, 1}).refused());
    EXPECT_TRUE(showUnchanged());
    // At the scene limit the last destination is scene 256 (index 255).
    EXPECT_FALSE(SpeedButtonScenAllCopyClick(c, {1, 1, 1}, {250, 250, 6}).refused());
    EXPECT_EQ(c.show.level(5, 1), was(249, 1));
}

TEST_F(BlockCopyTest, WholeScenesCopyRecordsWithByteZero) {
    EXPECT_FALSE(SpeedButtonScenaBlocCopyClick(c, {1, 10, 11}).refused());
    for (int k = 0; k < 10; ++k)
        for (int ch = 0; ch <= 255; ++ch) ASSERT_EQ(c.show.level(10 + k, ch), was(k, ch));
    EXPECT_EQ(c.show.level(20, 1), was(20, 1));
    EXPECT_EQ(c.show.lastScene(), 9);
}

TEST_F(BlockCopyTest, WholeScenesOverlapCopiesTheOriginals) {
    SpeedButtonScenaBlocCopyClick(c, {1, 10, 3});  // indices 0..9 to 2..11
    for (int k = 0; k < 10; ++k) EXPECT_EQ(c.show.level(2 + k, 5), was(k, 5)) << k;
    c.show.restore(before);
    SpeedButtonScenaBlocCopyClick(c, {3, 12, 1});  // downward
    for (int k = 0; k < 10; ++k) EXPECT_EQ(c.show.level(k, 5), was(k + 2, 5)) << k;
}

TEST_F(BlockCopyTest, WholeScenesNeverPassTheLastRecord) {
    EXPECT_EQ(SpeedButtonScenaBlocCopyClick(c, {1, 10, 248}).warning, copyText::kTooManyScenes);
    EXPECT_TRUE(showUnchanged());
    EXPECT_FALSE(SpeedButtonScenaBlocCopyClick(c, {1, 10, 247}).refused());
    EXPECT_EQ(c.show.level(255, 255), was(9, 255));
    EXPECT_FALSE(SpeedButtonScenaBlocCopyClick(c, {10, 1, 20}).refused());
}

}  // namespace
}  // namespace lumetra
