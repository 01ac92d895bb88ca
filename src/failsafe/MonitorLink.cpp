#include "MonitorLink.h"

#include "FailSafeHooks.h"
#include "MonitorProtocol.h"

#include "platform/AnsiText.h"

#include <QDir>

namespace vm::failsafe {

namespace {
constexpr int kConnectTimeoutMs = 500;
// A monitor answers at once; one that does not within this time is taken as gone.
constexpr int kAnswerTimeoutMs = 5000;

QStringList socketNamesInTempFolder()
{
    return QDir(QDir::tempPath()).entryList(QDir::System | QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}
}  // namespace

std::shared_ptr<MonitorLink> MonitorLink::connectTo(const QString& serverName)
{
    std::shared_ptr<MonitorLink> link(new MonitorLink);
    link->socket_.connectToServer(serverName);
    if (!link->socket_.waitForConnected(kConnectTimeoutMs))
        return nullptr;
    return link;
}

std::shared_ptr<MonitorLink> MonitorLink::find()
{
    QStringList names = monitor::monitorCandidates(socketNamesInTempFolder());
    if (!names.contains(monitor::kMonitorTitle))
        names.prepend(monitor::kMonitorTitle);  // a server the folder listing does not show
    for (const QString& name : names) {
        if (auto link = connectTo(name))
            return link;
    }
    return nullptr;
}

QString MonitorLink::serverName() const { return socket_.serverName(); }

std::int32_t MonitorLink::send(std::uint32_t id, std::int32_t param, const QByteArray& text)
{
    if (broken_)
        return 0;
    socket_.write(monitor::encodeMessage({id, param, text}));
    socket_.flush();
    while (true) {
        if (socket_.isOpen())
            received_.append(socket_.readAll());
        if (const auto answer = monitor::takeAnswer(received_))
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
    const QByteArray text = ansi::encode(line);
    if (link.send(monitor::kSetText, static_cast<std::int32_t>(line.size()), text) != monitor::kPauseAnswer)
        return;
    setVisibleWindowsEnabled(false);
    while (link.send(monitor::kPoll, monitor::kPollHolding) != 0) {
        yieldToMessageLoop();
        if (link.send(monitor::kPoll, monitor::kPollReleased) != 0)
            break;
    }
    setVisibleWindowsEnabled(true);
}

}  // namespace vm::failsafe
