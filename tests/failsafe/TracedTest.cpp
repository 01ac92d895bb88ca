// Traced procedures: entry and exit on every path, errors handed to the
// error handler and never passed on, and what its answer does; the run-log
// hooks reach the trace as traced procedures with their texts.
#include "TraceFixture.h"

#include "failsafe/FailSafe.h"
#include "failsafe/Traced.h"

#include "mailbox/VmMgrStub.h"
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
        return ansi::decode(app_.read(QStringLiteral("trace.log"))).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }
};

TEST_F(TracedTest, ErrorsAreTrappedTheFramePoppedAndTheCallerGoesOn)
{
    const std::function<void()> failures[] = {
        [] { raiseError(err::FileNotFound); },
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
                    raiseError(err::FileNotFound);
            });
        EXPECT_EQ(runs, development ? 3 : 1);
        EXPECT_EQ(stops_, development ? 2 : 1);
        EXPECT_EQ(state().stack.depth, 0);
    }
    EXPECT_EQ(dialog.shown, 3);
}

TEST_F(TracedTest, RunLogHooksAppearInTheTraceWithTheirArguments)
{
    LogRunInfo(5, QStringLiteral("x"));
    LogError(-1, QStringLiteral("Import failed: VmBoxList.txt"));
    const QStringList lines = traceLines();
    EXPECT_EQ(lines.mid(1, 3).join(u'|'),
              QStringLiteral("[RiVaVaz] [00001] [00000.0000] ->VmMgrStub.bas : Sub LogRunInfo : (i%=5, s$=x)|"
                             "[RiVaVaz] [00002] [00000.0000] <-VmMgrStub.bas : Sub LogRunInfo : (i%=5, s$=x)|"
                             "[RiVaVaz] [00003] [00000.0000] ->VmMgrStub.bas : Sub LogError : "
                             "(i%=-1, s$=Import failed: VmBoxList.txt)"));
    EXPECT_EQ(lines.size(), 5);
    EXPECT_EQ(state().stack.depth, 0);
}

}  // namespace
}  // namespace vm::failsafe
