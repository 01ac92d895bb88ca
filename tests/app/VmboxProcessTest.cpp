// The real RiVaVaz and vmbox as separate processes: what closing the window
// writes; vmbox's exit statuses and its one line on standard error, nothing
// written on failure, the very list file the window writes; one writer per
// folder across processes.
#include "ProgramRun.h"

#include "support/TempAppFolder.h"

#include "mailbox/MailboxListFile.h"
#include "mailbox/VmbSort.h"
#include "platform/FolderLock.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

#include <gtest/gtest.h>

// Boxes are built with designated initializers; the fields left out are meant to be empty.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

using namespace vm::test;

Outcome vmbox(const TempAppFolder& folder, const QStringList& args)
{
    return runProgram(QStringLiteral(VMBOX_PATH), QStringList{QStringLiteral("--app-folder"), folder.path()} + args);
}

Outcome window(const TempAppFolder& folder)
{
    return runProgram(QStringLiteral(RIVAVAZ_PATH),
                      {QStringLiteral("--app-folder"), folder.path(), QStringLiteral("--close-after-load")});
}

const QString kList = QStringLiteral("data/VmBoxList.xml");

}  // namespace

TEST(EndToEnd, ClosingTheWindowWritesTheSortedListAndTheSettings)
{
    vm::test::TempAppFolder folder;
    vm::MailboxTable table;
    table.resetToElementZero();
    table.append({.Id = "9", .Pin = "9", .DeleteAfterForward = 1});
    table.append({.Id = "10", .Pin = "1010", .Description = "Ten \u00e9", .Groups = "g", .FtpUpload = 1});
    folder.write(kList, vm::mailboxListBytes(table));  // unsorted: the program writes it sorted
    folder.write(QStringLiteral("QV.INI"), "[Voicemail]\r\nForwardEmailSubject=New message\r\nRecLengthMin=4\r\n");

    ASSERT_EQ(window(folder).status, 0);

    vm::sortById(table, 1, 2);
    EXPECT_EQ(folder.read(kList), vm::mailboxListBytes(table));
    EXPECT_EQ(folder.read(QStringLiteral("QV.INI")),
              QByteArray("[Voicemail]\r\nForwardEmailSubject=New message\r\nRecLengthMin=4\r\n"
                         "ForwardEmailMechanism=MAPI\r\nForwardEmailSmtpServer=\r\nForwardEmailSmtpEmailAddress=\r\n"
                         "FtpServer=\r\nFtpDir=\r\nFtpUser=\r\nFtpPassword=\r\nRunCommandAfterRec=\r\n"));
}

// The engine's account reads the shared files through their group, or owns
// the folder: a window's close and a vmbox change keep owner, group and mode
// of every file they replace, and the engine's account can still work there.
TEST(EndToEnd, ReplacedFilesKeepTheirOwnerGroupAndMode)
{
    vm::test::TempAppFolder folder;
    folder.write(kList, "<VoicemailBox Id=\"1\"><Pin>1</Pin></VoicemailBox>\r\n");
    for (const char* name : {"QV.INI", "VmEmailForwardBody.txt"})
        folder.write(QLatin1String(name), "\r\n");
    const auto shell = [&](const char* command) {
        return runProgram(QStringLiteral("sh"), {"-c", QLatin1String("cd \"$0\" && ") + command, folder.path()}).out;
    };
    shell("chown root:daemon QV.INI VmEmailForwardBody.txt data/VmBoxList.xml && chmod 640 QV.INI data/VmBoxList.xml");
    const QStringList asDaemon = {"--reuid=daemon", "--regid=daemon", "--clear-groups",
                                  VMBOX_PATH,       "--app-folder",   folder.path()};
    for (const char* box : {"2", "3"}) {
        const QString before = shell("find . -type f | sort | xargs stat -c '%n %U:%G %a'");
        ASSERT_TRUE(before.contains(box == QLatin1String("2") ? "VmBoxList.xml root:daemon 640" : "daemon:daemon"));
        ASSERT_EQ(window(folder).status, 0);
        ASSERT_EQ(vmbox(folder, {QStringLiteral("add"), box, box}).status, 0);
        EXPECT_EQ(shell("find . -type f | sort | xargs stat -c '%n %U:%G %a'"), before);
        if (box == QLatin1String("3"))
            break;
        EXPECT_EQ(runProgram(QStringLiteral("setpriv"), asDaemon + QStringList{"list"}).err,
                  QStringLiteral("vmbox: %1: cannot be read: Permission denied\n").arg(folder.path()));
        shell("chown -R daemon:daemon .");
    }
    const Outcome change = runProgram(QStringLiteral("setpriv"), asDaemon + QStringList{"add", "4", "4"});
    EXPECT_EQ(change.status, 0) << change.err.toStdString();
}

TEST(VmboxProcess, ABadImportWritesNothingAndAGoodOneWritesWhatTheWindowWrites)
{
    vm::test::TempAppFolder folder;
    folder.write(QStringLiteral("data/VmBoxList.txt"), "\"7\",\"77\",\"seven\"\r\n");
    folder.write(QStringLiteral("bad.csv"), "Id,Pin,Description\r\n102,1,fine\r\n103,none,\"x\"\r\n");
    folder.write(QStringLiteral("good.csv"), "Id,Pin,Description,FtpUpload\r\n102,1,\" fine \",1\r\n7,7,,0\r\n");
    const auto before = folder.contents();

    Outcome o = vmbox(folder, {QStringLiteral("import"), folder.file(QStringLiteral("bad.csv"))});
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, QStringLiteral("vmbox: %1:3:2: PIN \"none\" may hold only digits\n").arg(folder.file("bad.csv")));
    EXPECT_EQ(folder.contents(), before);

    o = vmbox(folder, {QStringLiteral("import"), folder.file(QStringLiteral("good.csv"))});
    ASSERT_EQ(o.status, 0) << o.err.toStdString();
    EXPECT_FALSE(folder.exists(QStringLiteral("data/VmBoxList.txt")));
    const QByteArray saved = folder.read(kList);
    EXPECT_TRUE(saved.contains("<VoicemailBox Id=\"7\"><Pin>7</Pin><Groups></Groups><Description></Description>"));
    ASSERT_EQ(window(folder).status, 0);
    EXPECT_EQ(folder.read(kList), saved);
}

TEST(FolderLockProcess, OneWriterPerFolderAndACrashedHolderIsTakenOver)
{
    vm::test::TempAppFolder folder;
    folder.write(kList, "<VoicemailBox Id=\"1\"><Pin>1</Pin></VoicemailBox>\r\n");
    const QString holder = QStringLiteral("app_tests (process %1 on host ").arg(QCoreApplication::applicationPid());
    {
        auto held = std::make_unique<vm::FolderLock>(folder.path());
        ASSERT_TRUE(held->tryLock());
        const auto before = folder.contents();
        const Outcome refusedChange = vmbox(folder, {QStringLiteral("add"), QStringLiteral("2"), QStringLiteral("2")});
        EXPECT_EQ(refusedChange.status, 1);
        EXPECT_TRUE(refusedChange.err.contains(holder)) << refusedChange.err.toStdString();
        const Outcome refusedWindow = window(folder);
        EXPECT_EQ(refusedWindow.status, 1);
        EXPECT_TRUE(refusedWindow.err.contains(QStringLiteral("RiVaVaz: The application folder ") + folder.path() +
                                               QStringLiteral(" is in use by ") + holder))
            << refusedWindow.err.toStdString();
        EXPECT_EQ(folder.contents(), before) << "a refused manager reads and writes nothing, no trace either";

        QProcess* waiting = startProgram(
            QStringLiteral(VMBOX_PATH),
            {QStringLiteral("--app-folder"), folder.path(), QStringLiteral("--wait"), QStringLiteral("20"),
             QStringLiteral("add"), QStringLiteral("3"), QStringLiteral("3")});
        QThread::msleep(500);
        held.reset();
        const Outcome waited = finishProgram(waiting);
        EXPECT_EQ(waited.status, 0) << waited.err.toStdString();
    }

    // A window killed while it holds the folder leaves its lock file behind.
    QProcess* crashing = startProgram(QStringLiteral(RIVAVAZ_PATH), {QStringLiteral("--app-folder"), folder.path()});
    const QString lockFile = folder.file(vm::FolderLock::fileName());
    QElapsedTimer clock;
    clock.start();
    while (QFileInfo(lockFile).size() == 0 && clock.elapsed() < 30000)
        QThread::msleep(20);
    ASSERT_GT(QFileInfo(lockFile).size(), 0);
    crashing->kill();
    crashing->waitForFinished();
    delete crashing;
    ASSERT_TRUE(QFileInfo::exists(lockFile));
    const Outcome takeover = vmbox(folder, {QStringLiteral("delete"), QStringLiteral("3")});
    EXPECT_EQ(takeover.status, 0) << takeover.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(lockFile)) << "a normal exit leaves no lock behind";
    EXPECT_EQ(QDir(folder.file(QStringLiteral("data"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{"VmBoxList.xml"});
}
