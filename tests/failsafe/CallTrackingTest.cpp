// The call stack: entry texts, exit matching, unbalanced exits, deep
// recursion, waiting on the error dialog, and the lines the capture file gets.
#include "TraceFixture.h"

#include "failsafe/CallTracking.h"

#include <QDir>
#include <QRegularExpression>
#include <QTimer>

namespace vm::failsafe {
namespace {

using namespace test;

const QString kCapture = u"[log file]\r\nWrite To Disk=1\r\nCapture To Disk=1\r\n"_s;

class CallTrackingTest : public TraceFixture {};

TEST_F(CallTrackingTest, EntryTextsCarryDepthAndIndentAndPopMatchesBySubstring)
{
    push(u"Sub Form_Load"_s);
    push(u"Sub SSTab1_Click"_s, u"(PreviousTab=0)"_s);
    push(u"Sub cmdVmbAdd_Click"_s);
    const CallStack& stack = state().stack;
    EXPECT_EQ(stack.depth, 3);
    EXPECT_EQ(QStringList(&stack.entry[1], &stack.entry[4]).join(u'|'),
              u" 1 : frmVmailCfg.frm : Sub Form_Load : ()| 2 : \tfrmVmailCfg.frm : Sub SSTab1_Click : (PreviousTab=0)"
              "| 3 : \t\tfrmVmailCfg.frm : Sub cmdVmbAdd_Click : ()"_s);
    EXPECT_TRUE(stack.entry[0].startsWith(u"FailSafe(tm) : Program START <"_s) && stack.entry[0].endsWith(u'>'));

    EXPECT_TRUE(entryMatches(u"m : p"_s, u"m"_s, u"p"_s));  // up to the entry's last character
    pop(u"Sub cmdVmbAdd"_s);                                // a shorter procedure name of the same module matches
    EXPECT_EQ(stack.depth, 2);
    EXPECT_TRUE(stack.entry[3].isEmpty());
    pop(u"Sub SSTab1_Click"_s, u"(changed)"_s);
    EXPECT_EQ(stack.depth, 1);
}

// An exit that matches no entry empties the stack; only in the development
// environment does it say so.
TEST_F(CallTrackingTest, UnbalancedPopEmptiesTheStackAndWarnsOnlyInDevelopment)
{
    QStringList texts;
    bool answerOk = true;
    const auto scope = messageBoxHook().replace([&](BoxIcon, BoxButtons, const QString& title, const QString& text) {
        return texts << title + u'|' + text, answerOk;
    });
    // Another procedure, or the module's name in other letter case.
    for (const auto& [module, procedure] :
         {std::pair{kForm, u"Sub Other_Click"_s}, {u"frmvmailcfg.frm"_s, u"Sub Form_Load"_s}}) {
        push(u"Sub Form_Load"_s);
        push(u"Sub Form_Load"_s);
        pop(procedure, u"()"_s, module);
        EXPECT_EQ(state().stack.depth, 0) << module.toStdString() << " " << procedure.toStdString();
    }
    pop(u"Sub Form_Load"_s);  // nothing left to pop
    EXPECT_EQ(state().stack.depth, 0);
    EXPECT_TRUE(texts.isEmpty());
    EXPECT_EQ(stops_, 0);

    fsSTART();
    state().devEnvironment = true;
    pop(u"Sub X"_s);  // OK: debugger stop
    answerOk = false;
    pop(u"Sub X"_s);  // Cancel: go on
    state().error.slot[0].moduleTrail = u"a << b"_s;
    state().error.slot[0].procedureTrail = u"c << d"_s;
    pop(u"Sub X"_s);  // unwinding announced: no box, trails cleared
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(stops_, 1);
    EXPECT_TRUE(state().error.slot[0].moduleTrail.isEmpty() && state().error.slot[0].procedureTrail.isEmpty());
    EXPECT_TRUE(texts[0].startsWith(u"FSVB100|Module      \tfrmVmailCfg.frm\r\nProcedure\tSub X\r\n\r\n"_s));
    EXPECT_TRUE(texts[0].endsWith(u"Choose OK break to VB.\r\nChoose CANCEL to continue with program."_s));
}

TEST_F(CallTrackingTest, RecursionPastLastSlotWithSinkOnNeverFails)
{
    writeSettings(kCapture);
    for (int i = 0; i < 1002; ++i)
        push(u"Function Deep"_s);
    for (int i = 0; i < 1002; ++i)
        pop(u"Function Deep"_s);
    EXPECT_EQ(state().stack.depth, 0);
    // 1000 entry lines were written; frames 1001 and 1002 had no slot, so the
    // first exit found no entry and the stack started afresh.
    EXPECT_EQ(fileLines(u"error.log"_s).filter(u"->"_s).size(), 1000);
    EXPECT_TRUE(fileLines(u"error.log"_s).filter(u"<-"_s).isEmpty());
    push(u"Sub Form_Load"_s);
    EXPECT_EQ(state().stack.depth, 1);
}

TEST_F(CallTrackingTest, PushWaitsWhileErrorDialogShows)
{
    fsSTART();
    state().dialogShowing = true;
    bool depthWhileWaiting = true;
    QTimer::singleShot(20, [&] { depthWhileWaiting = state().stack.depth == 0, state().dialogShowing = false; });
    push(u"Sub Form_Load"_s);
    EXPECT_TRUE(depthWhileWaiting);
    EXPECT_EQ(state().stack.depth, 1);
}

TEST_F(CallTrackingTest, CaptureFileGetsEveryLineAndAnEmptyLine)
{
    writeSettings(kCapture);
    push(u"Sub Form_Load"_s);
    now_ += 31;
    push(u"Sub SSTab1_Click"_s, u"(PreviousTab=0)"_s);
    now_ += 9;
    pop(u"Sub SSTab1_Click"_s, u"(PreviousTab=0)"_s);
    const QStringList lines = fileLines(u"error.log"_s);
    ASSERT_EQ(lines.size(), 9);
    EXPECT_TRUE(QRegularExpression(u"^\\[RiVaVaz\\] \\S.* \\S+ - start FailSafe client v6\\.6 "
                                   "\\(for Visual Basic 5\\.0 and 6\\.0\\) data capture$"_s)
                    .match(lines[0])
                    .hasMatch())
        << lines[0].toStdString();
    EXPECT_EQ(lines.mid(1).join(u'|'),
              u"|[RiVaVaz] [00001] [00000.0000] ->frmVmailCfg.frm : Sub Form_Load : () : [res = 42%, mem = 23134208] : "
              "||[RiVaVaz] [00002] [00000.0031] ->\tfrmVmailCfg.frm : Sub SSTab1_Click : (PreviousTab=0) : "
              "[res = 42%, mem = 23134208] : ||[RiVaVaz] [00003] [00000.0040] <-\tfrmVmailCfg.frm : Sub SSTab1_Click : "
              "(PreviousTab=0) : [res = 42%, mem = 23134208] : ||"_s);
    EXPECT_EQ(state().stack.frameTime[1], 0);
    EXPECT_EQ(state().stack.frameTime[2], 40);
}

TEST_F(CallTrackingTest, CaptureNeedsWriteToDiskAndSurvivesBadPath)
{
    const auto files = [this] { return QDir(app_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot); };
    const QStringList before = files();
    push(u"Sub Form_Load"_s);
    pop(u"Sub Form_Load"_s);
    EXPECT_EQ(files(), before);
    EXPECT_EQ(state().lineCounter, 0);  // no settings file: no lines are even built

    resetState();
    writeSettings(u"[log file]\r\nCapture To Disk=1\r\n"_s);
    push(u"Sub Form_Load"_s);
    EXPECT_EQ(state().lineCounter, 1);          // the sink counts as on ...
    EXPECT_FALSE(app_.exists(u"error.log"_s));  // ... but writes nothing

    resetState();
    writeSettings(kCapture + u"Log File="_s + app_.path() + u"/missing/dir/trace.log\r\n"_s);
    push(u"Sub Form_Load"_s);
    pop(u"Sub Form_Load"_s);
    EXPECT_EQ(state().stack.depth, 0);
    EXPECT_EQ(state().lineCounter, 2);
}

TEST(DevelopmentHostTest, RecognisesTheHostsByFileName)
{
    const std::pair<const char*, bool> cases[] = {
        {"c:\\vb\\vb5.exe", true}, {"/opt/vb/Vb32.Exe", true}, {"VB.EXE", true},
        {"VB6.EXE", true},         {"VB7.EXE", false},         {"C:\\VB6.EXE\\a.exe", false},
    };
    for (const auto& [path, host] : cases)
        EXPECT_EQ(isDevelopmentHost(QString::fromLatin1(path)), host) << path;
}

}  // namespace
}  // namespace vm::failsafe
