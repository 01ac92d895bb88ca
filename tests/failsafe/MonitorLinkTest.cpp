// The trace monitor: message framing, finding the monitor by its title, the
// lines it receives, and the pause it can impose.
#include "TraceFixture.h"

#include "failsafe/MonitorFolder.h"
#include "failsafe/MonitorLink.h"
#include "failsafe/MonitorProtocol.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMutex>
#include <QMutexLocker>
#include <QSemaphore>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

namespace vm::failsafe {
namespace {

using namespace test;
using failsafe::Message;

TEST(MonitorProtocolTest, TitlesThatMakeAMonitor)
{
    const std::pair<const char*, bool> cases[] = {{"Tarvik FailSafe", true},   {"Tarvik FailSafe -", true},
                                                  {"Tarvik FailSafe-", false}, {"Tarvik FailSafe 2", false},
                                                  {"tarvik failsafe", false},  {" Tarvik FailSafe", false}};
    for (const auto& [title, isMonitor] : cases)
        EXPECT_EQ(failsafe::isMonitorTitle(QString::fromLatin1(title)), isMonitor) << title;
    EXPECT_EQ(failsafe::monitorCandidates(
                  {u"Tarvik FailSafe - b"_s, u"other"_s, u"Tarvik FailSafe"_s, u"Tarvik FailSafe - a"_s}),
              (QStringList{u"Tarvik FailSafe"_s, u"Tarvik FailSafe - a"_s, u"Tarvik FailSafe - b"_s}));
}

// A monitor on its own thread that records what it is sent and answers by a rule.
class TestMonitor {
public:
    using Rule = std::function<std::int32_t(const Message&)>;
    explicit TestMonitor(
        Rule rule = [](const Message&) { return 0; }, const QString& name = u"Tarvik FailSafe"_s)
    {
        QSemaphore ready;
        const QString path = monitorFolder(MakeFolder::Yes).value_or(QString()) + u'/' + name;
        thread_ = std::thread([this, &ready, rule, path] {
            QLocalServer server;
            listening_ = server.listen(path);
            ready.release();
            serve(server, rule);
        });
        ready.acquire();
    }
    ~TestMonitor()
    {
        stop_ = true;
        thread_.join();
    }
    bool listening() const { return listening_; }
    std::vector<Message> received() const
    {
        QMutexLocker lock(&mutex_);
        return received_;
    }

private:
    void serve(QLocalServer& server, const Rule& rule)
    {
        QLocalSocket* client = nullptr;
        QByteArray buffer;
        while (!stop_) {
            if (!client && server.waitForNewConnection(20))
                client = server.nextPendingConnection();
            if (!client || (!client->waitForReadyRead(20) && client->bytesAvailable() == 0))
                continue;
            buffer += client->readAll();
            while (auto m = failsafe::takeMessage(buffer)) {
                {
                    const QMutexLocker lock(&mutex_);
                    received_.push_back(*m);
                }
                client->write(failsafe::encodeAnswer(rule(*m)));
                client->waitForBytesWritten(1000);
            }
        }
    }

    std::thread thread_;
    std::atomic<bool> stop_{false};
    bool listening_ = false;
    mutable QMutex mutex_;
    std::vector<Message> received_;
};

class MonitorLinkTest : public TraceFixture {};

TEST_F(MonitorLinkTest, ListenersOfAnotherAccountGetNothing)
{
    // The old name in the shared temporary folder, and the user's own folder with daemon answering.
    for (const QString& path :
         {sockets_.path() + u"/Tarvik FailSafe"_s, *monitorFolder(MakeFolder::Yes) + u"/Tarvik FailSafe"_s}) {
        sockaddr_un address{AF_UNIX, {}};
        qstrncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof address.sun_path);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        // Bound by root, listened to by daemon: whom a program connecting sees at the far end.
        const bool listening = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                               ::seteuid(1) == 0 && ::listen(fd, 8) == 0;
        ASSERT_TRUE(::seteuid(0) == 0 && listening) << path.toStdString();
        resetState(), fsSTART();
        EXPECT_FALSE(state().monitorPresent) << path.toStdString();  // so not even the start line went there
        ::close(fd), QFile::remove(path);
    }
}

TEST_F(MonitorLinkTest, MonitorFoundByTitleGetsEveryLine)
{
    TestMonitor server([](const Message&) { return 0; }, u"Tarvik FailSafe - ops desk"_s);
    ASSERT_TRUE(server.listening());
    push(u"Sub Form_Load"_s);
    pop(u"Sub Form_Load"_s);
    EXPECT_TRUE(state().monitorPresent);
    EXPECT_EQ(state().monitorName, u"Tarvik FailSafe - ops desk"_s);
    const std::vector<Message> got = server.received();
    QByteArray texts;
    for (const Message& m : got)
        texts += m.id == failsafe::kSetText && m.param == m.text.size() ? m.text : "(not a text message)";
    // No settings file: the lines have no argument text and no extra fields.
    EXPECT_TRUE(texts.startsWith("[RiVaVaz] ") && texts.contains(" - start FailSafe client")) << texts.constData();
    EXPECT_TRUE(
        texts.endsWith("\r\n[RiVaVaz] [00001] [00000.0000] ->frmVmailCfg.frm : Sub Form_Load\r\n"
                       "[RiVaVaz] [00002] [00000.0000] <-frmVmailCfg.frm : Sub Form_Load\r\n"))
        << texts.constData();
}

TEST_F(MonitorLinkTest, PauseHoldsProgramUntilReleased)
{
    // Pauses on the first traced line, stays paused for three rounds of polls.
    std::atomic<int> holdingPolls{0};
    TestMonitor server([&](const Message& m) -> std::int32_t {
        if (m.id == failsafe::kSetText)
            return m.text.contains("->") ? failsafe::kPauseAnswer : 0;
        return m.param == failsafe::kPollHolding && ++holdingPolls <= 3 ? 1 : 0;  // else: released? not yet
    });
    ASSERT_TRUE(server.listening());
    std::vector<bool> windowStates;
    const auto scope = windowsEnabledHook().replace([&](bool enabled) { windowStates.push_back(enabled); });
    push(u"Sub Form_Load"_s);
    EXPECT_EQ(windowStates, (std::vector<bool>{false, true}));
    std::vector<std::int32_t> polls;
    for (const Message& m : server.received())
        if (m.id == failsafe::kPoll)
            polls.push_back(m.param);
    EXPECT_EQ(polls, (std::vector<std::int32_t>{1, 2, 1, 2, 1, 2, 1}));
    EXPECT_EQ(state().stack.depth, 1);
}

TEST_F(MonitorLinkTest, FirstEntryAndExitMeasureTheirOwnCost)
{
    TestMonitor server;
    ASSERT_TRUE(server.listening());
    fsSTART();
    const auto scope = clock().replace([this] { return now_ += 2; });  // every reading costs time
    push(u"Sub Form_Load"_s);
    pop(u"Sub Form_Load"_s);
    const std::int64_t entry = state().entryCorrection, exit = state().exitCorrection;
    EXPECT_GT(entry, 0);
    EXPECT_GT(exit, 0);
    push(u"Sub Form_Load"_s);
    pop(u"Sub Form_Load"_s);
    EXPECT_EQ(state().entryCorrection, entry);  // measured once only
    EXPECT_EQ(state().exitCorrection, exit);
}

}  // namespace
}  // namespace vm::failsafe
