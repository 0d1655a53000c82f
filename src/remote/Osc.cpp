#include "remote/Osc.h"

#include <lo/lo_lowlevel.h>

#include <QTimer>
#include <QUdpSocket>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

namespace lumetra::remote {

namespace {

constexpr std::string_view kPrefix = "/lumetra/";

// A number from one argument: ints, floats, doubles, 64-bit ints and the
// true/false tags all count.
std::optional<double> numberOf(char type, const lo_arg* arg) {
    switch (type) {
        case LO_INT32: return arg->i;
        case LO_FLOAT: return std::isfinite(arg->f) ? std::optional<double>(arg->f) : std::nullopt;
        case LO_DOUBLE: return std::isfinite(arg->d) ? std::optional<double>(arg->d) : std::nullopt;
        case LO_INT64: return static_cast<double>(arg->h);
        case LO_TRUE: return 1.0;
        case LO_FALSE: return 0.0;
        default: return std::nullopt;
    }
}

std::optional<int> wholeIn(std::optional<double> v, int low, int high) {
    if (!v) return std::nullopt;
    const double r = std::round(*v);
    if (r < low || r > high) return std::nullopt;
    return static_cast<int>(r);
}

struct MessageFree {
    void operator()(lo_message m) const { lo_message_free(m); }
};

QByteArray serialise(const char* path, const std::vector<int>& ints, const char* text = nullptr) {
    lo_message m = lo_message_new();
    for (int v : ints) lo_message_add_int32(m, v);
    if (text) lo_message_add_string(m, text);
    size_t size = 0;
    void* data = lo_message_serialise(m, path, nullptr, &size);
    QByteArray bytes = data ? QByteArray(static_cast<const char*>(data), static_cast<qsizetype>(size))
                            : QByteArray();
    std::free(data);
    lo_message_free(m);
    return bytes;
}

}  // namespace

std::optional<OscRequest> parseOsc(const QByteArray& datagram, bool& known) {
    known = false;
    QByteArray copy = datagram;  // liblo swaps the arguments in place
    if (copy.isEmpty() || copy.front() != '/') return std::nullopt;  // bundles too
    int result = 0;
    std::unique_ptr<void, MessageFree> m(
        lo_message_deserialise(copy.data(), static_cast<size_t>(copy.size()), &result));
    if (!m) return std::nullopt;
    const char* path = lo_get_path(const_cast<char*>(datagram.constData()), datagram.size());
    if (!path) return std::nullopt;
    const std::string_view address(path);
    if (address.substr(0, kPrefix.size()) != kPrefix) return std::nullopt;
    const std::string_view name = address.substr(kPrefix.size());
    const char* types = lo_message_get_types(m.get());
    const int argc = lo_message_get_argc(m.get());
    lo_arg** argv = lo_message_get_argv(m.get());
    auto arg = [&](int i) -> std::optional<double> {
        if (i >= argc) return std::nullopt;
        return numberOf(types[i], argv[i]);
    };

    using Op = Command::Op;
    OscRequest r;
    std::optional<Command> c;
    if (name == "play" && argc == 0) c = Command{Op::Play};
    else if (name == "stop" && argc == 0) c = Command{Op::Stop};
    else if (name == "tap" && argc == 0) c = Command{Op::Tap};
    else if ((name == "blackout" || name == "macro") && argc == 1) {
        if (const auto on = wholeIn(arg(0), 0, 1))
            c = Command{name == "macro" ? Op::Macro : Op::Blackout, 0, *on};
    } else if (name == "picture" && argc == 2) {
        const auto n = wholeIn(arg(0), 1, kPictureCount);
        const auto on = wholeIn(arg(1), 0, 1);
        if (n && on) c = Command{Op::Picture, *n, *on};
    } else if (name == "slot" && argc == 1) {
        if (const auto n = wholeIn(arg(0), 1, kSlotCount)) c = Command{Op::Slot, *n};
    } else if (name == "mode" && argc == 1) {
        if (const auto n = wholeIn(arg(0), 0, 3)) c = Command{Op::Mode, *n};
    } else if (name == "tempo" && argc == 1) {
        if (const auto v = wholeIn(arg(0), kMinTempo, kMaxTempo)) c = Command{Op::Tempo, 0, *v};
    } else if (name == "scene" && argc == 1) {
        if (const auto n = wholeIn(arg(0), 1, 256)) c = Command{Op::Scene, *n};
    } else if (name == "fader" && argc == 2) {
        // A float level is a fraction of full (0.0 .. 1.0), as control
        // surfaces send it; a whole number is the level itself.
        std::optional<double> level = arg(1);
        if (level && (types[1] == LO_FLOAT || types[1] == LO_DOUBLE)) {
            if (*level < 0.0 || *level > 1.0) level.reset();
            else level = *level * 255.0;
        }
        const auto row = wholeIn(arg(0), 1, 27);
        const auto v = wholeIn(level, 0, 255);
        if (row && v) c = Command{Op::Fader, *row, *v};
    } else if (name == "subscribe" && argc <= 1) {
        r.kind = OscRequest::Kind::Subscribe;
        if (argc == 1) {
            const auto port = wholeIn(arg(0), 1, 65535);
            if (!port) return std::nullopt;
            r.replyPort = *port;
        }
        known = true;
        return r;
    } else if (name == "unsubscribe" && argc == 0) {
        r.kind = OscRequest::Kind::Unsubscribe;
        known = true;
        return r;
    }
    if (!c) return std::nullopt;
    known = true;
    r.command = *c;
    return r;
}

std::vector<QByteArray> oscChanges(const std::optional<RemoteState>& before,
                                   const RemoteState& now) {
    std::vector<QByteArray> out;
    auto changed = [&](auto RemoteState::*field) {
        return !before || (*before).*field != now.*field;
    };
    if (changed(&RemoteState::playing)) out.push_back(serialise("/lumetra/playing", {now.playing}));
    if (changed(&RemoteState::scene)) out.push_back(serialise("/lumetra/scene", {now.scene}));
    if (changed(&RemoteState::lastScene))
        out.push_back(serialise("/lumetra/lastscene", {now.lastScene}));
    if (changed(&RemoteState::tempo)) out.push_back(serialise("/lumetra/tempo", {now.tempo}));
    if (changed(&RemoteState::blackout))
        out.push_back(serialise("/lumetra/blackout", {now.blackout}));
    if (changed(&RemoteState::macro)) out.push_back(serialise("/lumetra/macro", {now.macro}));
    for (int k = 0; k < kPictureCount; ++k)
        if (!before || before->pictures[k] != now.pictures[k])
            out.push_back(serialise("/lumetra/picture", {k + 1, now.pictures[k]}));
    if (changed(&RemoteState::mode)) out.push_back(serialise("/lumetra/mode", {now.mode}));
    for (int n = 0; n < kSlotCount; ++n)
        if (!before || before->conveyor[n].active != now.conveyor[n].active)
            out.push_back(serialise("/lumetra/slot", {n + 1, now.conveyor[n].active}));
    if (changed(&RemoteState::konveyrLabel))
        out.push_back(serialise("/lumetra/konveyr", {}, now.konveyrLabel.c_str()));
    if (changed(&RemoteState::beatTempo))
        out.push_back(serialise("/lumetra/beat", {now.byBeat}, now.beatTempo.c_str()));
    return out;
}

OscRemote::OscRemote(QObject* parent) : QObject(parent) {
    countTimer_ = new QTimer(this);
    countTimer_->setInterval(1000);
    connect(countTimer_, &QTimer::timeout, this, [this] {
        if (received_ == shownReceived_ && dropped_ == shownDropped_) return;
        shownReceived_ = received_;
        shownDropped_ = dropped_;
        emit counts(received_, dropped_);
    });
}

bool OscRemote::start(const QHostAddress& address, quint16 port, QString& error) {
    socket_ = new QUdpSocket(this);
    if (!socket_->bind(address, port)) {
        error = socket_->errorString();
        delete socket_;
        socket_ = nullptr;
        return false;
    }
    connect(socket_, &QUdpSocket::readyRead, this, &OscRemote::readPending);
    countTimer_->start();
    return true;
}

quint16 OscRemote::port() const {
    return socket_ ? socket_->localPort() : 0;
}

void OscRemote::readPending() {
    // A burst is taken in slices so that the thread stays responsive.
    for (int i = 0; i < 256 && socket_->hasPendingDatagrams(); ++i) {
        QHostAddress from;
        quint16 fromPort = 0;
        QByteArray datagram(static_cast<int>(std::min<qint64>(socket_->pendingDatagramSize(), 65536)),
                            Qt::Uninitialized);
        const qint64 got = socket_->readDatagram(datagram.data(), datagram.size(), &from, &fromPort);
        if (got < 0) break;
        datagram.truncate(static_cast<int>(got));
        bool known = false;
        const std::optional<OscRequest> r = parseOsc(datagram, known);
        if (!r) {
            ++dropped_;
            continue;
        }
        ++received_;
        if (r->kind == OscRequest::Kind::Command) {
            emit command(r->command);
            continue;
        }
        const Client client{from, static_cast<quint16>(r->replyPort ? r->replyPort : fromPort)};
        std::erase(clients_, client);
        if (r->kind == OscRequest::Kind::Subscribe) {
            if (clients_.size() >= kMaxClients) clients_.erase(clients_.begin());
            clients_.push_back(client);
            if (state_) send(client, oscChanges(std::nullopt, *state_));
        }
    }
    if (socket_->hasPendingDatagrams())
        QMetaObject::invokeMethod(this, &OscRemote::readPending, Qt::QueuedConnection);
}

void OscRemote::send(const Client& client, const std::vector<QByteArray>& messages) {
    for (const QByteArray& m : messages) socket_->writeDatagram(m, client.address, client.port);
}

void OscRemote::publish(const RemoteState& state) {
    const std::vector<QByteArray> changes = oscChanges(state_, state);
    state_ = state;
    if (!socket_ || changes.empty()) return;
    for (const Client& c : clients_) send(c, changes);
}

}  // namespace lumetra::remote
