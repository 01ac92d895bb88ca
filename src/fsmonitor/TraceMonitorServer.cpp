#include "TraceMonitorServer.h"

#include "failsafe/MonitorFolder.h"
#include "failsafe/MonitorProtocol.h"

#include "platform/AnsiText.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace vm::fsmonitor {

TraceMonitorServer::TraceMonitorServer(QObject* parent) : QObject(parent), server_(new QLocalServer(this))
{
    connect(server_, &QLocalServer::newConnection, this, &TraceMonitorServer::acceptClients);
}

TraceMonitorServer::~TraceMonitorServer() = default;

QString TraceMonitorServer::titleFor(const QString& suffix)
{
    return suffix.isEmpty() ? failsafe::kMonitorTitle : failsafe::kMonitorTitle + QStringLiteral(" - ") + suffix;
}

bool TraceMonitorServer::listen(const QString& title)
{
    const std::optional<QString> folder = failsafe::monitorFolder(failsafe::MakeFolder::Yes);
    if (!folder) {
        folderMissing_ = true;
        return false;
    }
    const QString path = *folder + QLatin1Char('/') + title;
    if (server_->listen(path))
        return true;
    if (server_->serverError() != QAbstractSocket::AddressInUseError)
        return false;
    QLocalSocket probe;
    probe.connectToServer(path);
    if (probe.waitForConnected(300))
        return false;  // another monitor is running under this title
    QLocalServer::removeServer(path);
    return server_->listen(path);
}

QString TraceMonitorServer::errorString() const
{
    return folderMissing_ ? QStringLiteral("no folder of this user alone to put the socket in")
                          : server_->errorString();
}

void TraceMonitorServer::setPaused(bool paused) { paused_ = paused; }

std::int32_t TraceMonitorServer::answer(std::uint32_t id, std::int32_t param) const
{
    if (id == failsafe::kSetText)
        return paused_ ? failsafe::kPauseAnswer : 0;
    if (id == failsafe::kPoll && param == failsafe::kPollHolding)
        return paused_ ? 1 : 0;
    if (id == failsafe::kPoll && param == failsafe::kPollReleased)
        return paused_ ? 0 : 1;
    return 0;
}

void TraceMonitorServer::acceptClients()
{
    while (QLocalSocket* client = server_->nextPendingConnection()) {
        buffers_.insert(client, {});
        connect(client, &QLocalSocket::readyRead, this, [this, client] { serve(client); });
        connect(client, &QLocalSocket::disconnected, this, [this, client] {
            buffers_.remove(client);
            client->deleteLater();
            emit clientsChanged(static_cast<int>(buffers_.size()));
        });
        emit clientsChanged(static_cast<int>(buffers_.size()));
    }
}

void TraceMonitorServer::serve(QLocalSocket* client)
{
    QByteArray& buffer = buffers_[client];
    buffer += client->readAll();
    while (const auto message = failsafe::takeMessage(buffer)) {
        const std::int32_t reply = answer(message->id, message->param);
        if (message->id == failsafe::kSetText) {
            QString line = platform::decodeAnsi(message->text);
            while (line.endsWith(QLatin1Char('\n')) || line.endsWith(QLatin1Char('\r')))
                line.chop(1);
            emit lineReceived(line);
        }
        client->write(failsafe::encodeAnswer(reply));
    }
    client->flush();
}

}  // namespace vm::fsmonitor
