#include "MonitorLink.h"

#include "FailSafeHooks.h"
#include "MonitorFolder.h"
#include "MonitorProtocol.h"

#include "platform/AnsiText.h"

#include <QDir>
#include <QFileInfo>

#include <sys/socket.h>
#include <unistd.h>

namespace vm::failsafe {

namespace {
constexpr int kConnectTimeoutMs = 500;
// A monitor answers at once; one that does not within this time is taken as gone.
constexpr int kAnswerTimeoutMs = 5000;

// The folder is checked to be the user's own, but whoever listens at the far
// end is what counts: the process that made the listening socket.
bool peerIsThisUser(const QLocalSocket& socket)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           size == sizeof peer && peer.uid == ::geteuid();
}
}  // namespace

std::shared_ptr<MonitorLink> MonitorLink::connectTo(const QString& path)
{
    std::shared_ptr<MonitorLink> link(new MonitorLink);
    link->socket_.connectToServer(path);
    if (!link->socket_.waitForConnected(kConnectTimeoutMs))
        return nullptr;
    if (!peerIsThisUser(link->socket_)) {
        link->socket_.abort();
        return nullptr;
    }
    return link;
}

std::shared_ptr<MonitorLink> MonitorLink::find()
{
    const std::optional<QString> folder = monitorFolder(MakeFolder::No);
    if (!folder)
        return nullptr;
    const QStringList names = failsafe::monitorCandidates(
        QDir(*folder).entryList(QDir::System | QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot));
    for (const QString& name : names) {
        if (auto link = connectTo(*folder + QLatin1Char('/') + name))
            return link;
    }
    return nullptr;
}

QString MonitorLink::title() const { return QFileInfo(socket_.serverName()).fileName(); }

std::int32_t MonitorLink::send(std::uint32_t id, std::int32_t param, const QByteArray& text)
{
    if (broken_)
        return 0;
    socket_.write(failsafe::encodeMessage({id, param, text}));
    socket_.flush();
    while (true) {
        if (socket_.isOpen())
            received_.append(socket_.readAll());
        if (const auto answer = failsafe::takeAnswer(received_))
            return *answer;
        if (socket_.state() != QLocalSocket::ConnectedState || !socket_.waitForReadyRead(kAnswerTimeoutMs))
            break;
    }
    broken_ = true;
    socket_.abort();
    return 0;
}

void sendLineToMonitor(MonitorLink& link, const QString& line)
{
    const QByteArray text = platform::encodeAnsi(line);
    if (link.send(failsafe::kSetText, static_cast<std::int32_t>(line.size()), text) != failsafe::kPauseAnswer)
        return;
    setVisibleWindowsEnabled(false);
    while (link.send(failsafe::kPoll, failsafe::kPollHolding) != 0) {
        yieldToMessageLoop();
        if (link.send(failsafe::kPoll, failsafe::kPollReleased) != 0)
            break;
    }
    setVisibleWindowsEnabled(true);
}

}  // namespace vm::failsafe
