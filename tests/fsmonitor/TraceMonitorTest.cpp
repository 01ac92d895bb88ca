// The monitor program: its answers to the pause protocol, taking over a
// leftover socket, and its window.
#include "fsmonitor/MonitorWindow.h"
#include "fsmonitor/TraceMonitorServer.h"

#include "failsafe/MonitorProtocol.h"
#include "support/EnvironmentScope.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace vm::fsmonitor {
namespace {

TEST(TraceMonitorServerTest, AnswersFollowThePauseSwitch)
{
    TraceMonitorServer server;
    const struct {
        bool paused;
        std::uint32_t id;
        std::int32_t param;
        std::int32_t answer;
    } cases[] = {
        {false, failsafe::kSetText, 10, 0}, {true, failsafe::kSetText, 10, 128},
        {false, failsafe::kPoll, 1, 0},     {true, failsafe::kPoll, 1, 1},
        {false, failsafe::kPoll, 2, 1},     {true, failsafe::kPoll, 2, 0},
        {true, failsafe::kPoll, 3, 0},      {true, 99, 1, 0},
    };
    for (const auto& c : cases) {
        server.setPaused(c.paused);
        EXPECT_EQ(server.answer(c.id, c.param), c.answer) << c.paused << " " << c.id << " " << c.param;
    }
    EXPECT_EQ(TraceMonitorServer::titleFor({}), QStringLiteral("Tarvik FailSafe"));
    EXPECT_EQ(TraceMonitorServer::titleFor(QStringLiteral("desk")), QStringLiteral("Tarvik FailSafe - desk"));
}

class TraceMonitorTest : public ::testing::Test {
protected:
    QTemporaryDir sockets_;
    const test::EnvironmentScope environment_{{"TMPDIR", QFile::encodeName(sockets_.path())}, {"XDG_RUNTIME_DIR", {}}};
    const QString folder_ = sockets_.filePath(QStringLiteral("fsmonitor-%1").arg(::geteuid()));
};

TEST_F(TraceMonitorTest, StaleSocketFileIsReplacedButLiveMonitorIsNot)
{
    {
        TraceMonitorServer first;
        ASSERT_TRUE(first.listen(QStringLiteral("Tarvik FailSafe")));
        TraceMonitorServer second;
        EXPECT_FALSE(second.listen(QStringLiteral("Tarvik FailSafe")));
    }
    QFile stale(folder_ + QStringLiteral("/Tarvik FailSafe"));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    TraceMonitorServer server;
    EXPECT_TRUE(server.listen(QStringLiteral("Tarvik FailSafe")));
    // A socket folder that others may enter is not used.
    QFile::setPermissions(folder_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeOther);
    EXPECT_FALSE(TraceMonitorServer().listen(QStringLiteral("Tarvik FailSafe - 2")));
}

TEST_F(TraceMonitorTest, ServesLinesAndPollsOfAConnectedProgram)
{
    TraceMonitorServer server;
    ASSERT_TRUE(server.listen(QStringLiteral("Tarvik FailSafe")));
    server.setPaused(true);
    QStringList lines;
    QObject::connect(&server, &TraceMonitorServer::lineReceived, [&](const QString& line) { lines << line; });
    QLocalSocket program;
    program.connectToServer(folder_ + QStringLiteral("/Tarvik FailSafe"));
    ASSERT_TRUE(program.waitForConnected(1000));
    program.write(failsafe::encodeMessage({failsafe::kSetText, 7, QByteArray("a\tb\xe9\r\n")}) +
                  failsafe::encodeMessage({failsafe::kPoll, failsafe::kPollHolding, {}}));
    QByteArray answers;
    QDeadlineTimer deadline(2000);
    while (answers.size() < 8 && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        answers += program.readAll();
    }
    EXPECT_EQ(failsafe::takeAnswer(answers), failsafe::kPauseAnswer);
    EXPECT_EQ(failsafe::takeAnswer(answers), 1);
    EXPECT_EQ(lines, QStringList{QStringLiteral("a\tb\u00e9")});
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
