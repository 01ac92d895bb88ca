// fsERROR from the error block of a traced procedure to the error log: the
// record, the trails, remote chains, the trace error line, the dialog's
// answer, silent mode, and faults that must never escape.
#include "ErrorFixture.h"

#include "failsafe/FailSafe.h"

#include "platform/FileSystem.h"

#include <QDir>
#include <QTimer>

namespace vm::failsafe {
namespace {

using test::fixedStamp;
using test::kFixedReport;
using test::kWindowModule;

const QString kPlayMsg = QStringLiteral("Sub cmdPlayMsg_Click");

QString startLine()
{
    return fixedStamp() + QStringLiteral(" - start FailSafe client v6.6 (for Visual Basic 5.0 and 6.0) data capture\r\n");
}

QString stopLine()
{
    return fixedStamp() + QStringLiteral(" - stop FailSafe client v6.6 (for Visual Basic 5.0 and 6.0) data capture\r\n");
}

QString programLine()
{
    const locale::Version v = locale::programVersion();
    return appFolder() + QStringLiteral("/RiVaVaz ver %1.%2.%3\r\n").arg(v.major).arg(v.minor).arg(v.revision);
}

QString logHead()
{
    return startLine() + QString(65, QLatin1Char('*')) + QStringLiteral("\r\n") + programLine() +
           QStringLiteral("Error Information\r\n");
}

QString logTail(const QString& report, const QString& comment)
{
    return QStringLiteral("System State Information\r\n") + report + QStringLiteral("\r\nUser Said\r\n") + comment +
           QStringLiteral("\r\n") + stopLine();
}

class FakeDialog : public ErrorDialogHost {
public:
    void setSystemInfoText(const QString& text) override { text_ = text; }
    QString systemInfoText() const override { return edited_.isNull() ? text_ : edited_; }
    int showModal() override
    {
        ++shown;
        if (onShow)
            onShow();
        return answer;
    }
    QString comment() const override { return comment_; }
    void unload() override { ++unloaded; }

    int answer = 0;
    QString comment_;
    QString edited_;
    int shown = 0;
    int unloaded = 0;
    std::function<void()> onShow;

private:
    QString text_;
};

class ErrorHandlerTest : public test::ErrorFixture {
protected:
    void silentWithLog(const QString& extra = {})
    {
        writeSettings(QStringLiteral("[log file]\r\nWrite To Disk=1\r\n[preferences]\r\nSilent Run=1\r\n") + extra);
    }
};

TEST_F(ErrorHandlerTest, SilentRunAppendsTheLocalErrorToTheLog)
{
    silentWithLog();
    EXPECT_EQ(failIn(kPlayMsg, 53), std::nullopt);

    const QString entry = logHead() + QStringLiteral(
        "\t*Error 1\r\n"
        "Category                     File System (disk, directory or file) access error\r\n"
        "Source                       VoicemailManager (local)\r\n"
        "Module                       frmVmailCfg.frm\r\n"
        "Procedure                    Sub cmdPlayMsg_Click\r\n"
        "Line Number                  0\r\n"
        "Error No.                    53\r\n"
        "Description                  File not found\r\n"
        "\r\n"
        "\r\n"
        "Call Tree & Arguments\r\n"
        " 1 : Call\tfrmVmailCfg.frm : Sub Form_Load : ()\r\n"
        " 2 : Call\t\tfrmVmailCfg.frm : Sub cmdPlayMsg_Click : ()\r\n"
        " 3 : Trap\t\t\tRuntime error 53, File not found\r\n") + logTail(kFixedReport, QString());
    EXPECT_EQ(ansi::decode(logBytes()).toStdString(), entry.toStdString());

    // The handler leaves nothing pending and only ever appends.
    EXPECT_EQ(Err().number, 0);
    EXPECT_FALSE(state().dialogShowing);
    fsPOP(kWindowModule, kPlayMsg, QStringLiteral("()"));
    Err().set(RuntimeError(53));
    fsERROR(kWindowModule, QStringLiteral("Sub Form_Load"));
    EXPECT_TRUE(ansi::decode(logBytes()).startsWith(entry));
    EXPECT_GT(logBytes().size(), entry.size());
}

TEST_F(ErrorHandlerTest, RemoteChainIsLoggedLevelByLevel)
{
    silentWithLog();
    failIn(kPlayMsg, 53,
           QStringLiteral("2!MailLib!modSend.bas!Function SendNow!12!53!File not found!"
                          "Store!modStore.bas!Sub Put!0!70!Permission denied"));

    const QString entry = logHead() + QStringLiteral(
        "\t*Error 1\r\n"
        "Category                     File System (disk, directory or file) access error\r\n"
        "Source                       VoicemailManager (local)\r\n"
        "Module                       frmVmailCfg.frm\r\n"
        "Procedure                    Sub cmdPlayMsg_Click\r\n"
        "Line Number                  0\r\n"
        "Error No.                    440\r\n"
        "Description                  Remote File not found\r\n"
        "\r\n"
        "\t*Error 2\r\n"
        "Category                     File System (disk, directory or file) access error\r\n"
        "Source                       MailLib (remote)\r\n"
        "Module                       frmVmailCfg.frm << modSend.bas\r\n"
        "Procedure                    Sub cmdPlayMsg_Click << Function SendNow\r\n"
        "Line Number                  12\r\n"
        "Error No.                    53\r\n"
        "Description                  File not found\r\n"
        "\r\n"
        "\t*Error 3\r\n"
        "Category                     Network  error\r\n"
        "Source                       Store (remote)\r\n"
        "Module                       frmVmailCfg.frm << modSend.bas << modStore.bas\r\n"
        "Procedure                    Sub cmdPlayMsg_Click << Function SendNow << Sub Put\r\n"
        "Line Number                  0\r\n"
        "Error No.                    70\r\n"
        "Description                  Permission denied\r\n"
        "\r\n"
        "\r\n"
        "Call Tree & Arguments\r\n"
        " 1 : Call\tfrmVmailCfg.frm : Sub Form_Load : ()\r\n"
        " 2 : Call\t\tfrmVmailCfg.frm : Sub cmdPlayMsg_Click : ()\r\n"
        " 3 : Trap\t\t\tRuntime error 440, Remote File not found\r\n"
        " 4 : Error\t\t\t\tRuntime error 53, File not found on line 12\r\n"
        " 5 : Error\t\t\t\t\tRuntime error 70, Permission denied\r\n") + logTail(kFixedReport, QString());
    EXPECT_EQ(ansi::decode(logBytes()).toStdString(), entry.toStdString());
    EXPECT_EQ(state().error.remoteLevels, 2);
}

TEST_F(ErrorHandlerTest, ErrorLineGoesToTheTraceBeforeTheLogEntry)
{
    writeSettings(QStringLiteral("[log file]\r\nWrite To Disk=1\r\nCapture To Disk=1\r\nLog File=trace.log\r\n"
                                 "[preferences]\r\nSilent Run=1\r\n"));
    failIn(kPlayMsg, 53);
    const QString capture = ansi::decode(app_.read(QStringLiteral("trace.log")));
    const QString errorLine =
        QStringLiteral("[RiVaVaz] ERROR 53 at frmVmailCfg.frm : Sub cmdPlayMsg_Click : Line 0 : File not found\r\n\r\n");
    ASSERT_TRUE(capture.contains(errorLine)) << capture.toStdString();
    EXPECT_LT(capture.indexOf(errorLine), capture.indexOf(QStringLiteral("Error Information")));
}

TEST_F(ErrorHandlerTest, TrailsShowWhereTheStackAndTheCallerDisagree)
{
    silentWithLog();
    const struct {
        const char* module;
        const char* procedure;
        const char* moduleTrail;
        const char* procedureTrail;
    } cases[] = {
        {"frmVmailCfg.frm", "Sub cmdPlayMsg_Click", "frmVmailCfg.frm", "Sub cmdPlayMsg_Click"},
        {"  FRMVMAILCFG.FRM ", "sub cmdplaymsg_click\t", "frmVmailCfg.frm", "Sub cmdPlayMsg_Click"},
        {"frmVmailCfg.frm", "Sub Form_Load", "frmVmailCfg.frm", "Sub cmdPlayMsg_Click << Sub Form_Load"},
        {"VmMgrStub.bas", "Sub LogError", "frmVmailCfg.frm << VmMgrStub.bas", "Sub cmdPlayMsg_Click << Sub LogError"},
    };
    fsPUSH(kWindowModule, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));
    fsPUSH(kWindowModule, kPlayMsg, QStringLiteral("()"));
    for (const auto& c : cases) {
        Err().set(RuntimeError(53));
        fsERROR(QString::fromLatin1(c.module), QString::fromLatin1(c.procedure));
        EXPECT_EQ(state().error.slot[0].moduleTrail, QString::fromLatin1(c.moduleTrail)) << c.module;
        EXPECT_EQ(state().error.slot[0].procedureTrail, QString::fromLatin1(c.procedureTrail)) << c.procedure;
    }
}

TEST_F(ErrorHandlerTest, SourceMarksErrorsOfOtherComponents)
{
    silentWithLog();
    failIn(kPlayMsg, 53);
    EXPECT_EQ(state().error.slot[0].source, QStringLiteral("VoicemailManager (local)"));
    Err().set(RuntimeError(429, QStringLiteral("ActiveX component can't create object"), QStringLiteral("QtMultimedia")));
    fsERROR(kWindowModule, kPlayMsg);
    EXPECT_EQ(state().error.slot[0].source, QStringLiteral("QtMultimedia (remote)"));
    EXPECT_EQ(state().error.slot[0].category, QStringLiteral("Object Linking and Embedding error"));
    EXPECT_EQ(state().error.remoteLevels, 0);
}

TEST_F(ErrorHandlerTest, DialogAnswerCommentAndItsReportReachTheLog)
{
    writeSettings(QStringLiteral("[log file]\r\nWrite To Disk=1\r\n"));
    FakeDialog dialog;
    dialog.comment_ = QStringLiteral("I pressed play\non box 101");
    dialog.edited_ = QStringLiteral("report as the dialog left it\r\n");
    dialog.onShow = [&] {
        // The record is complete when the dialog is filled.
        EXPECT_EQ(state().error.slot[0].number, 53);
        EXPECT_EQ(state().error.stackCopy[0], QStringLiteral(" 2"));
        EXPECT_TRUE(state().error.stackCopy[2].contains(kPlayMsg));
        EXPECT_EQ(state().error.systemInfo, kFixedReport);
    };
    setErrorDialogHost(&dialog);
    EXPECT_EQ(failIn(kPlayMsg, 53), 0);
    EXPECT_EQ(dialog.shown, 1);
    EXPECT_EQ(dialog.unloaded, 1);
    const QString log = ansi::decode(logBytes());
    EXPECT_TRUE(log.endsWith(logTail(QStringLiteral("report as the dialog left it\r\n"),
                                     QStringLiteral("I pressed play\r\non box 101"))))
        << log.toStdString();

    dialog.answer = 5;
    Err().set(RuntimeError(53));
    EXPECT_EQ(fsERROR(kWindowModule, kPlayMsg), 5);
}

TEST_F(ErrorHandlerTest, WithoutADialogTheAnswerIsContinue)
{
    writeSettings(QStringLiteral("[log file]\r\nWrite To Disk=0\r\n"));
    EXPECT_EQ(failIn(kPlayMsg, 53), 0);
    EXPECT_FALSE(app_.exists(QStringLiteral("error.log")));
    EXPECT_EQ(reportsBuilt_, 1);
}

TEST_F(ErrorHandlerTest, ASecondErrorWaitsUntilTheDialogIsAnswered)
{
    FakeDialog dialog;
    bool answered = false;
    dialog.onShow = [&] { EXPECT_TRUE(answered); };
    setErrorDialogHost(&dialog);
    fsPUSH(kWindowModule, kPlayMsg, QStringLiteral("()"));
    state().dialogShowing = true;
    QTimer::singleShot(20, [&] {
        answered = true;
        state().dialogShowing = false;
    });
    Err().set(RuntimeError(53));
    EXPECT_EQ(fsERROR(kWindowModule, kPlayMsg), 0);
    EXPECT_EQ(dialog.shown, 1);
}

TEST_F(ErrorHandlerTest, FailingStepsAreSkipped)
{
    silentWithLog();
    setSystemReportBuilder([](QString&) { raiseError(err::OutOfMemory); });
    EXPECT_EQ(failIn(kPlayMsg, 53), std::nullopt);
    const QString log = ansi::decode(logBytes());
    EXPECT_TRUE(log.contains(QStringLiteral("System State Information\r\n\r\nUser Said\r\n"))) << log.toStdString();
    EXPECT_TRUE(log.endsWith(stopLine()));
}

TEST_F(ErrorHandlerTest, ALogThatCannotBeWrittenIsSkippedSilently)
{
    QDir(app_.path()).mkdir(QStringLiteral("logdir"));
    writeSettings(QStringLiteral("[log file]\r\nWrite To Disk=1\r\nLog File=logdir\r\n[preferences]\r\nSilent Run=1\r\n"));
    EXPECT_EQ(failIn(kPlayMsg, 53), std::nullopt);
    EXPECT_TRUE(boxes_.isEmpty());
    EXPECT_EQ(Err().number, 0);
}

TEST_F(ErrorHandlerTest, AFullDiskLeavesTheEarlierLogIntact)
{
    silentWithLog();
    app_.write(QStringLiteral("error.log"), "earlier entries\r\n");
    fs::setWriteFaultHook([](const QString&, std::int64_t) { raiseError(err::DiskFull); });
    const auto result = failIn(kPlayMsg, 53);
    fs::setWriteFaultHook(nullptr);
    EXPECT_EQ(result, std::nullopt);
    EXPECT_EQ(logBytes(), QByteArray("earlier entries\r\n"));
}

// A stand-in mail program that stores each message it is given as mailN.eml
// and its arguments as argsN.
class MailedReportTest : public test::ErrorFixture {
protected:
    void SetUp() override
    {
        ErrorFixture::SetUp();
        QDir(app_.path()).mkdir(QStringLiteral("outbox"));
        outbox_ = app_.file(QStringLiteral("outbox"));
        mail::setMailProgram(test::writeScript(
            app_.file(QStringLiteral("sendmail")),
            "n=$(ls '" + outbox_.toLocal8Bit() + "' | grep -c eml)\n"
            "echo \"$@\" > '" + outbox_.toLocal8Bit() + "/args'$n\n"
            "cat > '" + outbox_.toLocal8Bit() + "/mail'$n.eml\n"));
    }
    QString outbox_;
};

TEST_F(MailedReportTest, EmailCarriesTheLogEntryAsFserrorLog)
{
    writeSettings(QStringLiteral("[email]\r\nAddress=ops@example.com\r\n[log file]\r\nWrite To Disk=1\r\n"
                                 "[preferences]\r\nSilent Run=1\r\n"));
    failIn(kPlayMsg, 53);

    const QStringList mime = test::parseMime(outbox_ + QStringLiteral("/mail0.eml"));
    ASSERT_GE(mime.size(), 7) << mime.join('\n').toStdString();
    EXPECT_EQ(mime[0], QStringLiteral("To=ops@example.com"));
    EXPECT_EQ(mime[1], QStringLiteral("Subject=Remote Error Report From RiVaVaz"));
    EXPECT_EQ(mime[2], QStringLiteral("MIME-Version=1.0"));
    EXPECT_EQ(mime[3], QStringLiteral("Type=multipart/mixed"));
    EXPECT_EQ(mime[4], QStringLiteral("Defects=0"));
    const QString body = QStringLiteral(
        "Tarvik FailSafe reports error 53 (File not found) occurred in RiVaVaz. The attached log file has complete details.");
    EXPECT_EQ(mime[5], QStringLiteral("Part=text/plain|None|") + QString::fromLatin1(body.toUtf8().toBase64()));
    EXPECT_EQ(mime[6], QStringLiteral("Part=application/octet-stream|fserror.log|") +
                           QString::fromLatin1(logBytes().toBase64()));
    EXPECT_EQ(QString::fromUtf8(app_.read(QStringLiteral("outbox/args0"))).trimmed(), QStringLiteral("-t -i"));
    EXPECT_FALSE(app_.exists(QStringLiteral("!error!.log")));
}

TEST_F(MailedReportTest, DefectReportGoesToTheTrackerWithTheCircularLog)
{
    writeSettings(QStringLiteral("[Log File]\r\nCircularLog=1\r\n[Bugledger]\r\nDatabase=VMDB\r\n"
                                 "Address=bugs@example.com\r\nProject=Voicemail\r\nAssigned To=Jo\r\n"
                                 "[preferences]\r\nSilent Run=1\r\n"));
    failIn(kPlayMsg, 53);

    const QStringList mime = test::parseMime(outbox_ + QStringLiteral("/mail0.eml"));
    ASSERT_GE(mime.size(), 7) << mime.join('\n').toStdString();
    EXPECT_EQ(mime[0], QStringLiteral("To=bugs@example.com"));
    EXPECT_EQ(mime[1], QStringLiteral("Subject=FailSafe New Defect [VMDB]"));
    EXPECT_TRUE(mime[6].startsWith(QStringLiteral("Part=application/octet-stream|CircularTrace.log|")));
    EXPECT_EQ(QByteArray::fromBase64(mime[6].section(QLatin1Char('|'), 2).toLatin1()),
              app_.read(QStringLiteral("circ0001.log")));

    const QString body = QString::fromUtf8(QByteArray::fromBase64(mime[5].section(QLatin1Char('|'), 2).toLatin1()));
    const char* labels[] = {"KEY:", "REPORTED BY:", "CONFIGURATION:", "MACHINE NAME:", "OS:", "CPU:", "NUM CPU:",
                            "PHYSICAL MEMORY:", "DISPLAY RESOLUTION:", "COLOR PALETTE:", "NUM MONITORS:",
                            "NUM MOUSEBUTTONS:", "HAS MOUSEWHEEL:", "COUNTRY:", "LANGUAGE:", "MIDEAST:", "DBCS:",
                            "OTHER COMPONENTS:", "PROJECT:", "ASSIGNED TO:", "DATE/TIME ENTERED:", "SYNOPSIS:",
                            "DESCRIPTION:", "PRODUCT:", "STACK:"};
    const QStringList lines = body.split(QLatin1Char('\n'));
    qsizetype at = -1;
    for (const char* label : labels) {
        const qsizetype next = lines.indexOf(QString::fromLatin1(label), at + 1);
        EXPECT_GT(next, at) << label;
        at = std::max(at, next);
    }
    EXPECT_EQ(lines[lines.indexOf(QStringLiteral("KEY:")) + 1],
              QStringLiteral("VoicemailManager (local) : frmVmailCfg.frm : Sub cmdPlayMsg_Click : 0 : 53"));
    EXPECT_EQ(lines[lines.indexOf(QStringLiteral("PROJECT:")) + 1], QStringLiteral("Voicemail"));
    EXPECT_EQ(lines[lines.indexOf(QStringLiteral("ASSIGNED TO:")) + 1], QStringLiteral("Jo"));
    EXPECT_EQ(lines[lines.indexOf(QStringLiteral("STACK:")) + 3], QStringLiteral(" 3 : Trap\t\t\tRuntime error 53, File not found"));
}

TEST_F(MailedReportTest, AMissingMailProgramIsSilent)
{
    writeSettings(QStringLiteral("[email]\r\nAddress=ops@example.com\r\n[preferences]\r\nSilent Run=1\r\n"));
    mail::setMailProgram(app_.file(QStringLiteral("no-such-sendmail")));
    EXPECT_EQ(failIn(kPlayMsg, 53), std::nullopt);
    EXPECT_FALSE(app_.exists(QStringLiteral("!error!.log")));
    EXPECT_TRUE(boxes_.isEmpty());
}

}  // namespace
}  // namespace vm::failsafe
