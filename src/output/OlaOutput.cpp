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

OlaOutput::OlaOutput(unsigned universe, std::uint16_t port)
    : OlaOutput(universe, port, makeOlaSink(port)) {}

OlaOutput::OlaOutput(unsigned universe, std::uint16_t port, std::unique_ptr<DmxSink> sink)
    : universe_(universe), port_(port), sink_(std::move(sink)) {}

OlaOutput::~OlaOutput() {
    stop();
}

void OlaOutput::start() {
    if (sender_.joinable()) return;
    stopping_.store(false, std::memory_order_release);
    connectWanted_.store(true, std::memory_order_release);
    state_.store(State::Connecting, std::memory_order_release);
    sender_ = std::thread([this] { run(); });
    // Connecting to the loopback address is answered at once, whether olad
    // is there or not; the wait is only a bound.
    const auto end = std::chrono::steady_clock::now() + kFirstAnswer;
    while (state() == State::Connecting && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

void OlaOutput::poll() {
    const State s = state();
    if (s != State::NoDaemon && s != State::Lost) return;
    connectWanted_.store(true, std::memory_order_release);
    wake();
}

void OlaOutput::stop() {
    if (!sender_.joinable()) return;
    stopping_.store(true, std::memory_order_release);
    wake();
    sender_.join();
    state_.store(State::Stopped, std::memory_order_release);
}

void OlaOutput::sendLine(const AtomicTable<kDmxSlots>& line, bool offline) {
    // Nothing waits while olad is not connected; the first tick after the
    // connection brings the line that is current then.
    if (offline || state() != State::Connected) return;
    LineMailbox::Line& buffer = mailbox_.writeBuffer();
    line.copyOut(buffer.data(), 1, LineMailbox::kLevels);  // slot 0 is the start code
    if (mailbox_.put()) replaced_.fetch_add(1, std::memory_order_relaxed);
    wake();
}

void OlaOutput::wake() {
    events_.fetch_add(1, std::memory_order_release);
    events_.notify_one();
}

void OlaOutput::setState(State next) {
    const State before = state_.exchange(next, std::memory_order_acq_rel);
    if (before == next) return;
    // One line per change, never one per attempt.
    if (const char* note = stateNote(next))
        std::fprintf(stderr, "lumetra: olad 127.0.0.1:%u, universe %u: %s\n", unsigned(port_),
                     universe_, note);
}

void OlaOutput::run() {
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

    for (;;) {
        const std::uint32_t seen = events_.load(std::memory_order_acquire);
        if (stopping_.load(std::memory_order_acquire)) break;
        if (connectWanted_.exchange(false, std::memory_order_acq_rel) &&
            state() != State::Connected) {
            if (sink_->connect())
                setState(State::Connected);
            else
                setState(state() == State::Lost ? State::Lost : State::NoDaemon);
        }
        if (const LineMailbox::Line* line = mailbox_.take(); line && state() == State::Connected) {
            if (sink_->send(universe_, line->data(), line->size())) {
                sent_.fetch_add(1, std::memory_order_relaxed);
            } else {
                sink_->disconnect();
                setState(State::Lost);
            }
        }
        events_.wait(seen, std::memory_order_acquire);
    }
    sink_->disconnect();
}

std::string OlaOutput::outputStatus() const {
    const std::string who = "OLA вселенная " + std::to_string(universe_);
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
    return {"Выход OLA: вселенная = " + std::to_string(universe_),
            "Open Lighting Architecture (olad)", "olad = 127.0.0.1:" + std::to_string(port_)};
}

}  // namespace lumetra::io
