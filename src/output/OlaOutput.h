#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "output/LineMailbox.h"
#include "output/LineOutput.h"

namespace lumetra::io {

// olad as the sender thread needs it. All calls come from that one thread.
class DmxSink {
  public:
    virtual ~DmxSink() = default;
    // Connects to the daemon; false when it does not answer.
    virtual bool connect() = 0;
    // One frame of levels for channels 1..count; false when the connection
    // is gone (the caller then disconnects).
    virtual bool send(unsigned universe, const std::uint8_t* levels, std::size_t count) = 0;
    virtual void disconnect() = 0;
};

// libola's streaming client to olad on 127.0.0.1:port. It never starts a
// daemon of its own, and it keeps libola's log quiet: the console reports
// the changes of the connection itself.
std::unique_ptr<DmxSink> makeOlaSink(std::uint16_t port);

// One olad universe as an output of the line. The tick only copies the line
// into a one-line mailbox and wakes the sender thread, which does all the
// socket work: connecting, sending, noticing a daemon that went away. A
// daemon that is not there (or went away) is tried again at the next
// one-second poll, so olad may be started or restarted while the console runs.
class OlaOutput final : public LineOutput {
  public:
    static constexpr std::uint16_t kDefaultPort = 9010;  // olad's RPC port
    enum class State : std::uint8_t {
        Stopped,     // before start() and after stop()
        Connecting,  // the first attempt is under way
        Connected,   // lines go to olad
        NoDaemon,    // olad did not answer
        Lost,        // olad went away; stays so until it answers again
    };

    OlaOutput(unsigned universe, std::uint16_t port);
    OlaOutput(unsigned universe, std::uint16_t port, std::unique_ptr<DmxSink> sink);
    ~OlaOutput() override;
    OlaOutput(const OlaOutput&) = delete;
    OlaOutput& operator=(const OlaOutput&) = delete;

    // start() starts the sender and waits (at most kFirstAnswer) for its
    // first connect, so that the start-up status tells how it went.
    void start() override;
    void poll() override;
    void stop() override;
    void sendLine(const AtomicTable<kDmxSlots>& line, bool offline) override;

    bool isOpen() const override { return state() == State::Connected; }
    std::string outputStatus() const override;
    OutputListing listing() const override;

    State state() const;
    unsigned universe() const;
    std::uint64_t linesSent() const;
    // Lines the tick put over one the sender had not taken yet.
    std::uint64_t linesReplaced() const;

    static constexpr std::chrono::milliseconds kFirstAnswer{500};
    // How long stop() waits for the sender before leaving it behind.
    static constexpr std::chrono::milliseconds kStopWait{1000};
    static constexpr int kSenderFifoPriority = 70;  // the tick runs at 80

  private:
    // What the sender thread shares with the output. The thread holds it
    // too, so that a sender stuck in a write to a daemon that stopped
    // answering (olad frozen, its socket full) can be left behind at
    // shutdown instead of holding the console up.
    struct Shared;
    static void run(const std::shared_ptr<Shared>& shared);

    std::shared_ptr<Shared> s_;
    std::thread sender_;
    bool abandoned_ = false;  // a stuck sender was left behind: no new start
};

}  // namespace lumetra::io
