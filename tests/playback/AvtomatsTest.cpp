#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "output/FakeUsbBackend.h"
#include "output/OutputCycle.h"
#include "output/UsbDriver.h"
#include "playback/Avtomats.h"

namespace lumetra {
namespace {

// The direction of every step from the start: +1 forward, -1 backward.
std::vector<int> directions(Avtomat& gen, int steps) {
    std::vector<int> out;
    int last = gen.step();
    for (int i = 0; i < steps; ++i) {
        gen.JobAvtomat();
        const int now = gen.step();
        out.push_back((now - last + 8) % 8 == 1 ? 1 : -1);
        last = now;
    }
    return out;
}

// Lengths of the runs of equal direction, signed.
std::vector<int> runs(const std::vector<int>& dirs) {
    std::vector<int> out;
    for (int d : dirs) {
        if (out.empty() || (out.back() > 0) != (d > 0))
            out.push_back(d);
        else
            out.back() += d;
    }
    return out;
}

class AvtomatsTest : public ::testing::Test {
  protected:
    std::unique_ptr<Console> owned = std::make_unique<Console>();
    Console& con = *owned;
    Avtomats gens{con};

    void setLevels(int n, int bright, int dark) {
        con.show.setCell(avtomatCells(n).bright, static_cast<std::uint8_t>(bright));
        con.show.setCell(avtomatCells(n).dark, static_cast<std::uint8_t>(dark));
    }
};

TEST_F(AvtomatsTest, StepCountersRunTheirFullCycles) {
    struct Case {
        int n, forward, backward, nextForward, period;
    };
    for (const Case& c : {Case{0, 75, 88, 80, 168}, Case{1, 91, 104, 96, 200}}) {
        SCOPED_TRACE(c.n);
        Avtomat& gen = gens[c.n];
        // The first step after start-up shows step 2.
        gen.JobAvtomat();
        EXPECT_EQ(gen.step(), 1);
        const std::vector<int> r = runs(directions(gen, 2 * c.period + c.forward));
        ASSERT_GE(r.size(), 4u);
        EXPECT_EQ(r[0], c.forward - 1);  // the first step was taken above
        EXPECT_EQ(r[1], -c.backward);
        EXPECT_EQ(r[2], c.nextForward);
        EXPECT_EQ(r[3], -c.backward);
        EXPECT_EQ(c.nextForward + c.backward, c.period);

        // From then on the (step, turns) state repeats with the period.
        std::vector<std::pair<int, int>> seen;
        for (int i = 0; i < 2 * c.period; ++i) {
            gen.JobAvtomat();
            seen.emplace_back(gen.step(), gen.turns());
        }
        for (int i = 0; i < c.period; ++i) EXPECT_EQ(seen[i], seen[i + c.period]) << i;
    }
}

TEST_F(AvtomatsTest, FourPatternsSetBrightAndDark) {
    const std::uint8_t B = 200, D = 7;
    // One string per pattern: the eight steps, L1..L4 each, B or D.
    const char* expected[4] = {
        "BDDD DBDD DDBD DDDB BDDD DBDD DDBD DDDB",
        "BBDD DBBD DDBB BDDB BBDD DBBD DDBB BDDB",
        "BBDD DDBB BBDD DDBB DBBD BDDB DBBD BDDB",
        "BDDD BBDD BBBD BBBB DBBB DDBB DDDB DDDD",
    };
    for (int p = 1; p <= 4; ++p) {
        std::string got;
        for (int s = 0; s < 8; ++s) {
            if (s) got += ' ';
            for (std::uint8_t level : avtomatPattern(p, s, B, D)) got += level == B ? 'B' : 'D';
        }
        EXPECT_EQ(got, expected[p - 1]) << "pattern " << p;
    }
}

TEST_F(AvtomatsTest, StepUsesThePatternAndCellsInForce) {
    setLevels(0, 255, 10);
    gens[0].setPattern(4);
    gens[0].JobAvtomat();  // step 1 of "fill": B B D D
    EXPECT_EQ(gens[0].levels(), (AvtomatLevels{255, 255, 10, 10}));
    // A new show that never set the cells has B = D = 0.
    setLevels(1, 0, 0);
    gens[1].JobAvtomat();
    EXPECT_EQ(gens[1].levels(), (AvtomatLevels{0, 0, 0, 0}));
}

TEST_F(AvtomatsTest, RunsAloneOrWithTheShowNeverUnderBlackout) {
    Avtomat& gen = gens[0];
    EXPECT_FALSE(gen.timerTick(false, false));
    EXPECT_FALSE(gen.active());

    // "С основным" only while the show plays.
    EXPECT_FALSE(gen.timerTick(false, true));
    con.showRunning.set(1);
    EXPECT_TRUE(gen.timerTick(false, true));
    EXPECT_TRUE(gen.active());
    EXPECT_EQ(gen.step(), 1);
    con.showRunning.set(0);
    EXPECT_FALSE(gen.timerTick(false, true));
    EXPECT_FALSE(gen.active());
    EXPECT_EQ(gen.step(), 1);  // a tick that does not run leaves the step

    EXPECT_TRUE(gen.timerTick(true, false));
    con.controls.blackout.set(1);
    EXPECT_FALSE(gen.timerTick(true, true));
    EXPECT_FALSE(gen.active());
}

TEST_F(AvtomatsTest, SpeedGivesIntervalAndLabel) {
    EXPECT_EQ(avtomatTiming(5).intervalMs, 25);
    EXPECT_EQ(avtomatTiming(5).label, "2400 Flash/мин ");
    EXPECT_EQ(avtomatTiming(10).intervalMs, 100);
    EXPECT_EQ(avtomatTiming(50).intervalMs, 2500);
    EXPECT_EQ(avtomatTiming(50).label, "24 Flash/мин ");
    EXPECT_EQ(avtomatTiming(0).intervalMs, 400);  // a zero cell counts as 20
    // Cells from a file beyond the 16-bit product stay positive.
    EXPECT_EQ(avtomatTiming(181).intervalMs, 32761);
    EXPECT_EQ(avtomatTiming(255).intervalMs, 32761);
    EXPECT_EQ(avtomatTiming(255).label, "1 Flash/мин ");
}

// The generators through the output cycle: over the scene, generator 2
// over generator 1, and gone at the first tick after they stop.
TEST_F(AvtomatsTest, TickLaysActiveGeneratorsOverTheSceneInOrder) {
    test::FakeUsbBackend fake;
    UsbDriver driver{fake};
    OutputCycle cycle{con, driver};
    cycle.setAvtomats(&gens);
    con.controls.crossfadeMode.set(static_cast<std::uint8_t>(CrossfadeMode::Off));
    for (int c = 1; c <= 255; ++c) con.show.setLevel(0, c, 50);

    setLevels(0, 255, 0);
    setLevels(1, 128, 1);
    gens[0].setFirstChannel(10);     // channels 11..14
    gens[1].setFirstChannel(12);     // channels 13..16
    gens[0].timerTick(true, false);  // step 1: D B D D
    gens[1].timerTick(true, false);  // step 1: D B D D

    cycle.SborDmxStroki();
    std::vector<int> got;
    for (int c = 10; c <= 17; ++c) got.push_back(con.dmxLine.get(c));
    EXPECT_EQ(got, (std::vector<int>{50, 0, 255, 1, 128, 1, 1, 50}));

    // The slider's last position: channels 251..254; 255 stays the scene's.
    gens[1].setFirstChannel(250);
    cycle.SborDmxStroki();
    EXPECT_EQ(con.dmxLine.get(252), 128);
    EXPECT_EQ(con.dmxLine.get(255), 50);

    gens[0].timerTick(false, false);
    gens[1].timerTick(false, false);
    cycle.SborDmxStroki();
    EXPECT_EQ(con.dmxLine.get(12), 50);
    EXPECT_EQ(con.dmxLine.get(252), 50);
}

}  // namespace
}  // namespace lumetra
