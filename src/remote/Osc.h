#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <cstddef>
#include <optional>
#include <vector>

#include "remote/RemoteMeta.h"

class QTimer;
class QUdpSocket;

namespace lumetra::remote {

// One OSC message as the console understands it (the address space is in
// the README): an operation, or a client asking for the state changes.
struct OscRequest {
    enum class Kind { Command, Subscribe, Unsubscribe } kind = Kind::Command;
    Command command;
    int replyPort = 0;  // Subscribe: the port to send to (0: the sender's)
};

// Decodes one datagram with liblo. Nothing for a malformed message (not
// OSC, a bundle, a bad type tag) or one this console does not know
// (`known` tells which).
std::optional<OscRequest> parseOsc(const QByteArray& datagram, bool& known);

// The OSC messages that tell a client what changed between two states
// (all of it when `before` is empty).
std::vector<QByteArray> oscChanges(const std::optional<RemoteState>& before,
                                   const RemoteState& now);

// Receives OSC on UDP and sends the state changes back to the clients that
// asked for them. Lives on the remote's thread.
class OscRemote : public QObject {
    Q_OBJECT
  public:
    static constexpr std::size_t kMaxClients = 16;
    explicit OscRemote(QObject* parent = nullptr);
    bool start(const QHostAddress& address, quint16 port, QString& error);
    quint16 port() const;
    int received() const { return received_; }
    int dropped() const { return dropped_; }

  public slots:
    void publish(const lumetra::remote::RemoteState& state);

  signals:
    void command(const lumetra::remote::Command& command);
    // Once a second at most: messages taken and messages ignored so far.
    void counts(int received, int dropped);

  private:
    struct Client {
        QHostAddress address;
        quint16 port = 0;
        bool operator==(const Client&) const = default;
    };
    void readPending();
    void send(const Client& client, const std::vector<QByteArray>& messages);

    QUdpSocket* socket_ = nullptr;
    QTimer* countTimer_ = nullptr;
    std::vector<Client> clients_;
    std::optional<RemoteState> state_;
    int received_ = 0;
    int dropped_ = 0;
    int shownReceived_ = -1;
    int shownDropped_ = -1;
};

}  // namespace lumetra::remote
