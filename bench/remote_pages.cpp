// Opens many pages of the web remote at once, as phones would: logs in once
// and keeps PAGES WebSockets open for SECONDS, counting the states they are
// sent; with --act every page also sends an action a second.
//   remote_pages HOST:PORT PASSWORD PAGES SECONDS [--act]
#include <QCoreApplication>
#include <QNetworkRequest>
#include <QTcpSocket>
#include <QTime>
#include <QTimer>
#include <QUrl>
#include <QWebSocket>
#include <cstdio>
#include <memory>
#include <vector>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 5) {
        std::fprintf(stderr, "usage: remote_pages HOST:PORT PASSWORD PAGES SECONDS [--act]\n");
        return 2;
    }
    const QString host = QString::fromLocal8Bit(argv[1]);
    const QByteArray password = argv[2];
    const int pages = std::atoi(argv[3]);
    const int seconds = std::atoi(argv[4]);
    const bool act = argc > 5 && QByteArray(argv[5]) == "--act";
    const QUrl base(QStringLiteral("http://") + host + '/');

    // The login, by hand: one request, the cookie out of the answer.
    QTcpSocket login;
    login.connectToHost(base.host(), static_cast<quint16>(base.port()));
    if (!login.waitForConnected(3000)) return 1;
    const QByteArray body = "password=" + QUrl::toPercentEncoding(QString::fromUtf8(password));
    login.write("POST /login HTTP/1.1\r\nHost: " + host.toUtf8() +
                "\r\nContent-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
                QByteArray::number(body.size()) + "\r\n\r\n" + body);
    QByteArray answer;
    while (!answer.contains("\r\n\r\n") && login.waitForReadyRead(3000)) answer += login.readAll();
    const qsizetype at = answer.indexOf("lumetra_session=");
    if (!answer.startsWith("HTTP/1.1 200") || at < 0) {
        std::fprintf(stderr, "login refused: %s\n", answer.left(40).constData());
        return 1;
    }
    const QByteArray cookie = answer.mid(at, answer.indexOf(';', at) - at);

    long long states = 0;
    int open = 0;
    std::vector<std::unique_ptr<QWebSocket>> sockets;
    for (int i = 0; i < pages; ++i) {
        auto socket = std::make_unique<QWebSocket>(QStringLiteral("http://") + host);
        QWebSocket* s = socket.get();
        QObject::connect(s, &QWebSocket::connected, [&open] { ++open; });
        QObject::connect(s, &QWebSocket::textMessageReceived, [&states] { ++states; });
        QNetworkRequest request(QUrl(QStringLiteral("ws://") + host + QStringLiteral("/ws")));
        request.setRawHeader("Cookie", cookie);
        s->open(request);
        if (act) {
            auto* timer = new QTimer(s);
            QObject::connect(timer, &QTimer::timeout, s, [s, i] {
                s->sendTextMessage(QStringLiteral(R"({"op":"picture","n":%1,"on":%2})")
                                       .arg(i % 16 + 1)
                                       .arg(QTime::currentTime().second() % 2 ? "true" : "false"));
            });
            timer->start(1000);
        }
        sockets.push_back(std::move(socket));
    }
    QTimer::singleShot(seconds * 1000, &app, &QCoreApplication::quit);
    app.exec();
    std::printf("pages: %d of %d open, %lld states received (%.1f per page per second)\n", open,
                pages, states, pages ? double(states) / pages / seconds : 0.0);
    return open == pages ? 0 : 1;
}
