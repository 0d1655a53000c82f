#include "remote/HttpRemote.h"

#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QPointer>
#include <QRandomGenerator>
#include <QTcpSocket>
#include <QTimer>
#include <QUrlQuery>
#include <QWebSocket>
#include <vector>

#include "remote/RemoteProtocol.h"

// The page is a resource of this library (a static one: it is brought in
// by hand).
static void initRemoteResources() {
    Q_INIT_RESOURCE(remote);
}

namespace lumetra::remote {

namespace {

constexpr const char* kCookie = "lumetra_session";
constexpr int kMaxPages = 128;
constexpr int kMessagesPerSecond = 40;
constexpr qint64 kSlowPageBytes = 512 * 1024;
constexpr int kHeadDeadlineMs = 10'000;
constexpr int kIdleMs = 60'000;

QByteArray reasonOf(int status) {
    switch (status) {
        case 400: return "Bad Request";
        case 401: return "Unauthorized";
        case 403: return "Forbidden";
        case 404: return "Not Found";
        case 405: return "Method Not Allowed";
        case 408: return "Request Timeout";
        case 413: return "Content Too Large";
        case 414: return "URI Too Long";
        case 415: return "Unsupported Media Type";
        case 429: return "Too Many Requests";
        case 431: return "Request Header Fields Too Large";
        case 501: return "Not Implemented";
        case 503: return "Service Unavailable";
        case 505: return "HTTP Version Not Supported";
        default: return "Error";
    }
}

// A refusal written straight to the socket, the connection then closed.
void refuseRaw(QTcpSocket* socket, int status) {
    const QByteArray body = QByteArray::number(status) + ' ' + reasonOf(status) + '\n';
    socket->write("HTTP/1.1 " + QByteArray::number(status) + ' ' + reasonOf(status) +
                  "\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Length: " +
                  QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
    socket->disconnectFromHost();
}

// Watches one connection's bytes before the HTTP server reads them (its
// readyRead runs first), and its pace.
class ConnectionGuard : public QObject {
  public:
    ConnectionGuard(QTcpSocket* socket, GuardedTcpServer* server)
        : QObject(socket), socket_(socket), server_(server) {
        connect(socket, &QTcpSocket::readyRead, this, [this] { before(); });
        timer_ = new QTimer(this);
        timer_->setSingleShot(true);
        connect(timer_, &QTimer::timeout, this, [this] { timeUp(); });
        timer_->start(kHeadDeadlineMs);
    }

  private:
    bool upgraded() const { return socket_->property("lumetraUpgraded").toBool(); }

    void before() {
        if (!afterConnected_) {
            // Connected now, so that it runs after the server has read.
            connect(socket_, &QTcpSocket::readyRead, this,
                    [this] { seen_ = socket_->bytesAvailable(); });
            afterConnected_ = true;
        }
        const qint64 available = socket_->bytesAvailable();
        if (dead_) {
            socket_->read(available);
            return;
        }
        const QByteArray bytes = socket_->peek(available);
        const qint64 fresh = std::max<qint64>(0, bytes.size() - seen_);
        const int status = framer_.feed(
            std::string_view(bytes.constData() + bytes.size() - fresh, static_cast<size_t>(fresh)));
        seen_ = bytes.size();
        if (status != 0) {
            refuse(status);
            return;
        }
        timer_->start(framer_.midRequest() ? kHeadDeadlineMs : kIdleMs);
    }

    void refuse(int status) {
        dead_ = true;
        timer_->stop();
        socket_->read(socket_->bytesAvailable());
        if (server_) server_->countRefused();
        refuseRaw(socket_, status);
    }

    void timeUp() {
        // A page now: its WebSocket keeps its own watch. The guard stays
        // with the socket, and its end counts the connection out.
        if (upgraded()) return;
        if (framer_.midRequest())
            refuse(408);
        else
            socket_->disconnectFromHost();
    }

    QTcpSocket* socket_;
    QPointer<GuardedTcpServer> server_;
    QTimer* timer_ = nullptr;
    RequestFramer framer_;
    qint64 seen_ = 0;
    bool afterConnected_ = false;
    bool dead_ = false;
};

QByteArray loadPage() {
    initRemoteResources();
    QFile file(QStringLiteral(":/remote/index.html"));
    if (!file.open(QIODevice::ReadOnly)) return QByteArrayLiteral("<!doctype html><title>?</title>");
    return file.readAll();
}

QByteArray randomToken() {
    std::array<quint32, 8> words{};
    QRandomGenerator::system()->fillRange(words.data(), words.size());
    return QByteArray(reinterpret_cast<const char*>(words.data()), sizeof words).toHex();
}

}  // namespace

void GuardedTcpServer::incomingConnection(qintptr descriptor) {
    auto* socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return;
    }
    const QString address = socket->peerAddress().toString();
    if (open_ >= kMaxConnections || perAddress_[address] >= kMaxPerAddress) {
        ++refused_;
        refuseRaw(socket, 503);
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        return;
    }
    ++open_;
    ++perAddress_[address];
    // Counted out when the guard goes with the socket: the HTTP server cuts
    // the socket's own connections when it hands it to a WebSocket.
    auto* guard = new ConnectionGuard(socket, this);
    connect(guard, &QObject::destroyed, this, [this, address] {
        --open_;
        if (--perAddress_[address] <= 0) perAddress_.erase(address);
    });
    addPendingConnection(socket);
}

HttpRemote::HttpRemote(Config config, QObject* parent)
    : QAbstractHttpServer(parent), config_(std::move(config)), sessions_(config_.sessionLifetime) {
    clock_.start();
    connect(this, &QAbstractHttpServer::newWebSocketConnection, this, &HttpRemote::acceptPages);
    expiry_ = new QTimer(this);
    expiry_->setInterval(10'000);
    connect(expiry_, &QTimer::timeout, this, &HttpRemote::expireSessions);
    expiry_->start();
}

HttpRemote::~HttpRemote() {
    for (auto& [socket, page] : pages_) {
        socket->disconnect(this);
        socket->deleteLater();
    }
}

bool HttpRemote::start(const QHostAddress& address, quint16 port, QString& error) {
    tcp_ = new GuardedTcpServer(this);
    if (!tcp_->listen(address, port)) {
        error = tcp_->errorString();
        delete tcp_;
        tcp_ = nullptr;
        return false;
    }
    bind(tcp_);
    return true;
}

quint16 HttpRemote::port() const {
    return tcp_ ? tcp_->serverPort() : 0;
}

bool HttpRemote::sameOrigin(const QHttpServerRequest& request) const {
    // A browser names the page's origin; it must be this server as the
    // browser reached it.
    const QByteArray origin = request.value("origin");
    const QByteArray host = request.value("host");
    if (origin.isEmpty()) return false;
    return !host.isEmpty() && origin == "http://" + host;
}

std::string HttpRemote::sessionOf(const QHttpServerRequest& request) const {
    const QByteArray cookies = request.value("cookie");
    for (const QByteArray& part : cookies.split(';')) {
        const QByteArray kv = part.trimmed();
        const qsizetype eq = kv.indexOf('=');
        if (eq > 0 && kv.left(eq) == kCookie) return kv.mid(eq + 1).toStdString();
    }
    return {};
}

namespace {
void respond(QHttpServerResponder responder, int status, const QByteArray& type,
             const QByteArray& body, const std::vector<std::pair<QByteArray, QByteArray>>& extra,
             bool withBody = true) {
    responder.writeStatusLine(static_cast<QHttpServerResponder::StatusCode>(status));
    responder.writeHeader("Content-Type", type);
    responder.writeHeader("Content-Length", QByteArray::number(body.size()));
    responder.writeHeader("Cache-Control", "no-store");
    responder.writeHeader("X-Content-Type-Options", "nosniff");
    responder.writeHeader("Referrer-Policy", "no-referrer");
    for (const auto& [name, value] : extra) responder.writeHeader(name, value);
    responder.writeBody(withBody ? body : QByteArray());
}

void respondText(QHttpServerResponder responder, int status,
                 const std::vector<std::pair<QByteArray, QByteArray>>& extra = {}) {
    respond(std::move(responder), status, "text/plain; charset=utf-8",
            QByteArray::number(status) + ' ' + reasonOf(status) + '\n', extra);
}
}  // namespace

bool HttpRemote::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
    using Method = QHttpServerRequest::Method;
    const QString path = request.url().path();
    const bool upgrade = request.value("upgrade").compare("websocket", Qt::CaseInsensitive) == 0;
    if (upgrade) {
        refusal_ = 404;
        if (path != QLatin1String("/ws") || request.method() != Method::Get) return false;
        refusal_ = 403;
        if (!sameOrigin(request)) return false;
        refusal_ = 401;
        if (!sessions_.valid(sessionOf(request), now())) return false;
        refusal_ = 503;
        if (pages_.size() >= kMaxPages) return false;
        socket->setProperty("lumetraUpgraded", true);
        return true;
    }

    if (path == QLatin1String("/")) {
        if (request.method() != Method::Get && request.method() != Method::Head) {
            respondText(makeResponder(request, socket), 405, {{"Allow", "GET, HEAD"}});
            return true;
        }
        static const QByteArray page = loadPage();
        respond(makeResponder(request, socket), 200, "text/html; charset=utf-8", page,
                {{"Content-Security-Policy",
                  "default-src 'none'; style-src 'unsafe-inline'; script-src 'unsafe-inline'; "
                  "connect-src 'self'; img-src data:; base-uri 'none'; form-action 'none'; "
                  "frame-ancestors 'none'"},
                 {"X-Frame-Options", "DENY"}},
                request.method() == Method::Get);
        return true;
    }
    if (path == QLatin1String("/login") || path == QLatin1String("/logout")) {
        if (request.method() != Method::Post) {
            respondText(makeResponder(request, socket), 405, {{"Allow", "POST"}});
            return true;
        }
        // Only the page itself logs in: a form of another site may not.
        if (!request.value("origin").isEmpty() && !sameOrigin(request)) {
            respondText(makeResponder(request, socket), 403);
            return true;
        }
        if (path == QLatin1String("/login"))
            login(request, socket);
        else
            logout(request, socket);
        return true;
    }
    return false;
}

void HttpRemote::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) {
    respondText(makeResponder(request, socket), refusal_);
    refusal_ = 404;
}

void HttpRemote::login(const QHttpServerRequest& request, QTcpSocket* socket) {
    const std::string address = request.remoteAddress().toString().toStdString();
    if (const Millis wait = throttle_.waitFor(address, now()); wait > 0) {
        respondText(makeResponder(request, socket), 429,
                    {{"Retry-After", QByteArray::number((wait + 999) / 1000)}});
        return;
    }
    if (!request.value("content-type").startsWith("application/x-www-form-urlencoded")) {
        respondText(makeResponder(request, socket), 415);
        return;
    }
    const QUrlQuery form(QString::fromUtf8(request.body()));
    const QByteArray given =
        form.queryItemValue(QStringLiteral("password"), QUrl::FullyDecoded).toUtf8();
    if (!sameSecret(given.toStdString(), config_.password.toStdString())) {
        throttle_.failed(address, now());
        respondText(makeResponder(request, socket), 401);
        return;
    }
    throttle_.succeeded(address);
    const QByteArray token = randomToken();
    sessions_.add(token.toStdString(), now());
    respond(makeResponder(request, socket), 200, "text/plain; charset=utf-8", "200 OK\n",
            {{"Set-Cookie", QByteArray(kCookie) + '=' + token +
                                "; Path=/; HttpOnly; SameSite=Strict; Max-Age=" +
                                QByteArray::number(config_.sessionLifetime / 1000)}});
}

void HttpRemote::logout(const QHttpServerRequest& request, QTcpSocket* socket) {
    const std::string token = sessionOf(request);
    sessions_.remove(token);
    std::vector<QWebSocket*> ended;
    for (auto& [page, info] : pages_)
        if (info.token == token) ended.push_back(page);
    for (QWebSocket* page : ended) page->close(QWebSocketProtocol::CloseCodeNormal);
    respond(makeResponder(request, socket), 200, "text/plain; charset=utf-8", "200 OK\n",
            {{"Set-Cookie", QByteArray(kCookie) + "=; Path=/; HttpOnly; SameSite=Strict; Max-Age=0"}});
}

void HttpRemote::acceptPages() {
    while (hasPendingWebSocketConnections()) {
        QWebSocket* socket = nextPendingWebSocketConnection().release();
        if (!socket) break;
        socket->setParent(this);
        socket->setMaxAllowedIncomingFrameSize(4096);
        socket->setMaxAllowedIncomingMessageSize(4096);
        Page page;
        const QByteArray cookies = socket->request().rawHeader("Cookie");
        for (const QByteArray& part : cookies.split(';')) {
            const QByteArray kv = part.trimmed();
            if (kv.startsWith(QByteArray(kCookie) + '=')) page.token = kv.mid(qstrlen(kCookie) + 1).toStdString();
        }
        page.window.start();
        pages_.emplace(socket, std::move(page));
        connect(socket, &QWebSocket::textMessageReceived, this,
                [this, socket](const QString& message) { onMessage(socket, message); });
        connect(socket, &QWebSocket::binaryMessageReceived, this, [socket] {
            socket->close(QWebSocketProtocol::CloseCodeDatatypeNotSupported);
        });
        connect(socket, &QWebSocket::disconnected, this, [this, socket] { dropPage(socket); });
        if (!state_.isEmpty()) socket->sendTextMessage(QString::fromUtf8(state_));
    }
}

void HttpRemote::onMessage(QWebSocket* socket, const QString& message) {
    const auto it = pages_.find(socket);
    if (it == pages_.end()) return;
    Page& page = it->second;
    // A session that has ended ends its pages.
    if (!sessions_.valid(page.token, now())) {
        socket->close(QWebSocketProtocol::CloseCodePolicyViolated, QStringLiteral("session"));
        return;
    }
    if (page.window.elapsed() >= 1000) {
        page.window.restart();
        page.messages = 0;
    }
    if (++page.messages > kMessagesPerSecond) return;  // a flood is dropped
    const std::optional<Command> c = parseCommand(message.toUtf8());
    if (!c) return;
    if (c->op == Command::Op::Picture) page.held[c->n - 1] = c->hold && c->value;
    emit command(*c);
}

void HttpRemote::dropPage(QWebSocket* socket) {
    const auto it = pages_.find(socket);
    if (it == pages_.end()) return;
    // A finger that was on a key when the page went away lets go.
    for (int k = 0; k < kPictureCount; ++k)
        if (it->second.held[k]) emit command(Command{Command::Op::Picture, k + 1, 0});
    pages_.erase(it);
    socket->deleteLater();
}

void HttpRemote::publish(const QByteArray& stateJson) {
    state_ = stateJson;
    const QString text = QString::fromUtf8(stateJson);
    std::vector<QWebSocket*> slow;
    for (auto& [socket, page] : pages_) {
        // A page that does not read what it is sent is dropped rather than
        // buffered without end.
        if (socket->bytesToWrite() > kSlowPageBytes)
            slow.push_back(socket);
        else
            socket->sendTextMessage(text);
    }
    for (QWebSocket* socket : slow) socket->abort();
}

void HttpRemote::expireSessions() {
    sessions_.expire(now());
    std::vector<QWebSocket*> ended;
    for (auto& [socket, page] : pages_)
        if (!sessions_.valid(page.token, now())) ended.push_back(socket);
    for (QWebSocket* socket : ended)
        socket->close(QWebSocketProtocol::CloseCodePolicyViolated, QStringLiteral("session"));
}

}  // namespace lumetra::remote
