// Faults while the window works: a full disk while it saves on closing, and
// message files that vanish between the listing and their status. The
// previous file stays intact or the new one is complete, and the error
// module reports exactly that.
#include "support/FaultInjection.h"

#include "manager_window/WindowTestSupport.h"

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
const QString kTrace = QStringLiteral("trace.log");
const QByteArray kOldBody = "old body\r\n";
// Silent, so no dialog; the capture file and the error log share trace.log.
const QByteArray kSettings =
    "[log file]\r\nWrite To Disk=1\r\nCapture To Disk=1\r\nLog File=trace.log\r\n"
    "[preferences]\r\nSilent Run=1\r\n";

// Boxes `count` down to 1, sorted as the writer sorts them (as text: "10"
// before "2") or not.
QByteArray listFile(int count, bool sorted)
{
    QStringList ids;
    for (int i = count; i >= 1; --i)
        ids << QString::number(i);
    if (sorted)
        ids.sort();
    QByteArrayList lines;
    for (const QString& id : ids)
        lines << mailboxLine(id, id);
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
        overrides.replace(platform::executableNameSource(), QStringLiteral("RiVaVaz"));
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
    manager_window::ManagerWindow& start(int boxCount)
    {
        win.reset();
        failsafe::resetState();
        QFile::remove(folder.file(kTrace));
        folder.write(QStringLiteral("FSCLIENT.INI"), kSettings);
        oldList = listFile(boxCount, false);
        newList = listFile(boxCount, true);
        folder.write(kList, oldList);
        folder.write(kBody, kOldBody);
        folder.write(QStringLiteral("QV.INI"), "[Voicemail]\r\n");
        moduleBoxes.clear();
        return load();
    }

    QString trace() const { return QString::fromLatin1(folder.read(kTrace)); }

    QByteArray oldList;
    QByteArray newList;
    QStringList moduleBoxes;
};

TEST_F(WindowFaults, AFailedSaveOnCloseKeepsTheOldFileAndIsReportedByTheUnloadHandler)
{
    // The list is written first, then the body, then the settings keys; the
    // handler leaves at the first failure.
    constexpr rlim_t kLimit = 256 * 1024;
    for (const bool listFails : {true, false}) {
        SCOPED_TRACE(listFails ? "list, disk full" : "body, real full disk");
        auto& w = start(5);
        if (!listFails)
            ui<QPlainTextEdit>("txtEmailBody")->setPlainText(QString(kLimit + 1, QLatin1Char('b')));
        edit("txtEmailSubject")->setText(QStringLiteral("subject"));
        {
            std::optional<ScopedFault> hook;
            std::optional<FileSizeLimit> limit;
            if (listFails)
                hook.emplace(failStep(FileStep::Write, kList, 61));
            else
                limit.emplace(kLimit);
            w.close();
        }
        EXPECT_TRUE(w.unloaded());
        EXPECT_EQ(folder.read(kList), listFails ? oldList : newList);
        EXPECT_EQ(folder.read(kBody), kOldBody);
        EXPECT_EQ(trace().count(errorLine(61, QStringLiteral("Sub Form_Unload"), QStringLiteral("Disk full"))), 1);
        EXPECT_EQ(trace().count(QStringLiteral("Error Information")), 1);
        EXPECT_FALSE(ini().contains(QStringLiteral("ForwardEmailSubject")));
        EXPECT_EQ(moduleBoxes, QStringList());
    }
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
        EXPECT_FALSE(messageList()->repaintLocked());
        // The rows before the vanished file's are listed, no more.
        EXPECT_EQ(listedFiles(), c.duringLoad ? QStringList() : QStringList{"1_0101000000_1_1_.wav"});
        EXPECT_EQ(column(*boxList(), 0), (QStringList{"1", "2"})) << "the load went on";

        clickBox(2);
        EXPECT_EQ(listedFiles(), QStringList{"2_0101000002_1_1_555.wav"});
        EXPECT_EQ(trace().count(QStringLiteral(" ERROR ")), 1);
        w.close();
    }
}

}  // namespace
}  // namespace vm::test
