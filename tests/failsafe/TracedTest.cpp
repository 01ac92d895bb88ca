// Traced procedures: entry and exit on every path, errors handed to the
// error handler and never passed on, and what its answer does.
#include "TraceFixture.h"

#include "failsafe/FailSafe.h"
#include "failsafe/Traced.h"

#include "platform/RuntimeError.h"

#include <stdexcept>

namespace vm::failsafe {
namespace {

const QString kStub = QStringLiteral("VmMgrStub.bas");

class TracedTest : public test::TraceFixture {
protected:
    void SetUp() override
    {
        TraceFixture::SetUp();
        writeSettings(
            QStringLiteral("[log file]\r\nWrite To Disk=1\r\nCapture To Disk=1\r\nLog File=trace.log\r\n"
                           "[include]\r\nResources=0\r\nMemory=0\r\nUser=0\r\n"));
    }
    QStringList traceLines() const
    {
        return platform::decodeAnsi(app_.read(QStringLiteral("trace.log")))
            .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }
};

TEST_F(TracedTest, ErrorsAreTrappedTheFramePoppedAndTheCallerGoesOn)
{
    const std::function<void()> failures[] = {
        [] { platform::raiseError(platform::err::FileNotFound); },
        [] { throw std::runtime_error("boom"); },
        [] { throw 42; },
    };
    bool callerFinished = false;
    runTraced(
        QStringLiteral("frmVmailCfg.frm"), QStringLiteral("Sub Form_Load"), [] { return QStringLiteral("()"); },
        [&] {
            for (const auto& fail : failures) {
                int runs = 0;
                EXPECT_NO_THROW(runTraced(
                    kStub, QStringLiteral("Sub LogError"), [] { return QStringLiteral("()"); },
                    [&] {
                        ++runs;
                        fail();
                    }));
                EXPECT_EQ(runs, 1);
                EXPECT_EQ(state().stack.depth, 1);
            }
            callerFinished = true;
        });
    EXPECT_TRUE(callerFinished);
    EXPECT_EQ(state().stack.depth, 0);
    EXPECT_EQ(stops_, 0);
    EXPECT_EQ(traceLines().filter(QStringLiteral("<-\tVmMgrStub.bas : Sub LogError")).size(), 3);
}

TEST_F(TracedTest, BreakAnswerStopsTheProgramOrRunsTheBodyAgainInDevelopment)
{
    test::StubDialog dialog;
    dialog.answer = 5;
    const auto scope = errorDialog().replace(&dialog);
    for (const bool development : {false, true}) {
        fsSTART();
        state().devEnvironment = development;
        stops_ = 0;
        int runs = 0;
        runTraced(
            kStub, QStringLiteral("Sub LogError"), [] { return QStringLiteral("()"); },
            [&] {
                if (++runs < 3)
                    platform::raiseError(platform::err::FileNotFound);
            });
        EXPECT_EQ(runs, development ? 3 : 1);
        EXPECT_EQ(stops_, development ? 2 : 1);
        EXPECT_EQ(state().stack.depth, 0);
    }
    EXPECT_EQ(dialog.shown, 3);
}

}  // namespace
}  // namespace vm::failsafe
