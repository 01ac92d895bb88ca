#pragma once
// The program's end of the connection to an external trace monitor (see
// MonitorProtocol.h): finding the monitor at start-up, sending a trace line,
// and the pause a monitor can impose.

#include <QByteArray>
#include <QLocalSocket>
#include <QString>

#include <cstdint>
#include <memory>

namespace vm::failsafe {

class MonitorLink {
public:
    // Connects to the first monitor of this user found in the monitor folder
    // (MonitorFolder.h): the plain title first, then any socket there named
    // like a monitor. Nothing when there is none.
    static std::shared_ptr<MonitorLink> find();
    // Connects to the socket at `path`, when the process listening there runs
    // under this program's effective user; nothing otherwise.
    static std::shared_ptr<MonitorLink> connectTo(const QString& path);

    // The monitor's title: the name of its socket.
    QString title() const;

    // Sends one message and waits for its answer; 0 when the monitor has gone
    // (after which every send answers 0 at once, like a message to a closed window).
    std::int32_t send(std::uint32_t id, std::int32_t param, const QByteArray& text = {});

private:
    MonitorLink() = default;
    QLocalSocket socket_;
    QByteArray received_;
    bool broken_ = false;
};

// Sends a trace line as the monitor's window text; when the monitor answers
// with the pause, disables the program's windows and holds until the monitor
// releases it, keeping the message loop running.
void sendLineToMonitor(MonitorLink& link, const QString& line);

}  // namespace vm::failsafe
