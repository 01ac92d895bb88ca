// The trace monitor: message framing, finding the monitor by its title, the
// lines it receives, and the pause it can impose.
#include "TraceFixture.h"

#include "failsafe/FailSafe.h"
#include "failsafe/MonitorLink.h"
#include "failsafe/MonitorProtocol.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QMutex>
#include <QMutexLocker>
#include <QSemaphore>
#include <QThread>

#include <atomic>
#include <functional>
#include <vector>

namespace vm::failsafe {
namespace {

using monitor::Message;

TEST(MonitorProtocolTest, TitlesThatMakeAMonitor)
{
    const struct {
        const char* title;
        bool monitor;
    } cases[] = {{"Tarvik FailSafe", true},   {"Tarvik FailSafe - host1", true}, {"Tarvik FailSafe -", true},
                 {"Tarvik FailSafe-", false}, {"Tarvik FailSafe 2", false},      {"tarvik failsafe", false},
                 {" Tarvik FailSafe", false}, {"", false}};
    for (const auto& c : cases)
        EXPECT_EQ(monitor::isMonitorTitle(QString::fromLatin1(c.title)), c.monitor) << c.title;
    EXPECT_EQ(monitor::monitorCandidates({QStringLiteral("Tarvik FailSafe - b"), QStringLiteral("other"),
                                          QStringLiteral("Tarvik FailSafe"), QStringLiteral("Tarvik FailSafe - a")}),
              (QStringList{QStringLiteral("Tarvik FailSafe"), QStringLiteral("Tarvik FailSafe - a"),
                           QStringLiteral("Tarvik FailSafe - b")}));
}

// A monitor on its own thread that records what it is sent and answers by a rule.
class TestMonitor : public QThread {
public:
    using Rule = std::function<std::int32_t(const Message&)>;
    TestMonitor(QString name, Rule rule) : name_(std::move(name)), rule_(std::move(rule)) {}
    ~TestMonitor() override
    {
        stop_ = true;
        wait();
    }
    bool startListening()
    {
        start();
        listening_.acquire();
        return listeningOk_;
    }
    std::vector<Message> received() const
    {
        QMutexLocker lock(&mutex_);
        return received_;
    }

protected:
    void run() override
    {
        QLocalServer server;
        QLocalServer::removeServer(name_);
        listeningOk_ = server.listen(name_);
        listening_.release();
        QLocalSocket* client = nullptr;
        QByteArray buffer;
        while (!stop_) {
            if (!client) {
                if (server.waitForNewConnection(20))
                    client = server.nextPendingConnection();
                continue;
            }
            if (!client->waitForReadyRead(20) && client->bytesAvailable() == 0)
                continue;
            buffer += client->readAll();
            while (auto m = monitor::takeMessage(buffer)) {
                {
                    QMutexLocker lock(&mutex_);
                    received_.push_back(*m);
                }
                client->write(monitor::encodeAnswer(rule_(*m)));
                client->waitForBytesWritten(1000);
            }
        }
    }

private:
    QString name_;
    Rule rule_;
    std::atomic<bool> stop_{false};
    QSemaphore listening_;
    bool listeningOk_ = false;
    mutable QMutex mutex_;
    std::vector<Message> received_;
};

const QString kForm = QStringLiteral("frmVmailCfg.frm");

class MonitorLinkTest : public test::TraceFixture {};

TEST_F(MonitorLinkTest, MonitorFoundByTitleGetsEveryLine)
{
    TestMonitor server(QStringLiteral("Tarvik FailSafe - ops desk"), [](const Message&) { return 0; });
    ASSERT_TRUE(server.startListening());
    fsPUSH(kForm, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));
    fsPOP(kForm, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));
    EXPECT_TRUE(state().monitorPresent);
    EXPECT_EQ(state().monitorName, QStringLiteral("Tarvik FailSafe - ops desk"));
    const std::vector<Message> got = server.received();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_TRUE(got[0].text.startsWith("[RiVaVaz] ") && got[0].text.contains(" - start FailSafe client"));
    // No settings file: the line has no argument text and no extra fields.
    EXPECT_EQ(got[1].text, QByteArray("[RiVaVaz] [00001] [00000.0000] ->frmVmailCfg.frm : Sub Form_Load\r\n"));
    EXPECT_EQ(got[2].text, QByteArray("[RiVaVaz] [00002] [00000.0000] <-frmVmailCfg.frm : Sub Form_Load\r\n"));
    for (const Message& m : got) {
        EXPECT_EQ(m.id, monitor::kSetText);
        EXPECT_EQ(m.param, m.text.size());
    }
}

TEST_F(MonitorLinkTest, PauseHoldsProgramUntilReleased)
{
    // Pauses on the first traced line, stays paused for three rounds of polls.
    std::atomic<int> holdingPolls{0};
    TestMonitor server(QStringLiteral("Tarvik FailSafe"), [&](const Message& m) -> std::int32_t {
        if (m.id == monitor::kSetText)
            return m.text.contains("->") ? monitor::kPauseAnswer : 0;
        if (m.param == monitor::kPollHolding)
            return ++holdingPolls <= 3 ? 1 : 0;
        return 0;  // released? not yet
    });
    ASSERT_TRUE(server.startListening());
    std::vector<bool> windowStates;
    setWindowsEnabledHook([&](bool enabled) { windowStates.push_back(enabled); });

    fsPUSH(kForm, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));

    EXPECT_EQ(windowStates, (std::vector<bool>{false, true}));
    std::vector<std::int32_t> polls;
    for (const Message& m : server.received())
        if (m.id == monitor::kPoll)
            polls.push_back(m.param);
    EXPECT_EQ(polls, (std::vector<std::int32_t>{1, 2, 1, 2, 1, 2, 1}));
    EXPECT_EQ(state().stack.depth, 1);
}

TEST_F(MonitorLinkTest, VanishedMonitorDoesNotDisturbTracing)
{
    auto server = std::make_unique<TestMonitor>(QStringLiteral("Tarvik FailSafe"), [](const Message&) { return 0; });
    ASSERT_TRUE(server->startListening());
    fsPUSH(kForm, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));
    server.reset();
    fsPUSH(kForm, QStringLiteral("Sub cmdNext_Click"), QStringLiteral("()"));
    fsPOP(kForm, QStringLiteral("Sub cmdNext_Click"), QStringLiteral("()"));
    EXPECT_EQ(state().stack.depth, 1);
    EXPECT_EQ(state().lineCounter, 3);
}

TEST_F(MonitorLinkTest, FirstEntryAndExitMeasureTheirOwnCost)
{
    TestMonitor server(QStringLiteral("Tarvik FailSafe"), [](const Message&) { return 0; });
    ASSERT_TRUE(server.startListening());
    fsSTART();
    setClock([this] { return now_ += 2; });  // every reading costs time
    fsPUSH(kForm, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));
    fsPOP(kForm, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));
    const std::int64_t entry = state().entryCorrection;
    const std::int64_t exit = state().exitCorrection;
    EXPECT_GT(entry, 0);
    EXPECT_GT(exit, 0);
    fsPUSH(kForm, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));
    fsPOP(kForm, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));
    EXPECT_EQ(state().entryCorrection, entry);  // measured once only
    EXPECT_EQ(state().exitCorrection, exit);
}

}  // namespace
}  // namespace vm::failsafe
