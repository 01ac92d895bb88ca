#pragma once
// The monitor end of the trace connection: a local socket server under the
// monitor's title that takes trace lines from traced programs and answers
// the pause protocol (see failsafe/MonitorProtocol.h). No widgets here.

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>

#include <cstdint>

class QLocalServer;
class QLocalSocket;

namespace vm::fsmonitor {

class TraceMonitorServer : public QObject {
    Q_OBJECT
public:
    explicit TraceMonitorServer(QObject* parent = nullptr);
    ~TraceMonitorServer() override;

    // "Tarvik FailSafe", or "Tarvik FailSafe - " + suffix for a second monitor.
    static QString titleFor(const QString& suffix);

    // Listens under `title`, in the monitor folder of this user
    // (failsafe/MonitorFolder.h), made when missing. A leftover socket file of
    // a monitor that is gone is replaced; a monitor that still answers is
    // left alone (false), and so is a folder that is not the user's alone.
    bool listen(const QString& title);
    QString errorString() const;

    // While paused, the next line is answered with the pause and the sending
    // program is held until resume.
    void setPaused(bool paused);
    bool isPaused() const { return paused_; }

    // The answer to one message; public so the rules can be seen at a glance.
    std::int32_t answer(std::uint32_t id, std::int32_t param) const;

signals:
    void lineReceived(const QString& line);
    void clientsChanged(int count);

private:
    void acceptClients();
    void serve(QLocalSocket* client);

    QLocalServer* server_;
    QHash<QLocalSocket*, QByteArray> buffers_;
    bool paused_ = false;
    bool folderMissing_ = false;
};

}  // namespace vm::fsmonitor
