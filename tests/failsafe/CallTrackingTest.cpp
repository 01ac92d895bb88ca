// The call stack: entry texts, exit matching, unbalanced exits, deep
// recursion, waiting on the error dialog, and the lines the capture file gets.
#include "TraceFixture.h"

#include "failsafe/CallTracking.h"
#include "failsafe/FailSafe.h"

#include <QRegularExpression>
#include <QTimer>

namespace vm::failsafe {
namespace {

const QString kForm = QStringLiteral("frmVmailCfg.frm");

class CallTrackingTest : public test::TraceFixture {
protected:
    QStringList captureLines() const
    {
        return ansi::decode(app_.read(QStringLiteral("error.log"))).split(QStringLiteral("\r\n"));
    }
};

TEST_F(CallTrackingTest, EntryTextsCarryDepthAndIndent)
{
    fsPUSH(kForm, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));
    fsPUSH(kForm, QStringLiteral("Sub SSTab1_Click"), QStringLiteral("(PreviousTab=0)"));
    fsPUSH(kForm, QStringLiteral("Sub cmdVmbAdd_Click"), QStringLiteral("()"));
    const CallStack& stack = state().stack;
    EXPECT_EQ(stack.depth, 3);
    EXPECT_EQ(stack.entry[1], QStringLiteral(" 1 : frmVmailCfg.frm : Sub Form_Load : ()"));
    EXPECT_EQ(stack.entry[2], QStringLiteral(" 2 : \tfrmVmailCfg.frm : Sub SSTab1_Click : (PreviousTab=0)"));
    EXPECT_EQ(stack.entry[3], QStringLiteral(" 3 : \t\tfrmVmailCfg.frm : Sub cmdVmbAdd_Click : ()"));
    EXPECT_TRUE(stack.entry[0].startsWith(QStringLiteral("FailSafe(tm) : Program START <")));
    EXPECT_TRUE(stack.entry[0].endsWith(QLatin1Char('>')));
}

TEST_F(CallTrackingTest, PopRemovesMatchingFrame)
{
    fsPUSH(kForm, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));
    fsPUSH(kForm, QStringLiteral("Sub cmdNext_Click"), QStringLiteral("()"));
    // Matching is by substring: a shorter procedure name of the same module matches.
    fsPOP(kForm, QStringLiteral("Sub cmdNext"), QStringLiteral("()"));
    EXPECT_EQ(state().stack.depth, 1);
    EXPECT_TRUE(state().stack.entry[2].isEmpty());
    fsPOP(kForm, QStringLiteral("Sub Form_Load"), QStringLiteral("(changed)"));
    EXPECT_EQ(state().stack.depth, 0);
}

TEST_F(CallTrackingTest, UnbalancedPopEmptiesStackSilently)
{
    int boxes = 0;
    setMessageBoxHook([&](BoxIcon, BoxButtons, const QString&, const QString&) { return ++boxes, true; });
    const struct {
        const char* module;
        const char* procedure;
    } mismatches[] = {
        {"frmVmailCfg.frm", "Sub Other_Click"},
        {"VmMgrStub.bas", "Sub Form_Load"},
        {"frmvmailcfg.frm", "Sub Form_Load"},  // case matters
    };
    for (const auto& m : mismatches) {
        fsPUSH(kForm, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));
        fsPUSH(kForm, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));
        fsPOP(QString::fromLatin1(m.module), QString::fromLatin1(m.procedure), QStringLiteral("()"));
        EXPECT_EQ(state().stack.depth, 0) << m.module << " " << m.procedure;
    }
    fsPOP(kForm, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));  // nothing left to pop
    EXPECT_EQ(state().stack.depth, 0);
    fsPUSH(kForm, QStringLiteral("Sub SSTab1_Click"), QStringLiteral("(PreviousTab=1)"));
    EXPECT_EQ(state().stack.entry[1], QStringLiteral(" 1 : frmVmailCfg.frm : Sub SSTab1_Click : (PreviousTab=1)"));
    EXPECT_EQ(boxes, 0);
    EXPECT_EQ(stops_, 0);
}

TEST_F(CallTrackingTest, UnbalancedPopWarnsInDevelopmentEnvironment)
{
    QStringList texts;
    bool answerOk = true;
    setMessageBoxHook([&](BoxIcon, BoxButtons, const QString& title, const QString& text) {
        texts << title + QLatin1Char('|') + text;
        return answerOk;
    });
    fsSTART();
    state().devEnvironment = true;
    fsPOP(kForm, QStringLiteral("Sub X"), QStringLiteral("()"));  // OK: debugger stop
    answerOk = false;
    fsPOP(kForm, QStringLiteral("Sub X"), QStringLiteral("()"));  // Cancel: go on
    state().error.slot[0].moduleTrail = QStringLiteral("a << b");
    state().error.slot[0].procedureTrail = QStringLiteral("c << d");
    fsPOP(kForm, QStringLiteral("Sub X"), QStringLiteral("()"));  // unwinding announced: no box, trails cleared
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(stops_, 1);
    EXPECT_TRUE(state().error.slot[0].moduleTrail.isEmpty() && state().error.slot[0].procedureTrail.isEmpty());
    EXPECT_TRUE(texts[0].startsWith(QStringLiteral("FSVB100|Module      \tfrmVmailCfg.frm\r\nProcedure\tSub X\r\n\r\n")));
    EXPECT_TRUE(texts[0].endsWith(QStringLiteral("Choose OK break to VB.\r\nChoose CANCEL to continue with program.")));
}

TEST_F(CallTrackingTest, RecursionPastLastSlotWithSinkOnNeverFails)
{
    writeSettings(QStringLiteral("[log file]\r\nWrite To Disk=1\r\nCapture To Disk=1\r\n"));
    for (int i = 0; i < 1002; ++i)
        fsPUSH(kForm, QStringLiteral("Function Deep"), QStringLiteral("()"));
    for (int i = 0; i < 1002; ++i)
        fsPOP(kForm, QStringLiteral("Function Deep"), QStringLiteral("()"));
    EXPECT_EQ(state().stack.depth, 0);
    // 1000 entry lines were written; frames 1001 and 1002 had no slot, so the
    // first exit found no entry and the stack started afresh.
    EXPECT_EQ(captureLines().filter(QStringLiteral("->")).size(), 1000);
    EXPECT_TRUE(captureLines().filter(QStringLiteral("<-")).isEmpty());
    fsPUSH(kForm, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));
    EXPECT_EQ(state().stack.depth, 1);
}

TEST_F(CallTrackingTest, PushWaitsWhileErrorDialogShows)
{
    fsSTART();
    state().dialogShowing = true;
    bool depthWhileWaiting = true;
    QTimer::singleShot(20, [&] {
        depthWhileWaiting = state().stack.depth == 0;
        state().dialogShowing = false;
    });
    fsPUSH(kForm, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));
    EXPECT_TRUE(depthWhileWaiting);
    EXPECT_FALSE(state().dialogShowing);
    EXPECT_EQ(state().stack.depth, 1);
}

TEST_F(CallTrackingTest, CaptureFileGetsEveryLineAndAnEmptyLine)
{
    writeSettings(QStringLiteral("[log file]\r\nWrite To Disk=1\r\nCapture To Disk=1\r\n"));
    fsPUSH(kForm, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));
    now_ += 31;
    fsPUSH(kForm, QStringLiteral("Sub SSTab1_Click"), QStringLiteral("(PreviousTab=0)"));
    now_ += 9;
    fsPOP(kForm, QStringLiteral("Sub SSTab1_Click"), QStringLiteral("(PreviousTab=0)"));
    const QStringList lines = captureLines();
    ASSERT_EQ(lines.size(), 9);
    EXPECT_TRUE(QRegularExpression(QStringLiteral(
                    "^\\[RiVaVaz\\] \\S.* \\S+ - start FailSafe client v6\\.6 \\(for Visual Basic 5\\.0 and 6\\.0\\) data capture$"))
                    .match(lines[0])
                    .hasMatch())
        << lines[0].toStdString();
    EXPECT_EQ(lines[2], QStringLiteral("[RiVaVaz] [00001] [00000.0000] ->frmVmailCfg.frm : Sub Form_Load : () : "
                                       "[res = 42%, mem = 23134208] : "));
    EXPECT_EQ(lines[4], QStringLiteral("[RiVaVaz] [00002] [00000.0031] ->\tfrmVmailCfg.frm : Sub SSTab1_Click : "
                                       "(PreviousTab=0) : [res = 42%, mem = 23134208] : "));
    EXPECT_EQ(lines[6], QStringLiteral("[RiVaVaz] [00003] [00000.0040] <-\tfrmVmailCfg.frm : Sub SSTab1_Click : "
                                       "(PreviousTab=0) : [res = 42%, mem = 23134208] : "));
    for (int i : {1, 3, 5, 7, 8})
        EXPECT_TRUE(lines[i].isEmpty()) << i;
    EXPECT_EQ(state().stack.frameTime[1], 0);
    EXPECT_EQ(state().stack.frameTime[2], 40);
}

TEST_F(CallTrackingTest, ExitLineWithoutArgumentsOrIncludes)
{
    writeSettings(QStringLiteral("[log file]\r\nWrite To Disk=1\r\nCapture To Disk=1\r\n"
                                 "[include]\r\nResources=0\r\nMemory=0\r\nArguments=0\r\nUser=0\r\n"));
    fsPUSH(kForm, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));
    fsPUSH(QStringLiteral("VmMgrStub.bas"), QStringLiteral("Sub LogRunInfo"), QStringLiteral("(i%=5, s$=x)"));
    fsPOP(QStringLiteral("VmMgrStub.bas"), QStringLiteral("Sub LogRunInfo"), QStringLiteral("(i%=5, s$=x)"));
    now_ += 40;
    fsPOP(kForm, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));
    EXPECT_EQ(captureLines().value(8), QStringLiteral("[RiVaVaz] [00004] [00000.0040] <-frmVmailCfg.frm : Sub Form_Load"));
}

TEST_F(CallTrackingTest, CaptureNeedsWriteToDiskAndSurvivesBadPath)
{
    writeSettings(QStringLiteral("[log file]\r\nCapture To Disk=1\r\n"));
    fsPUSH(kForm, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));
    EXPECT_EQ(state().lineCounter, 1);  // the sink counts as on ...
    EXPECT_FALSE(app_.exists(QStringLiteral("error.log")));  // ... but writes nothing

    resetState();
    writeSettings(QStringLiteral("[log file]\r\nWrite To Disk=1\r\nCapture To Disk=1\r\nLog File=") + app_.path() +
                  QStringLiteral("/missing/dir/trace.log\r\n"));
    fsPUSH(kForm, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));
    fsPOP(kForm, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));
    EXPECT_EQ(state().stack.depth, 0);
    EXPECT_EQ(state().lineCounter, 2);
}

TEST_F(CallTrackingTest, NoSettingsFileWritesNoFiles)
{
    const QStringList before = QDir(app_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    fsPUSH(kForm, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));
    fsPOP(kForm, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));
    EXPECT_EQ(QDir(app_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    EXPECT_EQ(state().lineCounter, 0);  // no sink: no lines are even built
}

TEST(DevelopmentHostTest, RecognisesTheHostsByFileName)
{
    const struct {
        const char* path;
        bool host;
    } cases[] = {
        {"VB6.EXE", true},           {"c:\\program files\\vb\\vb5.exe", true}, {"/opt/vb/Vb32.Exe", true},
        {"VB.EXE", true},            {"RiVaVaz", false},                        {"VB7.EXE", false},
        {"C:\\VB6.EXE\\RiVaVaz.exe", false}, {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isDevelopmentHost(QString::fromLatin1(c.path)), c.host) << c.path;
}

}  // namespace
}  // namespace vm::failsafe
