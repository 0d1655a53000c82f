// The olad output with a stand-in for the daemon: the tick's one-line
// mailbox, and the connection kept by the one-second poll.
#include <gtest/gtest.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "core/Console.h"
#include "output/OlaOutput.h"

using namespace lumetra;
using namespace std::chrono_literals;

namespace {

// A daemon whose sends can be held at a gate, and which can go away.
struct FakeDaemon {
    std::mutex m;
    std::condition_variable cv;
    bool up = true;
    bool gateOpen = true;
    bool inSend = false;
    int connects = 0;
    std::vector<std::vector<std::uint8_t>> frames;
    std::vector<unsigned> universes;

    template <typename Pred>
    bool waitUntil(Pred pred) {
        std::unique_lock lock(m);
        return cv.wait_for(lock, 5s, pred);
    }
};

class FakeSink final : public io::DmxSink {
  public:
    explicit FakeSink(FakeDaemon& d) : d_(d) {}
    bool connect() override {
        std::lock_guard lock(d_.m);
        ++d_.connects;
        d_.cv.notify_all();
        return d_.up;
    }
    bool send(unsigned universe, const std::uint8_t* levels, std::size_t count) override {
        std::unique_lock lock(d_.m);
        d_.inSend = true;
        d_.cv.notify_all();
        d_.cv.wait(lock, [&] { return d_.gateOpen; });
        d_.inSend = false;
        if (!d_.up) return false;
        d_.frames.emplace_back(levels, levels + count);
        d_.universes.push_back(universe);
        d_.cv.notify_all();
        return true;
    }
    void disconnect() override {}

  private:
    FakeDaemon& d_;
};

// The sender's state changes on its own thread.
template <typename Pred>
bool eventually(Pred pred) {
    for (int i = 0; i < 2500 && !pred(); ++i) std::this_thread::sleep_for(2ms);
    return pred();
}

void lineOf(Console& con, std::uint8_t level) {
    for (int s = 1; s < kDmxSlots; ++s) con.dmxLine.set(s, level);
    con.dmxLine.set(0, 99);  // the start code slot never reaches olad
}

TEST(OlaOutputTest, ANewerLineReplacesAnUnsentOneAndTheTickNeverWaits) {
    FakeDaemon daemon;
    auto con = std::make_unique<Console>();
    io::OlaOutput out(7, 9010, std::make_unique<FakeSink>(daemon));
    out.start();
    ASSERT_TRUE(out.isOpen());

    // The sender is held inside its send of line 1 ...
    {
        std::lock_guard lock(daemon.m);
        daemon.gateOpen = false;
    }
    lineOf(*con, 1);
    out.sendLine(con->dmxLine, false);
    ASSERT_TRUE(daemon.waitUntil([&] { return daemon.inSend; }));
    // ... while the tick goes on: every call returns at once; line 2 waits,
    // and each later one replaces the one waiting.
    for (int level = 2; level <= 50; ++level) {
        lineOf(*con, static_cast<std::uint8_t>(level));
        out.sendLine(con->dmxLine, false);
    }
    EXPECT_EQ(out.linesReplaced(), 48u);
    // Offline mode sends nothing.
    lineOf(*con, 77);
    out.sendLine(con->dmxLine, true);

    {
        std::lock_guard lock(daemon.m);
        daemon.gateOpen = true;
    }
    daemon.cv.notify_all();
    ASSERT_TRUE(daemon.waitUntil([&] { return daemon.frames.size() == 2; }));
    out.stop();
    ASSERT_EQ(daemon.frames.size(), 2u);  // line 1, then the newest: line 50
    EXPECT_EQ(daemon.frames[0], std::vector<std::uint8_t>(512, 1));
    EXPECT_EQ(daemon.frames[1], std::vector<std::uint8_t>(512, 50));
    EXPECT_EQ(daemon.universes, (std::vector<unsigned>{7, 7}));
    EXPECT_EQ(out.linesSent(), 2u);
}

TEST(OlaOutputTest, TheOneSecondPollReconnectsADaemonThatIsBack) {
    FakeDaemon daemon;
    daemon.up = false;
    auto con = std::make_unique<Console>();
    io::OlaOutput out(1, 9010, std::make_unique<FakeSink>(daemon));
    out.start();
    EXPECT_FALSE(out.isOpen());
    EXPECT_EQ(out.outputStatus(), "OLA вселенная 1 - нет связи с olad...");
    EXPECT_EQ(out.listing().count, "Выход OLA: вселенная = 1");
    EXPECT_EQ(out.listing().serial, "olad = 127.0.0.1:9010");
    lineOf(*con, 5);
    out.sendLine(con->dmxLine, false);  // dropped: nobody to send to

    // Only the poll tries again, and only while not connected.
    {
        std::lock_guard lock(daemon.m);
        daemon.up = true;
    }
    out.poll();
    ASSERT_TRUE(daemon.waitUntil([&] { return daemon.connects == 2; }));
    ASSERT_TRUE(eventually([&] { return out.isOpen(); }));
    EXPECT_EQ(out.outputStatus(), "");
    out.poll();  // connected: no new attempt
    out.sendLine(con->dmxLine, false);
    ASSERT_TRUE(daemon.waitUntil([&] { return daemon.frames.size() == 1; }));

    // The daemon goes away: the next send finds it gone.
    {
        std::lock_guard lock(daemon.m);
        daemon.up = false;
    }
    lineOf(*con, 6);
    out.sendLine(con->dmxLine, false);
    ASSERT_TRUE(eventually([&] { return out.state() == io::OlaOutput::State::Lost; }));
    EXPECT_EQ(out.outputStatus(), "OLA вселенная 1 - связь с olad потеряна...");
    out.stop();
    EXPECT_EQ(daemon.connects, 2);
    EXPECT_EQ(daemon.frames.size(), 1u);
}

// olad frozen with its socket full: the sender's write never returns. The
// console must still close; the sender is left behind and ends with the write.
TEST(OlaOutputTest, AStuckSenderDoesNotHoldUpTheShutdown) {
    static FakeDaemon daemon;  // outlives the sender thread left behind
    auto con = std::make_unique<Console>();
    auto out = std::make_unique<io::OlaOutput>(3, 9010, std::make_unique<FakeSink>(daemon));
    out->start();
    {
        std::lock_guard lock(daemon.m);
        daemon.gateOpen = false;
    }
    lineOf(*con, 9);
    out->sendLine(con->dmxLine, false);
    ASSERT_TRUE(daemon.waitUntil([&] { return daemon.inSend; }));
    out.reset();  // stop() gives up after its wait and the output is gone

    {
        std::lock_guard lock(daemon.m);
        daemon.gateOpen = true;
    }
    daemon.cv.notify_all();
    EXPECT_TRUE(daemon.waitUntil([&] { return daemon.frames.size() == 1; }));
}

}  // namespace
