#include "output/OlaOutput.h"

#include <ola/DmxBuffer.h>
#include <ola/Logging.h>
#include <ola/client/StreamingClient.h>
#include <pthread.h>
#include <sched.h>
#include <signal.h>

#include <cstdio>
#include <mutex>

namespace lumetra::io {

namespace {

class OlaStreamingSink final : public DmxSink {
  public:
    explicit OlaStreamingSink(std::uint16_t port) {
        // libola logs every refused connect at warning level; once a second
        // while olad is away that would fill the terminal. Only fatal
        // messages are left.
        static std::once_flag quiet;
        std::call_once(quiet, [] { ola::InitLogging(ola::OLA_LOG_FATAL, ola::OLA_LOG_STDERR); });
        options_.auto_start = false;  // never start a daemon behind the operator's back
        options_.server_port = port;
    }
    ~OlaStreamingSink() override { disconnect(); }

    bool connect() override {
        disconnect();
        client_ = std::make_unique<ola::client::StreamingClient>(options_);
        if (client_->Setup()) return true;
        client_.reset();
        return false;
    }

    bool send(unsigned universe, const std::uint8_t* levels, std::size_t count) override {
        if (!client_) return false;
        frame_.Set(levels, static_cast<unsigned>(count));
        return client_->SendDmx(universe, frame_);
    }

    void disconnect() override {
        if (!client_) return;
        client_->Stop();
        client_.reset();
    }

  private:
    ola::client::StreamingClient::Options options_;
    std::unique_ptr<ola::client::StreamingClient> client_;
    ola::DmxBuffer frame_;
};

const char* stateNote(OlaOutput::State s) {
    switch (s) {
        case OlaOutput::State::Connected:
            return "connected";
        case OlaOutput::State::NoDaemon:
            return "olad does not answer; trying again every second";
        case OlaOutput::State::Lost:
            return "connection to olad lost; trying again every second";
        default:
            return nullptr;
    }
}

}  // namespace

std::unique_ptr<DmxSink> makeOlaSink(std::uint16_t port) {
    return std::make_unique<OlaStreamingSink>(port);
}

struct OlaOutput::Shared {
    Shared(unsigned u, std::uint16_t p, std::unique_ptr<DmxSink> s)
        : universe(u), port(p), sink(std::move(s)) {}

    const unsigned universe;
    const std::uint16_t port;
    std::unique_ptr<DmxSink> sink;  // the sender thread's alone
    LineMailbox mailbox;
    std::atomic<std::uint32_t> events{0};  // bumped for every request; the sender waits on it
    std::atomic<bool> connectWanted{false};
    std::atomic<bool> stopping{false};
    std::atomic<bool> finished{false};  // the sender's loop has ended
    std::atomic<State> state{State::Stopped};
    std::atomic<std::uint64_t> sent{0};
    std::atomic<std::uint64_t> replaced{0};

    void wake() {
        events.fetch_add(1, std::memory_order_release);
        events.notify_one();
    }

    void setState(State next) {
        const State before = state.exchange(next, std::memory_order_acq_rel);
        if (before == next) return;
        // One line per change, never one per attempt.
        if (const char* note = stateNote(next))
            std::fprintf(stderr, "lumetra: olad 127.0.0.1:%u, universe %u: %s\n", unsigned(port),
                         universe, note);
    }
};

OlaOutput::OlaOutput(unsigned universe, std::uint16_t port)
    : OlaOutput(universe, port, makeOlaSink(port)) {}

OlaOutput::OlaOutput(unsigned universe, std::uint16_t port, std::unique_ptr<DmxSink> sink)
    : s_(std::make_shared<Shared>(universe, port, std::move(sink))) {}

OlaOutput::~OlaOutput() {
    stop();
}

OlaOutput::State OlaOutput::state() const {
    return s_->state.load(std::memory_order_acquire);
}
unsigned OlaOutput::universe() const {
    return s_->universe;
}
std::uint64_t OlaOutput::linesSent() const {
    return s_->sent.load(std::memory_order_relaxed);
}
std::uint64_t OlaOutput::linesReplaced() const {
    return s_->replaced.load(std::memory_order_relaxed);
}

void OlaOutput::start() {
    if (sender_.joinable() || abandoned_) return;
    s_->stopping.store(false, std::memory_order_release);
    s_->finished.store(false, std::memory_order_release);
    s_->connectWanted.store(true, std::memory_order_release);
    s_->state.store(State::Connecting, std::memory_order_release);
    sender_ = std::thread([shared = s_] { run(shared); });
    // Connecting to the loopback address is answered at once, whether olad
    // is there or not; the wait is only a bound.
    const auto end = std::chrono::steady_clock::now() + kFirstAnswer;
    while (state() == State::Connecting && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

void OlaOutput::poll() {
    const State s = state();
    if (s != State::NoDaemon && s != State::Lost) return;
    s_->connectWanted.store(true, std::memory_order_release);
    s_->wake();
}

void OlaOutput::stop() {
    if (!sender_.joinable()) return;
    s_->stopping.store(true, std::memory_order_release);
    s_->wake();
    const auto end = std::chrono::steady_clock::now() + kStopWait;
    while (!s_->finished.load(std::memory_order_acquire) &&
           std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    if (s_->finished.load(std::memory_order_acquire)) {
        sender_.join();
    } else {
        // A write to olad that does not return: the console closes anyway.
        // The thread keeps what it shares alive and ends when the write does.
        std::fprintf(stderr, "lumetra: olad 127.0.0.1:%u, universe %u: olad does not answer; "
                             "closing without it\n",
                     unsigned(s_->port), s_->universe);
        sender_.detach();
        abandoned_ = true;
    }
    s_->state.store(State::Stopped, std::memory_order_release);
}

void OlaOutput::sendLine(const AtomicTable<kDmxSlots>& line, bool offline) {
    // Nothing waits while olad is not connected; the first tick after the
    // connection brings the line that is current then.
    if (offline || state() != State::Connected) return;
    LineMailbox::Line& buffer = s_->mailbox.writeBuffer();
    line.copyOut(buffer.data(), 1, LineMailbox::kLevels);  // slot 0 is the start code
    if (s_->mailbox.put()) s_->replaced.fetch_add(1, std::memory_order_relaxed);
    s_->wake();
}

void OlaOutput::run(const std::shared_ptr<Shared>& shared) {
    Shared& s = *shared;
    // A daemon that closes its socket must not end the console with
    // SIGPIPE: the signal stays blocked on this thread, which does all the
    // writing to olad, and the failed write is seen as a lost connection.
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
    // Just below the tick, so that a busy machine delays the line no more
    // than the USB packet; an ordinary user is refused and runs on as is.
    sched_param sp{};
    sp.sched_priority = kSenderFifoPriority;
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &sp);
    pthread_setname_np(pthread_self(), "lumetra-olad");

    const auto connected = [&s] { return s.state.load(std::memory_order_acquire) == State::Connected; };
    for (;;) {
        const std::uint32_t seen = s.events.load(std::memory_order_acquire);
        if (s.stopping.load(std::memory_order_acquire)) break;
        if (s.connectWanted.exchange(false, std::memory_order_acq_rel) && !connected()) {
            if (s.sink->connect())
                s.setState(State::Connected);
            else
                s.setState(s.state.load() == State::Lost ? State::Lost : State::NoDaemon);
        }
        if (const LineMailbox::Line* line = s.mailbox.take(); line && connected()) {
            if (s.sink->send(s.universe, line->data(), line->size())) {
                s.sent.fetch_add(1, std::memory_order_relaxed);
            } else {
                s.sink->disconnect();
                s.setState(State::Lost);
            }
        }
        s.events.wait(seen, std::memory_order_acquire);
    }
    s.sink->disconnect();
    s.finished.store(true, std::memory_order_release);
}

std::string OlaOutput::outputStatus() const {
    const std::string who = "OLA вселенная " + std::to_string(s_->universe);
    switch (state()) {
        case State::NoDaemon:
            return who + " - нет связи с olad...";
        case State::Lost:
            return who + " - связь с olad потеряна...";
        default:
            return {};
    }
}

OutputListing OlaOutput::listing() const {
    return {"Выход OLA: вселенная = " + std::to_string(s_->universe),
            "Open Lighting Architecture (olad)", "olad = 127.0.0.1:" + std::to_string(s_->port)};
}

}  // namespace lumetra::io
