#pragma once

#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QThread>
#include <optional>
#include <string>

#include "remote/RemoteMeta.h"




namespace lumetra::remote {

class RemoteService;

// What the remote is told to serve.
struct RemoteConfig {
    QString httpAddress;  // empty: every address
    quint16 httpPort = 0;  // 0: no web remote
    QByteArray password;
    QString oscAddress;  // empty: 127.0.0.1
    quint16 oscPort = 0;  // 0: no OSC
};

// The password of the web remote: given, or the first line of a file that
// only its owner may read. Empty with a reason when there is none to use.
QByteArray passwordFromFile(const std::string& path, std::string& error);

// The remote beside the console: its servers run on a thread of their own
// ("lumetra-remote"); the console's state goes there whenever it changes,
// and the operations come back to the console's thread. Neither side ever
// waits for the other.
class RemoteHub : public QObject {
    Q_OBJECT
  public:
    RemoteHub(RemoteConsole& console, RemoteConfig config, QObject* parent = nullptr);
    ~RemoteHub() override;

    // Where the remote can be reached, or why it is not running, in words
    // for the status line and the options page. Empty until the servers
    // have started.
    QString where() const { return where_; }
    quint16 httpPort() const { return httpPort_; }
    quint16 oscPort() const { return oscPort_; }

  signals:
    void whereChanged(const QString& where);
    // OSC messages taken and ignored so far.
    void oscCounts(int received, int dropped);

  private:
    void consoleChanged();
    void publishNow();
    void started(quint16 httpPort, const QString& httpError, quint16 oscPort,
                 const QString& oscError);

    RemoteConsole& console_;
    RemoteConfig config_;
    QThread thread_;
    RemoteService* service_ = nullptr;
    std::optional<RemoteState> last_;
    bool pending_ = false;
    QString where_;
    quint16 httpPort_ = 0;
    quint16 oscPort_ = 0;
};

// The addresses of this machine a phone on the same network may use.
QStringList reachableAddresses(const QString& boundTo);

}  // namespace lumetra::remote
