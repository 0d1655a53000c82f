#pragma once

#include <QAbstractHttpServer>
#include <QByteArray>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QString>
#include <QTcpServer>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "remote/Access.h"
#include "remote/RemoteMeta.h"

class QTimer;
class QWebSocket;

namespace lumetra::remote {

// Accepts the connections of the web remote, at most so many at once, and
// puts a guard on each that refuses oversized, malformed and slow requests
// with a clear status before the HTTP server parses them.
class GuardedTcpServer : public QTcpServer {
    Q_OBJECT
  public:
    static constexpr int kMaxConnections = 256;
    static constexpr int kMaxPerAddress = 128;
    explicit GuardedTcpServer(QObject* parent = nullptr) : QTcpServer(parent) {}
    int refusedRequests() const { return refused_; }
    void countRefused() { ++refused_; }

  protected:
    void incomingConnection(qintptr descriptor) override;

  private:
    int open_ = 0;
    int refused_ = 0;
    std::map<QString, int> perAddress_;
};

// The web remote's server: one page, the login, and the WebSocket that
// carries the state to every page and the pages' actions back. Lives on a
// thread of its own; nothing here touches the console.
class HttpRemote : public QAbstractHttpServer {
    Q_OBJECT
  public:
    struct Config {
        QByteArray password;  // never empty
        Millis sessionLifetime = 12LL * 3600 * 1000;
    };
    explicit HttpRemote(Config config, QObject* parent = nullptr);
    ~HttpRemote() override;

    // Listens on address:port; false with the reason when it cannot.
    bool start(const QHostAddress& address, quint16 port, QString& error);
    quint16 port() const;
    int pages() const { return static_cast<int>(pages_.size()); }

  public slots:
    // The console's state, as every page is sent it.
    void publish(const QByteArray& stateJson);

  signals:
    void command(const lumetra::remote::Command& command);

  protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

  private:
    struct Page {
        std::string token;
        std::array<bool, kPictureCount> held{};
        QElapsedTimer window;  // message rate
        int messages = 0;
    };
    void acceptPages();
    void onMessage(QWebSocket* socket, const QString& message);
    void dropPage(QWebSocket* socket);
    void login(const QHttpServerRequest& request, QTcpSocket* socket);
    void logout(const QHttpServerRequest& request, QTcpSocket* socket);
    bool sameOrigin(const QHttpServerRequest& request) const;
    std::string sessionOf(const QHttpServerRequest& request) const;
    void expireSessions();
    Millis now() const { return clock_.elapsed(); }

    Config config_;
    GuardedTcpServer* tcp_ = nullptr;
    QElapsedTimer clock_;
    LoginThrottle throttle_;
    SessionTable sessions_;
    std::map<QWebSocket*, Page> pages_;
    QByteArray state_;
    QTimer* expiry_ = nullptr;
    // Why the last request was turned away (read by missingHandler).
    int refusal_ = 404;
};

}  // namespace lumetra::remote
