// Faults while the window works: full disks and refused writes of the list,
// the e-mail body, the INI keys and the logs, and message files that vanish
// between the listing and their status. The previous file stays intact or
// the new one is complete, and the error module reports exactly that.
#include "support/FaultInjection.h"

#include "manager_window/WindowTestSupport.h"

#include "config/GlobalStuff.h"
#include "failsafe/ErrorHandler.h"
#include "failsafe/FailSafeHooks.h"
#include "failsafe/FailSafeState.h"
#include "platform/AppFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>

namespace vm::test {
namespace {

const QString kList = QStringLiteral("data/VmBoxList.xml");
const QString kBody = QStringLiteral("VmEmailForwardBody.txt");
const QString kIni = QStringLiteral("QV.INI");
const QString kTrace = QStringLiteral("trace.log");
const QString kCircular = QStringLiteral("circ0001.log");
const QByteArray kOldBody = "old body\r\n";
// Silent, so no dialog; the capture file and the error log share trace.log.
const QByteArray kSettings =
    "[log file]\r\nCircularLog=1\r\nWrite To Disk=1\r\nCapture To Disk=1\r\nLog File=trace.log\r\n"
    "[preferences]\r\nSilent Run=1\r\n";

// Boxes `count` down to 1 with descriptions of `width` characters, sorted as
// the writer sorts them (as text: "10" before "2") or not.
QByteArray listFile(int count, int width, bool sorted)
{
    QStringList ids;
    for (int i = count; i >= 1; --i)
        ids << QString::number(i);
    if (sorted)
        ids.sort();
    QByteArrayList lines;
    for (const QString& id : ids)
        lines << mailboxLine(id, id, QString(width, QLatin1Char('d')));
    return mailboxFile(lines);
}

QString errorLine(int number, const QString& procedure, const QString& description)
{
    return QStringLiteral("[RiVaVaz] ERROR %1 at frmVmailCfg.frm : %2 : Line 0 : %3\r\n")
        .arg(number)
        .arg(procedure, description);
}

class WindowFaults : public WindowTest {
protected:
    void SetUp() override
    {
        overrides.replace(executableNameSource(), QStringLiteral("RiVaVaz"));
        overrides.replace(failsafe::systemReportBuilder(),
                          [](QString& report) { report = QStringLiteral("report\r\n"); });
        overrides.replace(failsafe::messageBoxHook(),
                          [this](failsafe::BoxIcon, failsafe::BoxButtons, const QString& title, const QString& text) {
                              moduleBoxes << title + QStringLiteral(": ") + text;
                              return false;
                          });
    }
    void TearDown() override
    {
        win.reset();
        failsafe::resetState();
    }

    // Fresh files (an unsorted list, so every save changes it) and a fresh
    // start of the window and the error module.
    window::frmVmailCfg& start(int boxes, int width = 8)
    {
        prepare(boxes, width);
        return load();
    }
    void prepare(int boxes, int width = 8)
    {
        win.reset();
        failsafe::resetState();
        QFile::remove(folder.file(kTrace));
        folder.write(QStringLiteral("FSCLIENT.INI"), kSettings);
        oldList = listFile(boxes, width, false);
        newList = listFile(boxes, width, true);
        folder.write(kList, oldList);
        folder.write(kBody, kOldBody);
        folder.write(kIni, "[Voicemail]\r\n");
        moduleBoxes.clear();
    }

    QString trace() const { return QString::fromLatin1(folder.read(kTrace)); }

    QStringList leftovers() const
    {
        QStringList hidden;
        for (const QString& dir : {folder.path(), folder.file(QStringLiteral("data"))})
            for (const QString& name : QDir(dir).entryList(QDir::Files | QDir::Hidden))
                if (name.startsWith(QLatin1Char('.')))
                    hidden << name;
        return hidden;
    }

    QByteArray oldList;
    QByteArray newList;
    QStringList moduleBoxes;
};

TEST_F(WindowFaults, AFailedSaveOnCloseKeepsTheOldFileAndIsReportedByTheUnloadHandler)
{
    enum class Kind { Hook, SizeLimit, ReadOnlyFile, ReadOnlyFolder };
    const struct {
        const char* name;
        Kind kind;
        FileStep step;
        QString file;
        int error;
    } cases[] = {
        {"list, disk full", Kind::Hook, FileStep::Write, kList, 61},
        {"list, read-only file", Kind::ReadOnlyFile, FileStep::Open, kList, 70},
        {"list, read-only folder", Kind::ReadOnlyFolder, FileStep::Open, kList, 70},
        {"body, disk full", Kind::Hook, FileStep::Write, kBody, 61},
        {"body, real full disk", Kind::SizeLimit, FileStep::Write, kBody, 61},
        {"body, read-only file", Kind::ReadOnlyFile, FileStep::Open, kBody, 70},
        {"body, read-only folder", Kind::ReadOnlyFolder, FileStep::Open, kBody, 70},
    };
    constexpr rlim_t kLimit = 256 * 1024;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.kind == Kind::ReadOnlyFolder && !permissionsBind())
            continue;
        const bool listFails = c.file == kList;
        auto& w = start(5);
        if (c.kind == Kind::SizeLimit)
            w.txtEmailBody->setPlainText(QString(kLimit + 1, QLatin1Char('b')));
        w.txtEmailSubject->setText(QStringLiteral("subject"));
        {
            std::optional<ScopedFault> hook;
            std::optional<FileSizeLimit> limit;
            std::optional<ReadOnly> readOnly;
            if (c.kind == Kind::Hook)
                hook.emplace(failStep(c.step, c.file, c.error));
            else if (c.kind == Kind::SizeLimit)
                limit.emplace(kLimit);
            else if (c.kind == Kind::ReadOnlyFile)
                readOnly.emplace(folder.file(c.file));
            else
                readOnly.emplace(QFileInfo(folder.file(c.file)).absolutePath());
            w.close();
        }
        EXPECT_TRUE(w.unloaded());
        EXPECT_EQ(folder.read(kList), listFails ? oldList : newList);
        EXPECT_EQ(folder.read(kBody), kOldBody);
        EXPECT_EQ(leftovers(), QStringList());
        const QString description = QString::fromLatin1(c.error == 61 ? "Disk full" : "Permission denied");
        EXPECT_EQ(trace().count(errorLine(c.error, QStringLiteral("Sub Form_Unload"), description)), 1);
        EXPECT_EQ(trace().count(QStringLiteral("Error Information")), 1);
        EXPECT_FALSE(ini().contains(QStringLiteral("ForwardEmailSubject"))) << "the handler left at the failure";
        EXPECT_EQ(moduleBoxes, QStringList());
    }
}

TEST_F(WindowFaults, FailingIniAndTraceWritesAreSilent)
{
    const struct {
        FileStep step;
        QString file;
        int error;
        bool realPermission = false;
    } cases[] = {
        {FileStep::Write, kIni, 61},   {FileStep::Open, kIni, 70, true}, {FileStep::Open, kTrace, 70},
        {FileStep::Write, kTrace, 61}, {FileStep::Write, kCircular, 61},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.toStdString() + " " + std::to_string(c.error) + (c.realPermission ? " read-only" : ""));
        if (c.realPermission && !permissionsBind())
            continue;
        prepare(3);
        QFile::remove(folder.file(kCircular));
        std::optional<ScopedFault> hook;
        std::optional<ReadOnly> readOnly;
        if (c.realPermission)
            readOnly.emplace(folder.file(c.file));
        else
            hook.emplace(failStep(c.step, c.file, c.error));
        auto& w = load();  // writes the mail mechanism
        clickBox(1);
        EXPECT_EQ(w.gridMsgList->textMatrix(1, 0), QStringLiteral("No Messages"));
        w.Text1[0]->setText(QStringLiteral("45"));
        w.Text1_LostFocus(0);
        EXPECT_EQ(w.Text1[0]->text(), QStringLiteral("30"));
        EXPECT_EQ(config::RecLengthMin, 30);
        w.close();
        hook.reset();
        readOnly.reset();

        if (c.file == kIni) {
            EXPECT_EQ(folder.read(kIni), QByteArray("[Voicemail]\r\n"));
        }
        EXPECT_EQ(folder.read(kList), newList);
        EXPECT_EQ(folder.read(kBody), kOldBody);
        EXPECT_FALSE(trace().contains(QStringLiteral(" ERROR ")));
        if (c.file == kTrace)
            EXPECT_EQ(trace(), QString());
        else
            EXPECT_TRUE(trace().contains(QStringLiteral("<-frmVmailCfg.frm : Sub Form_Unload")));
        EXPECT_EQ(leftovers(), QStringList());
        EXPECT_TRUE(boxes.shown.empty());
        EXPECT_EQ(moduleBoxes, QStringList());
    }
}

TEST_F(WindowFaults, ANearlyFullDiskKeepsTheLogsEarlierBytesWhole)
{
    // Later lines and the error's log entry would fit only in part: no piece may remain.
    auto& w = start(3);
    const QByteArray earlier = folder.read(kTrace);
    ASSERT_FALSE(earlier.isEmpty());
    {
        const FileSizeLimit limit(static_cast<rlim_t>(earlier.size()) + 10);
        clickBox(2);
        const ScopedFault hook(failStep(FileStep::Write, kList, 61));
        w.close();
    }
    EXPECT_EQ(folder.read(kTrace), earlier);
    EXPECT_TRUE(w.unloaded());
    const failsafe::ErrorSlot& reported = failsafe::state().error.slot[0];
    EXPECT_EQ(reported.number, 61);
    EXPECT_EQ(reported.procedureTrail, QStringLiteral("Sub Form_Unload"));
    EXPECT_EQ(moduleBoxes, QStringList());
}

TEST_F(WindowFaults, AMessageFileVanishingBeforeItsStatusIsReportedAndTheWindowGoesOn)
{
    const struct {
        bool duringLoad;
        QString procedure;
    } cases[] = {{true, QStringLiteral("Function GetMessageStats")},
                 {false, QStringLiteral("Sub gridVmbList_SelChange")}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.procedure.toStdString());
        QDir(folder.file(QStringLiteral("data/VmSave"))).removeRecursively();
        QDir().mkpath(folder.file(QStringLiteral("data/VmSave")));
        message(QStringLiteral("1_0101000000_1_1_.wav"), 11025);
        message(QStringLiteral("1_0101000001_0_1_.wav"), 11025);
        message(QStringLiteral("2_0101000002_1_1_555.wav"), 11025);
        // The engine removes box 1's second message right after the listing.
        auto vanish = [](FileStep step, const QString& path) {
            if (step == FileStep::Status && QFileInfo(path).fileName() == QStringLiteral("1_0101000001_0_1_.wav"))
                QFile::remove(path);
            return 0;
        };
        std::optional<ScopedFault> hook;
        if (c.duringLoad)
            hook.emplace(vanish);
        auto& w = start(2);
        if (!c.duringLoad) {
            hook.emplace(vanish);
            clickBox(1);
        }
        hook.reset();
        EXPECT_EQ(trace().count(errorLine(53, c.procedure, QStringLiteral("File not found"))), 1);
        EXPECT_FALSE(w.gridMsgList->repaintLocked());
        if (!c.duringLoad) {  // the rows before the vanished file's are listed, no more
            EXPECT_EQ(column(*w.gridMsgList, 4), QStringList{"1_0101000000_1_1_.wav"});
        }
        EXPECT_EQ(column(*w.gridVmbList, 0), (QStringList{"1", "2"})) << "the load went on";

        clickBox(2);
        EXPECT_EQ(column(*w.gridMsgList, 4), QStringList{"2_0101000002_1_1_555.wav"});
        EXPECT_EQ(column(*w.gridMsgList, 3), QStringList{"555"});
        EXPECT_FALSE(w.gridMsgList->repaintLocked());
        EXPECT_EQ(trace().count(QStringLiteral(" ERROR ")), 1);
        w.close();
    }
}

}  // namespace
}  // namespace vm::test
