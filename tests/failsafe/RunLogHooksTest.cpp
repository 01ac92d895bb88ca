// The run-log hooks reach the trace as traced procedures with their texts.
#include "TraceFixture.h"

#include "mailbox/VmMgrStub.h"

namespace vm::failsafe {
namespace {

class RunLogHooksTest : public test::TraceFixture {};

TEST_F(RunLogHooksTest, HooksAppearInTheTraceWithTheirArguments)
{
    writeSettings(
        QStringLiteral("[log file]\r\nWrite To Disk=1\r\nCapture To Disk=1\r\n"
                       "[include]\r\nResources=0\r\nMemory=0\r\nUser=0\r\n"));
    LogRunInfo(5, QStringLiteral("x"));
    LogError(-1, QStringLiteral("Import failed: VmBoxList.txt"));
    const QStringList lines =
        ansi::decode(app_.read(QStringLiteral("error.log"))).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[1],
              QStringLiteral("[RiVaVaz] [00001] [00000.0000] ->VmMgrStub.bas : Sub LogRunInfo : (i%=5, s$=x)"));
    EXPECT_EQ(lines[2],
              QStringLiteral("[RiVaVaz] [00002] [00000.0000] <-VmMgrStub.bas : Sub LogRunInfo : (i%=5, s$=x)"));
    EXPECT_EQ(lines[3], QStringLiteral("[RiVaVaz] [00003] [00000.0000] ->VmMgrStub.bas : Sub LogError : "
                                       "(i%=-1, s$=Import failed: VmBoxList.txt)"));
    EXPECT_EQ(state().stack.depth, 0);
}

}  // namespace
}  // namespace vm::failsafe
