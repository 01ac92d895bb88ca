// fsERROR from the error block of a traced procedure to the error log: the
// record, the trails, remote chains, the trace error line, the dialog's
// answer, silent mode, mailed reports, and faults that must never escape.
#include "ErrorFixture.h"

#include "platform/MailSender.h"
#include "support/Digest.h"
#include "support/FaultInjection.h"
#include "support/MailCheck.h"

#include <QDir>
#include <QRegularExpression>
#include <QTimer>

#include <array>

namespace vm::failsafe {
namespace {

using namespace test;

const QString kRemoteSource =
    u"2!MailLib!modSend.bas!Function SendNow!12!53!File not found!"
    "Store!modStore.bas!Sub Put!0!70!Permission denied"_s;

QString stampedLine(const char* what)
{
    return platform::shortDate(QDate(2026, 12, 6)) + u' ' + platform::longTime(QTime(9, 30, 15)) + u" - "_s +
           QLatin1String(what) + u" FailSafe client v6.6 (for Visual Basic 5.0 and 6.0) data capture\r\n"_s;
}

QString logHead()
{
    const platform::Version v = platform::programVersion();
    return stampedLine("start") + QString(65, u'*') + u"\r\n"_s + platform::appFolder() +
           u"/RiVaVaz ver %1.%2.%3\r\nError Information\r\n"_s.arg(v.major).arg(v.minor).arg(v.revision);
}

class ErrorHandlerTest : public ErrorFixture {
protected:
    void silentWithLog() { writeSettings(u"[log file]\r\nWrite To Disk=1\r\n[preferences]\r\nSilent Run=1\r\n"_s); }
};

TEST_F(ErrorHandlerTest, SilentRunOnlyAppendsAndLeavesNothingPending)
{
    silentWithLog();
    EXPECT_EQ(failIn(kPlayMsg, 53), std::nullopt);
    const QString first = logText();
    EXPECT_TRUE(
        first.contains(u"Error No.                    53\r\nDescription                  File not found\r\n"_s));
    EXPECT_EQ(Err().number, 0);
    EXPECT_FALSE(state().dialogShowing);
    pop(kPlayMsg);
    Err().set(platform::RuntimeError(53));
    fsERROR(kForm, u"Sub Form_Load"_s);
    EXPECT_TRUE(logText().startsWith(first));
    EXPECT_GT(logText().size(), first.size());
}

TEST_F(ErrorHandlerTest, RemoteChainIsLoggedLevelByLevel)
{
    silentWithLog();
    failIn(kPlayMsg, 53, kRemoteSource);

    // The whole entry, with this run's head and stop lines written as <head> and <stop>.
    const QString entry = logText().replace(logHead(), u"<head>\r\n"_s).replace(stampedLine("stop"), u"<stop>"_s);
    EXPECT_EQ(digest({entry}), "3054fc4f4f82d625") << entry.toStdString();
    EXPECT_EQ(state().error.remoteLevels, 2);
}

TEST_F(ErrorHandlerTest, ErrorLineGoesToTheTraceBeforeTheLogEntry)
{
    writeSettings(
        u"[log file]\r\nWrite To Disk=1\r\nCapture To Disk=1\r\nLog File=trace.log\r\n"
        "[preferences]\r\nSilent Run=1\r\n"_s);
    failIn(kPlayMsg, 53);
    const QString capture = platform::decodeAnsi(app_.read(u"trace.log"_s));
    const QString errorLine =
        u"[RiVaVaz] ERROR 53 at frmVmailCfg.frm : Sub cmdPlayMsg_Click : Line 0 : File not found\r\n\r\n"_s;
    ASSERT_TRUE(capture.contains(errorLine)) << capture.toStdString();
    EXPECT_LT(capture.indexOf(errorLine), capture.indexOf(u"Error Information"_s));
}

TEST_F(ErrorHandlerTest, TrailsAndSourceShowWhereTheErrorCameFrom)
{
    silentWithLog();
    // module, procedure -> module trail | procedure trail
    const std::array<const char*, 3> cases[] = {
        {"frmVmailCfg.frm", "Sub cmdPlayMsg_Click", "frmVmailCfg.frm | Sub cmdPlayMsg_Click"},
        {"  FRMVMAILCFG.FRM ", "sub cmdplaymsg_click\t", "frmVmailCfg.frm | Sub cmdPlayMsg_Click"},
        {"frmVmailCfg.frm", "Sub Form_Load", "frmVmailCfg.frm | Sub cmdPlayMsg_Click << Sub Form_Load"},
        {"VmMgrStub.bas", "Sub LogError", "frmVmailCfg.frm << VmMgrStub.bas | Sub cmdPlayMsg_Click << Sub LogError"},
    };
    failIn(kPlayMsg, 53);
    EXPECT_EQ(state().error.slot[0].source, u"VoicemailManager (local)"_s);
    for (const auto& [module, procedure, trails] : cases) {
        Err().set(platform::RuntimeError(53));
        fsERROR(QString::fromLatin1(module), QString::fromLatin1(procedure));
        EXPECT_EQ(state().error.slot[0].moduleTrail + u" | "_s + state().error.slot[0].procedureTrail,
                  QLatin1String(trails));
    }
    Err().set(platform::RuntimeError(429, u"ActiveX component can't create object"_s, u"QtMultimedia"_s));
    fsERROR(kForm, kPlayMsg);
    EXPECT_EQ(state().error.slot[0].source, u"QtMultimedia (remote)"_s);
    EXPECT_EQ(state().error.slot[0].category, u"Object Linking and Embedding error"_s);
    EXPECT_EQ(state().error.remoteLevels, 0);
}

TEST_F(ErrorHandlerTest, WithoutADialogTheAnswerIsContinue)
{
    writeSettings(u"[log file]\r\nWrite To Disk=0\r\n"_s);
    EXPECT_EQ(failIn(kPlayMsg, 53), 0);
    EXPECT_FALSE(app_.exists(u"error.log"_s));
    EXPECT_EQ(reportsBuilt_, 1);
}

TEST_F(ErrorHandlerTest, ASecondErrorWaitsUntilTheDialogIsAnswered)
{
    StubDialog dialog;
    bool answered = false;
    dialog.onShow = [&] { EXPECT_TRUE(answered); };
    const auto scope = errorDialog().replace(&dialog);
    push(kPlayMsg);
    state().dialogShowing = true;
    QTimer::singleShot(20, [&] { answered = true, state().dialogShowing = false; });
    Err().set(platform::RuntimeError(53));
    EXPECT_EQ(fsERROR(kForm, kPlayMsg), 0);
    EXPECT_EQ(dialog.shown, 1);
}

TEST_F(ErrorHandlerTest, FailingStepsAreSkipped)
{
    silentWithLog();
    const auto scope = systemReportBuilder().replace(
        [](QString&) { platform::raiseError(platform::err::OutOfMemory); });
    EXPECT_EQ(failIn(kPlayMsg, 53), std::nullopt);
    EXPECT_TRUE(logText().contains(u"System State Information\r\n\r\nUser Said\r\n"_s)) << logText().toStdString();
    EXPECT_TRUE(logText().endsWith(stampedLine("stop")));
}

TEST_F(ErrorHandlerTest, ALogThatCannotBeWrittenIsSkippedSilently)
{
    // A nearly full disk: the trace lines, the error line and the entry would
    // each fit only in part, and no piece of them may stay behind. (A log
    // name that is no file at all is refused at start-up.)
    writeSettings(u"[log file]\r\nWrite To Disk=1\r\nCapture To Disk=1\r\n[preferences]\r\nSilent Run=1\r\n"_s);
    push(u"Sub Main"_s);
    const QByteArray earlier = app_.read(u"error.log"_s);
    {
        const FileSizeLimit limit(static_cast<rlim_t>(earlier.size()) + 10);
        EXPECT_EQ(failIn(kPlayMsg, 53), std::nullopt);
    }
    EXPECT_EQ(app_.read(u"error.log"_s), earlier);
    EXPECT_EQ(state().error.slot[0].number, 53);
    EXPECT_TRUE(boxes_.isEmpty());
    EXPECT_EQ(Err().number, 0);
}

// A stand-in mail program that stores each message it is given as mailN.eml
// and its arguments as argsN.
class MailedReportTest : public ErrorFixture {
protected:
    void SetUp() override
    {
        ErrorFixture::SetUp();
        QDir(app_.path()).mkdir(u"outbox"_s);
        const QString script = writeScript(app_.file(u"sendmail"_s),
                                           "cd '" + app_.file(u"outbox"_s).toLocal8Bit() +
                                               "' && n=$(ls | grep -c eml); echo \"$@\" > args$n; cat > mail$n.eml\n");
        overrides_.replace(platform::sendmail(), platform::Sendmail{script});
    }
    QStringList mail() const { return parseMime(app_.file(u"outbox/mail0.eml"_s)); }
    static QString payload(const QString& part)
    {
        return QString::fromUtf8(QByteArray::fromBase64(part.section(u'|', 2).toLatin1()));
    }
};

TEST_F(MailedReportTest, EmailCarriesTheLogEntryAsFserrorLog)
{
    writeSettings(
        u"[email]\r\nAddress=ops@example.com\r\n[log file]\r\nWrite To Disk=1\r\n"
        "[preferences]\r\nSilent Run=1\r\n"_s);
    failIn(kPlayMsg, 53);

    const QStringList mime = mail();
    ASSERT_GE(mime.size(), 7) << mime.join('\n').toStdString();
    EXPECT_EQ(mime.mid(0, 5), (QStringList{u"To=ops@example.com"_s, u"Subject=Remote Error Report From RiVaVaz"_s,
                                           u"MIME-Version=1.0"_s, u"Type=multipart/mixed"_s, u"Defects=0"_s}));
    EXPECT_EQ(payload(mime[5]),
              u"Tarvik FailSafe reports error 53 (File not found) occurred in RiVaVaz. "
              "The attached log file has complete details."_s);
    EXPECT_EQ(mime[6], u"Part=application/octet-stream|fserror.log|"_s +
                           QString::fromLatin1(app_.read(u"error.log"_s).toBase64()));
    EXPECT_EQ(QString::fromUtf8(app_.read(u"outbox/args0"_s)).trimmed(), u"-t -i"_s);
    EXPECT_FALSE(app_.exists(u"!error!.log"_s));
}

TEST_F(MailedReportTest, DefectReportGoesToTheTrackerWithTheCircularLog)
{
    writeSettings(
        u"[Log File]\r\nCircularLog=1\r\n[Bugledger]\r\nDatabase=VMDB\r\nAddress=bugs@example.com\r\n"
        "Project=Voicemail\r\nAssigned To=Jo\r\n[preferences]\r\nSilent Run=1\r\n"_s);
    failIn(kPlayMsg, 53);

    const QStringList mime = mail();
    ASSERT_GE(mime.size(), 7) << mime.join('\n').toStdString();
    EXPECT_EQ(mime[0], u"To=bugs@example.com"_s);
    EXPECT_EQ(mime[1], u"Subject=FailSafe New Defect [VMDB]"_s);
    EXPECT_TRUE(mime[6].startsWith(u"Part=application/octet-stream|CircularTrace.log|"_s));
    EXPECT_EQ(QByteArray::fromBase64(mime[6].section(u'|', 2).toLatin1()), app_.read(u"circ0001.log"_s));

    // Every block label once, in order (the component blocks repeat per module).
    QStringList lines = payload(mime[5]).split(u'\n');
    QStringList labels = lines.filter(QRegularExpression(u"^[A-Z /]+:$"_s));
    labels.removeDuplicates();
    EXPECT_EQ(labels.join(u' '),
              u"KEY: REPORTED BY: CONFIGURATION: MACHINE NAME: OS: CPU: NUM CPU: PHYSICAL MEMORY: DISPLAY RESOLUTION: "
              "COLOR PALETTE: NUM MONITORS: NUM MOUSEBUTTONS: HAS MOUSEWHEEL: COUNTRY: LANGUAGE: MIDEAST: DBCS: "
              "OTHER COMPONENTS: NAME: SIZE: DATEMODIFIED: FILEVERSION: DATECREATED: PRODUCTVERSION: PRODUCTNAME: "
              "COMPANYNAME: FILEDESCRIPTION: PROJECT: ASSIGNED TO: DATE/TIME ENTERED: SYNOPSIS: DESCRIPTION: "
              "PRODUCT: STACK:"_s);
    const auto after = [&](const QString& label, int n) { return lines.value(lines.indexOf(label) + n); };
    EXPECT_EQ(after(u"KEY:"_s, 1), u"VoicemailManager (local) : frmVmailCfg.frm : Sub cmdPlayMsg_Click : 0 : 53"_s);
    EXPECT_EQ(after(u"STACK:"_s, 3), u" 3 : Trap\t\t\tRuntime error 53, File not found"_s);
    EXPECT_FALSE(after(u"DATEMODIFIED:"_s, 1).isEmpty()) << "a module's last access time";
}

}  // namespace
}  // namespace vm::failsafe
