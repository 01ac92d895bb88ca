// The monitor program against the program's own monitor link: lines arrive,
// Pause holds the traced program and Resume lets it go on.
#include "fsmonitor/MonitorWindow.h"
#include "fsmonitor/TraceMonitorServer.h"

#include "failsafe/FailSafeHooks.h"
#include "failsafe/MonitorLink.h"
#include "failsafe/MonitorProtocol.h"

#include <QApplication>
#include <QMutex>
#include <QMutexLocker>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

namespace vm::fsmonitor {
namespace {

namespace monitor = vm::failsafe::monitor;

TEST(TraceMonitorServerTest, AnswersFollowThePauseSwitch)
{
    TraceMonitorServer server;
    const struct {
        bool paused;
        std::uint32_t id;
        std::int32_t param;
        std::int32_t answer;
    } cases[] = {
        {false, monitor::kSetText, 10, 0}, {true, monitor::kSetText, 10, 128},
        {false, monitor::kPoll, 1, 0},     {true, monitor::kPoll, 1, 1},
        {false, monitor::kPoll, 2, 1},     {true, monitor::kPoll, 2, 0},
        {true, monitor::kPoll, 3, 0},      {true, 99, 1, 0},
    };
    for (const auto& c : cases) {
        server.setPaused(c.paused);
        EXPECT_EQ(server.answer(c.id, c.param), c.answer) << c.paused << " " << c.id << " " << c.param;
    }
    EXPECT_EQ(TraceMonitorServer::titleFor({}), QStringLiteral("Tarvik FailSafe"));
    EXPECT_EQ(TraceMonitorServer::titleFor(QStringLiteral("desk")), QStringLiteral("Tarvik FailSafe - desk"));
}

// The monitor on its own thread, as it would be in its own process.
class MonitorThread {
public:
    explicit MonitorThread(const QString& title)
    {
        server_ = new TraceMonitorServer;
        server_->moveToThread(&thread_);
        QObject::connect(server_, &TraceMonitorServer::lineReceived, server_,
                         [this](const QString& line) {
                             QMutexLocker lock(&mutex_);
                             lines_ << line;
                         },
                         Qt::DirectConnection);
        thread_.start();
        QMetaObject::invokeMethod(server_, [this, title] { listening_ = server_->listen(title); },
                                  Qt::BlockingQueuedConnection);
    }
    ~MonitorThread()
    {
        QMetaObject::invokeMethod(server_, [this] { delete server_; }, Qt::BlockingQueuedConnection);
        thread_.quit();
        thread_.wait();
    }
    bool listening() const { return listening_; }
    void setPaused(bool paused)
    {
        QMetaObject::invokeMethod(server_, [this, paused] { server_->setPaused(paused); }, Qt::BlockingQueuedConnection);
    }
    QStringList lines() const
    {
        QMutexLocker lock(&mutex_);
        return lines_;
    }

private:
    QThread thread_;
    TraceMonitorServer* server_;
    bool listening_ = false;
    mutable QMutex mutex_;
    QStringList lines_;
};

class TraceMonitorTest : public ::testing::Test {
protected:
    void SetUp() override { qputenv("TMPDIR", sockets_.path().toLocal8Bit()); }
    QTemporaryDir sockets_;
};

TEST_F(TraceMonitorTest, LinesArriveWithoutLineEnds)
{
    MonitorThread monitorEnd(QStringLiteral("Tarvik FailSafe"));
    ASSERT_TRUE(monitorEnd.listening());
    auto link = failsafe::MonitorLink::find();
    ASSERT_TRUE(link);
    failsafe::sendLineToMonitor(*link, QStringLiteral("[RiVaVaz] [00001] [00000.0000] ->frmVmailCfg.frm : Sub Form_Load\r\n"));
    failsafe::sendLineToMonitor(*link, QStringLiteral("second\r\n"));
    EXPECT_EQ(monitorEnd.lines(),
              (QStringList{QStringLiteral("[RiVaVaz] [00001] [00000.0000] ->frmVmailCfg.frm : Sub Form_Load"),
                           QStringLiteral("second")}));
}

TEST_F(TraceMonitorTest, PauseHoldsSenderUntilResume)
{
    MonitorThread monitorEnd(QStringLiteral("Tarvik FailSafe - desk"));
    ASSERT_TRUE(monitorEnd.listening());
    auto link = failsafe::MonitorLink::find();
    ASSERT_TRUE(link);
    monitorEnd.setPaused(true);
    std::vector<bool> windows;
    failsafe::setWindowsEnabledHook([&](bool enabled) { windows.push_back(enabled); });
    bool resumed = false;
    QTimer::singleShot(100, [&] {
        resumed = true;
        monitorEnd.setPaused(false);
    });
    failsafe::sendLineToMonitor(*link, QStringLiteral("held\r\n"));
    failsafe::setWindowsEnabledHook(nullptr);
    EXPECT_TRUE(resumed);  // the send came back only after Resume
    EXPECT_EQ(windows, (std::vector<bool>{false, true}));
    EXPECT_EQ(monitorEnd.lines(), QStringList{QStringLiteral("held")});
}

TEST_F(TraceMonitorTest, StaleSocketFileIsReplacedButLiveMonitorIsNot)
{
    {
        MonitorThread first(QStringLiteral("Tarvik FailSafe"));
        ASSERT_TRUE(first.listening());
        TraceMonitorServer second;
        EXPECT_FALSE(second.listen(QStringLiteral("Tarvik FailSafe")));
    }
    QFile stale(sockets_.path() + QStringLiteral("/Tarvik FailSafe"));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    TraceMonitorServer server;
    EXPECT_TRUE(server.listen(QStringLiteral("Tarvik FailSafe")));
}

TEST_F(TraceMonitorTest, WindowShowsLinesAndSwitchesPause)
{
    TraceMonitorServer server;
    MonitorWindow window(server, QStringLiteral("Tarvik FailSafe"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tarvik FailSafe"));
    emit server.lineReceived(QStringLiteral("one"));
    emit server.lineReceived(QStringLiteral("two"));
    EXPECT_EQ(window.lines()->toPlainText(), QStringLiteral("one\ntwo"));
    window.pauseButton()->click();
    EXPECT_TRUE(server.isPaused());
    window.pauseButton()->click();
    EXPECT_FALSE(server.isPaused());
}

}  // namespace
}  // namespace vm::fsmonitor

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
