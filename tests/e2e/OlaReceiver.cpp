#include "OlaReceiver.h"

#include <ola/Callback.h>
#include <ola/DmxBuffer.h>
#include <ola/Logging.h>
#include <ola/client/OlaClient.h>
#include <ola/io/SelectServer.h>
#include <ola/network/IPV4Address.h>
#include <ola/network/SocketAddress.h>
#include <ola/network/TCPSocket.h>

namespace lumetra::testing {

struct OlaReceiver::Client {
    ola::io::SelectServer ss;
    std::unique_ptr<ola::network::TCPSocket> socket;
    std::unique_ptr<ola::client::OlaClient> client;
    OlaReceiver* owner = nullptr;
    bool closed = false;
    bool registered = false;

    ~Client() {
        if (client) client->Stop();
        if (socket) ss.RemoveReadDescriptor(socket.get());
        client.reset();
        socket.reset();
    }
    void onRegistered(const ola::client::Result& r) { registered = r.Success(); }
    void onClosed() { closed = true; }
    void onDmx(const ola::client::DMXMetadata&, const ola::DmxBuffer& b) {
        owner->onFrame(b.GetRaw(), b.Size());
    }
};

OlaReceiver::OlaReceiver(std::uint16_t port, unsigned universe) : port_(port), universe_(universe) {
    ola::InitLogging(ola::OLA_LOG_FATAL, ola::OLA_LOG_STDERR);
}

OlaReceiver::~OlaReceiver() = default;

bool OlaReceiver::connect() {
    client_.reset();
    auto c = std::make_unique<Client>();
    c->socket.reset(ola::network::TCPSocket::Connect(
        ola::network::IPV4SocketAddress(ola::network::IPV4Address::Loopback(), port_)));
    if (!c->socket) return false;
    c->client = std::make_unique<ola::client::OlaClient>(c->socket.get());
    if (!c->client->Setup()) return false;
    c->ss.AddReadDescriptor(c->socket.get());
    Client* raw = c.get();
    c->client->SetCloseHandler(ola::NewSingleCallback(raw, &Client::onClosed));
    c->owner = this;
    c->client->SetDMXCallback(ola::NewCallback(raw, &Client::onDmx));
    c->client->RegisterUniverse(universe_, ola::client::REGISTER,
                                ola::NewSingleCallback(raw, &Client::onRegistered));
    client_ = std::move(c);
    // The registration is answered within a few loop passes.
    return pumpUntil([raw] { return raw->registered || raw->closed; }, std::chrono::seconds(5)) &&
           raw->registered;
}

bool OlaReceiver::connected() const {
    return client_ && client_->registered && !client_->closed;
}

bool OlaReceiver::pumpUntil(const std::function<bool()>& pred, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!pred() && std::chrono::steady_clock::now() < end) {
        if (!client_ || client_->closed) {
            struct timespec ts {
                0, 10 * 1000 * 1000
            };
            nanosleep(&ts, nullptr);
            continue;
        }
        client_->ss.RunOnce(ola::TimeInterval(0, 10000));
    }
    return pred();
}

void OlaReceiver::onFrame(const std::uint8_t* data, unsigned size) {
    latest_.assign(data, data + size);
    ++frames_;
    arrivals.push_back(std::chrono::steady_clock::now());
}

}  // namespace lumetra::testing
