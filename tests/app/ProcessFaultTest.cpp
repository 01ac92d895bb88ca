// Faults that hit the whole process: the real program killed (SIGKILL) at a
// random moment while its closing save writes leaves the list file byte for byte the
// old or the new one, and a killed save's temporary files are never read as
// the list; a file size limit is a full disk to the program, not its end.
// FAULT_SEED repeats a run; FAULT_KILLS sets the number of kills. SIGTERM
// and SIGHUP close the window as its close box does, and end it when the
// close's save fails.
#include "ProgramRun.h"

#include "support/EnvironmentNumber.h"
#include "support/TempAppFolder.h"

#include "mailbox/MailboxListFile.h"
#include "mailbox/VmbSort.h"

#include <QDir>

#include <gtest/gtest.h>

#include <random>

namespace vm::test {
namespace {

const QString kList = QStringLiteral("data/VmBoxList.xml");

// `count` boxes in descending number order (the writer sorts them as text),
// each description marked with `mark`.
std::vector<mailbox::VoicemailBox> boxes(int count, const QString& mark)
{
    std::vector<mailbox::VoicemailBox> table;
    for (int i = count; i >= 1; --i) {
        mailbox::VoicemailBox b;
        b.Id = QString::number(i);
        b.Pin = QString::number(i * 7 % 10000);
        b.Description = mark + QStringLiteral(" box ") + b.Id + QString(80, QLatin1Char('.'));
        table.push_back(b);
    }
    return table;
}

// The list file of `table` in its own order, or as a complete save writes it.
QByteArray listBytes(const std::vector<mailbox::VoicemailBox>& table, bool asSaved = true)
{
    mailbox::MailboxTable copy;
    copy.resetToElementZero();
    for (const mailbox::VoicemailBox& b : table)
        copy.store(copy.append(), b);
    if (asSaved)
        mailbox::sortById(copy, 1, copy.upperBound());
    return mailbox::mailboxListBytes(copy);
}

class ProcessFaults : public ::testing::Test {
protected:
    QByteArray list() const { return app.read(kList); }
    QString data() const { return app.file(QStringLiteral("data")); }
    // A save writes a hidden temporary file beside the list and renames it
    // over the list when done; a killed save leaves it behind.
    QStringList strays() const { return QDir(data()).entryList({QStringLiteral(".*")}, QDir::Files | QDir::Hidden); }
    bool saving() const { return !strays().isEmpty(); }
    // Removes a killed save's temporary files; true when there were any.
    bool removeStrays() const
    {
        bool any = false;
        for (const QString& name : strays())
            any = QFile::remove(data() + QLatin1Char('/') + name) || any;
        return any;
    }

    // The real program told to close once loaded, which saves the list sorted;
    // no file of it may grow past `maxFileSize` (0: no limit).
    QProcess* closeAfterLoad(rlim_t maxFileSize = 0) const
    {
        return startProgram(QStringLiteral(RIVAVAZ_PATH),
                            {QStringLiteral("--app-folder"), app.path(), QStringLiteral("--close-after-load")},
                            kOffscreen, maxFileSize);
    }

    TempAppFolder app;
    const unsigned seed = static_cast<unsigned>(environmentNumber("FAULT_SEED", 20260307));
    std::mt19937 random{seed};
};

TEST_F(ProcessFaults, TheProgramKilledWhileItClosesLeavesTheOldOrTheNewList)
{
    const unsigned kills = static_cast<unsigned>(environmentNumber("FAULT_KILLS", 20));
    const std::vector<mailbox::VoicemailBox> table = boxes(30000, QStringLiteral("gamma"));
    const QByteArray old = listBytes(table, false);
    const QByteArray sorted = listBytes(table);
    ASSERT_NE(old, sorted);

    // How long a save writes: from its temporary file's creation to the rename.
    app.write(kList, old);
    QProcess* run = closeAfterLoad();
    ASSERT_TRUE(waitUntil([&] { return saving(); }, 60000));
    QElapsedTimer clock;
    clock.start();
    waitUntil([&] { return !saving(); }, 60000);
    const qint64 writing = std::max<qint64>(clock.nsecsElapsed() / 1000, 100);
    ASSERT_EQ(finishProgram(run).status, 0);
    ASSERT_EQ(list(), sorted);

    int endedNew = 0, midWrite = 0;
    for (unsigned i = 0; i < kills; ++i) {
        app.write(kList, old);
        run = closeAfterLoad();
        // A random moment of the save's writing, or a little after.
        if (waitUntil([&] { return saving(); }, 10000))
            std::this_thread::sleep_for(
                std::chrono::microseconds(std::uniform_int_distribution<qint64>(0, writing * 6 / 5)(random)));
        if (run->processId() > 0)  // never the test's own process group
            ::kill(static_cast<pid_t>(run->processId()), SIGKILL);
        const int exit = finishProgram(run).status;
        const QByteArray now = list();
        ASSERT_TRUE(now == old || now == sorted) << "kill " << i << " of seed " << seed << " (exit " << exit << ")";
        endedNew += now == sorted;
        midWrite += removeStrays();
    }
    std::printf("seed %u: killed %u times while writing (%lld us): %d ended with the new list, %d mid-write\n", seed,
                kills, static_cast<long long>(writing), endedNew, midWrite);
    EXPECT_GT(midWrite, 0) << "no kill fell inside a save";

    // A leftover temporary file with other content is never taken for the list.
    app.write(QStringLiteral("data/.VmBoxList.xml.killed"), listBytes(boxes(3, QStringLiteral("stray"))));
    app.write(kList, old);
    ASSERT_EQ(finishProgram(closeAfterLoad()).status, 0);
    EXPECT_EQ(list(), sorted);
}

TEST_F(ProcessFaults, TerminationSignalsCloseTheWindowAsItsCloseBoxDoes)
{
    const std::vector<mailbox::VoicemailBox> table = boxes(2000, QStringLiteral("eta"));
    app.write(QStringLiteral("FSCLIENT.INI"), "[log file]\r\nWrite To Disk=1\r\nCapture To Disk=1\r\n");
    // Then with the error report of a start-up cut short on screen, which
    // the signal closes first, and a second signal changes nothing; then with
    // a save that fails (a full disk), whose report the close brings up.
    for (const auto& [errorReportUp, saveFails] : {std::pair(false, false), {true, false}, {false, true}}) {
        SCOPED_TRACE(errorReportUp + 2 * saveFails);
        app.write(kList, listBytes(table, false));
        app.write(QStringLiteral("QV.INI"), errorReportUp ? "[Voicemail]\r\nRecLengthMax=abc\r\n" : "[Voicemail]\r\n");
        QProcess* window = startProgram(QStringLiteral(RIVAVAZ_PATH), {QStringLiteral("--app-folder"), app.path()},
                                        kOffscreen, saveFails ? static_cast<rlim_t>(list().size() / 2) : 0);
        const QByteArray shown = errorReportUp ? " ERROR " : "->frmVmailCfg.frm : Sub Form_Load";
        ASSERT_TRUE(waitUntil([&] { return app.read(QStringLiteral("error.log")).contains(shown); }, 30000));
        const auto pid = static_cast<pid_t>(window->processId());
        ::kill(pid, errorReportUp ? SIGHUP : SIGTERM);
        if (errorReportUp)
            ::kill(pid, SIGTERM);
        QElapsedTimer clock;
        clock.start();
        const Outcome o = finishProgram(window);
        EXPECT_EQ(o.status, 0) << o.err.toStdString();
        EXPECT_LT(clock.elapsed(), 10000);
        EXPECT_EQ(list(), listBytes(table, !saveFails));
        EXPECT_FALSE(app.exists(QStringLiteral(".VoicemailManager.lock")));
        EXPECT_FALSE(removeStrays());
        EXPECT_EQ(app.read(QStringLiteral("error.log"))
                      .contains("[RiVaVaz] ERROR 61 at frmVmailCfg.frm : Sub Form_Unload : Line 0 : Disk full\r\n"),
                  saveFails);
        QFile::remove(app.file(QStringLiteral("error.log")));
    }
}

}  // namespace
}  // namespace vm::test
