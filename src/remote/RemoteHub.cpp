#include "remote/RemoteHub.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QNetworkInterface>
#include <QTimer>

#include "remote/HttpRemote.h"
#include "remote/Osc.h"
#include "remote/RemoteProtocol.h"

namespace lumetra::remote {

// The servers, on the remote's thread.
class RemoteService : public QObject {
    Q_OBJECT
  public:
    void start(const RemoteConfig& config) {
        QString httpError;
        QString oscError;
        quint16 httpPort = 0;
        quint16 oscPort = 0;
        if (config.httpPort != 0) {
            http_ = new HttpRemote(HttpRemote::Config{config.password}, this);
            const QHostAddress address = config.httpAddress.isEmpty()
                                             ? QHostAddress(QHostAddress::Any)
                                             : QHostAddress(config.httpAddress);
            if (address.isNull())
                httpError = QStringLiteral("неверный адрес %1").arg(config.httpAddress);
            else if (http_->start(address, config.httpPort, httpError))
                httpPort = http_->port();
            if (httpPort == 0) {
                delete http_;
                http_ = nullptr;
            } else {
                connect(http_, &HttpRemote::command, this, &RemoteService::command);
            }
        }
        if (config.oscPort != 0) {
            osc_ = new OscRemote(this);
            const QHostAddress address = config.oscAddress.isEmpty()
                                             ? QHostAddress(QHostAddress::LocalHost)
                                             : QHostAddress(config.oscAddress);
            if (address.isNull())
                oscError = QStringLiteral("неверный адрес %1").arg(config.oscAddress);
            else if (osc_->start(address, config.oscPort, oscError))
                oscPort = osc_->port();
            if (oscPort == 0) {
                delete osc_;
                osc_ = nullptr;
            } else {
                connect(osc_, &OscRemote::command, this, &RemoteService::command);
                connect(osc_, &OscRemote::counts, this, &RemoteService::oscCounts);
            }
        }
        emit started(httpPort, httpError, oscPort, oscError);
    }

    void publish(const RemoteState& state) {
        if (http_) http_->publish(stateJson(state));
        if (osc_) osc_->publish(state);
    }

  signals:
    void started(quint16 httpPort, const QString& httpError, quint16 oscPort,
                 const QString& oscError);
    void command(const lumetra::remote::Command& command);
    void oscCounts(int received, int dropped);

  private:
    HttpRemote* http_ = nullptr;
    OscRemote* osc_ = nullptr;
};

QByteArray passwordFromFile(const std::string& path, std::string& error) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        error = "cannot read the password file " + path;
        return {};
    }
    if (!S_ISREG(st.st_mode)) {
        error = "the password file " + path + " is not a plain file";
        return {};
    }
    if (st.st_uid != ::geteuid() || (st.st_mode & 077) != 0) {
        error = "the password file " + path +
                " may be read by others: it must belong to you and have mode 600 "
                "(chmod 600 " + path + ")";
        return {};
    }
    QFile file(QString::fromStdString(path));
    if (st.st_size > 4096 || !file.open(QIODevice::ReadOnly)) {
        error = "cannot read the password file " + path;
        return {};
    }
    QByteArray line = file.readLine(4097);
    while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
    if (line.isEmpty()) error = "the password file " + path + " holds no password";
    return line;
}

QStringList reachableAddresses(const QString& boundTo) {
    if (!boundTo.isEmpty() && boundTo != QLatin1String("0.0.0.0") && boundTo != QLatin1String("::"))
        return {boundTo};
    QStringList list;
    for (const QHostAddress& a : QNetworkInterface::allAddresses())
        if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback())
            list << a.toString();
    if (list.isEmpty()) list << QStringLiteral("127.0.0.1");
    return list;
}

RemoteHub::RemoteHub(RemoteConsole& console, RemoteConfig config, QObject* parent)
    : QObject(parent), console_(console), config_(std::move(config)) {
    qRegisterMetaType<lumetra::remote::Command>();
    qRegisterMetaType<lumetra::remote::RemoteState>();
    thread_.setObjectName(QStringLiteral("lumetra-remote"));
    service_ = new RemoteService;
    service_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, service_, &QObject::deleteLater);
    connect(service_, &RemoteService::started, this, &RemoteHub::started);
    connect(service_, &RemoteService::command, this,
            [this](const Command& c) { console_.apply(c); });
    connect(service_, &RemoteService::oscCounts, this, &RemoteHub::oscCounts);
    thread_.start();
    const RemoteConfig copy = config_;
    QMetaObject::invokeMethod(service_, [s = service_, copy] { s->start(copy); },
                              Qt::QueuedConnection);
    console_.changed = [this] { consoleChanged(); };
    consoleChanged();
}

RemoteHub::~RemoteHub() {
    console_.changed = nullptr;
    thread_.quit();
    thread_.wait();
}

void RemoteHub::consoleChanged() {
    if (pending_) return;
    pending_ = true;
    // Changes made in one pass of the event loop go out together.
    QTimer::singleShot(0, this, &RemoteHub::publishNow);
}

void RemoteHub::publishNow() {
    pending_ = false;
    RemoteState state = console_.state();
    if (last_ && *last_ == state) return;
    last_ = state;
    QMetaObject::invokeMethod(service_, [s = service_, state] { s->publish(state); },
                              Qt::QueuedConnection);
}

void RemoteHub::started(quint16 httpPort, const QString& httpError, quint16 oscPort,
                        const QString& oscError) {
    httpPort_ = httpPort;
    oscPort_ = oscPort;
    QStringList parts;
    if (config_.httpPort != 0) {
        if (httpPort != 0) {
            QStringList urls;
            for (const QString& a : reachableAddresses(config_.httpAddress))
                urls << QStringLiteral("http://%1:%2/").arg(a.contains(':') ? '[' + a + ']' : a)
                            .arg(httpPort);
            parts << QStringLiteral("Пульт: ") + urls.join(QStringLiteral(" "));
        } else {
            parts << QStringLiteral("Пульт не запущен: ") + httpError;
        }
    }
    if (config_.oscPort != 0) {
        if (oscPort != 0)
            parts << QStringLiteral("OSC: %1:%2")
                         .arg(config_.oscAddress.isEmpty() ? QStringLiteral("127.0.0.1")
                                                           : config_.oscAddress)
                         .arg(oscPort);
        else
            parts << QStringLiteral("OSC не запущен: ") + oscError;
    }
    where_ = parts.join(QStringLiteral("  "));
    // The state goes out again now that the servers are there.
    last_.reset();
    consoleChanged();
    emit whereChanged(where_);
}

}  // namespace lumetra::remote

#include "RemoteHub.moc"
