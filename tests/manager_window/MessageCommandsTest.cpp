// The sound buttons: playing through a recording sound player, recording
// through a stand-in recorder that writes its arguments to a file, deleting
// through the list's selection.
#include "WindowTestSupport.h"

#include "platform/AppFolder.h"
#include "platform/NativeName.h"
#include "platform/ProcessLauncher.h"
#include "platform/Trash.h"
#include "support/EnvironmentScope.h"
#include "support/RecorderFolder.h"
#include "vmbox/Vmbox.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <functional>

using namespace vm::test;
using vm::manager_window::MsgAnswer;

namespace {

const QByteArray kTemplate = "RIFF template";
const QString kCaption = QStringLiteral("Quorvane Voicemail Manager|");

class MessageCommands : public WindowTest {
protected:
    void SetUp() override
    {
        overrides.replace(vm::failsafe::errorDialog(), &errors);
        overrides.replace(vm::platform::soundPlayer(), &player);
        folder.write(QStringLiteral("system/8pcm16m.wav"), kTemplate);
        setRecEditor(recorder.path(QStringLiteral("rec.sh")));
        folder.write(QStringLiteral("data/VmBoxList.xml"),
                     mailboxFile({mailboxLine("101", "1"), mailboxLine("102", "2")}));
    }
    void TearDown() override { win.reset(); }

    void setRecEditor(const QString& value)
    {
        folder.write(QStringLiteral("QV.INI"), "[PlayRecordConfig]\r\nRecEditor=" + value.toUtf8() + "\r\n");
    }
    // Message `n` of box `id`; box 1010's files must never be touched by box 101.
    QString addMessage(int n, const QString& id = QStringLiteral("101"))
    {
        const QString name =
            QStringLiteral("%1_12041530%2_%3_3_555.wav").arg(id).arg(n, 2, 10, QLatin1Char('0')).arg(n % 2);
        folder.write(QStringLiteral("data/VmSave/") + name, "message");
        return name;
    }
    QString saved(const QString& name) const { return folder.file(QStringLiteral("data/VmSave/") + name); }
    QStringList savedFiles() const { return QDir(folder.file(QStringLiteral("data/VmSave"))).entryList(QDir::Files); }
    void selectBox(int row)
    {
        if (!win)
            load();
        boxList()->setRow(row);
        boxList()->setCol(0);
        win->gridVmbList_SelChange();
    }
    RecorderFolder recorder;
    ErrorsSeen errors;
    QStringList played;
    RecordingPlayer player{&played};
};

TEST_F(MessageCommands, PlayAndStopHandTheirFilesToThePlayerOrExplainWhatIsMissing)
{
    const QString first = addMessage(1);
    const QString second = addMessage(2);
    folder.write(QStringLiteral("data/VmWelc/101.wav"), "greeting");
    selectBox(1);
    QTest::mouseClick(button("cmdPlayMsg"), Qt::LeftButton);
    messageList()->setRow(2);
    for (QPushButton* b :
         {button("cmdPlayMsg"), button("cmdPlayIntro"), button("cmdStopPlay", 0), button("cmdStopPlay", 1)})
        QTest::mouseClick(b, Qt::LeftButton);

    const QString stop = folder.file(QStringLiteral("system/VeryShort.wav"));
    EXPECT_EQ(played, (QStringList{saved(first), saved(second), folder.file(QStringLiteral("data/VmWelc/101.wav")),
                                   stop, stop}));
    EXPECT_TRUE(boxes.shown.empty());

    // Files that vanished after the listing are explained, not played.
    QFile::remove(saved(second));
    QFile::remove(folder.file(QStringLiteral("data/VmWelc/101.wav")));
    win->cmdPlayMsg_Click();
    win->cmdplayIntro_Click();
    EXPECT_EQ(played.size(), 5);
    EXPECT_EQ(shownBoxes(), (QStringList{QStringLiteral("RiVaVaz|OK|Message could not be found ") + second,
                                         QStringLiteral("RiVaVaz|OK|No welcome message recorded for mailbox 101")}));
}

TEST_F(MessageCommands, RecordingCopiesTheTemplateOnlyWhenThereIsNoFile)
{
    const QString greeting = QStringLiteral("data/VmWelc/102.wav");
    for (const QByteArray& existing : {QByteArray(), QByteArray("own greeting")}) {
        recorder.forget();
        if (!existing.isEmpty())
            folder.write(greeting, existing);
        selectBox(2);
        QTest::mouseClick(button("cmdRecIntro"), Qt::LeftButton);
        EXPECT_EQ(folder.read(greeting), existing.isEmpty() ? kTemplate : existing);
        EXPECT_EQ(recorder.awaitArguments(), QStringList{folder.file(greeting)});
    }

    // A new message gets a new name of the box; it is listed at the next selection only.
    recorder.forget();
    const QString old = addMessage(1);
    selectBox(1);
    QTest::mouseClick(button("cmdRecMsg"), Qt::LeftButton);
    const QStringList made = savedFiles().filter(QRegularExpression(QStringLiteral("^101_\\d{10}_1_1000_999\\.wav$")));
    ASSERT_EQ(made.size(), 1) << savedFiles().join(' ').toStdString();
    EXPECT_EQ(folder.read(QStringLiteral("data/VmSave/") + made[0]), kTemplate);
    EXPECT_EQ(folder.read(QStringLiteral("data/VmSave/") + old), "message");
    EXPECT_EQ(recorder.awaitArguments(), QStringList{saved(made[0])});
    EXPECT_EQ(listedFiles(), QStringList{old});
}

TEST_F(MessageCommands, ARecorderThatCannotStartOrAMissingTemplateIsARunTimeError)
{
    setRecEditor(QString());  // the default recorder is not on this machine
    for (const bool templateThere : {true, false}) {
        if (!templateThere)
            QFile::remove(folder.file(QStringLiteral("system/8pcm16m.wav")));
        QFile::remove(folder.file(QStringLiteral("data/VmWelc/102.wav")));
        win.reset();
        errors.errors.clear();
        selectBox(2);
        win->cmdRecIntro_Click();
        EXPECT_EQ(errors.errors, QStringList{QStringLiteral("53 in Sub cmdRecIntro_Click")});
        EXPECT_EQ(folder.exists(QStringLiteral("data/VmWelc/102.wav")), templateThere) << "the copy stays";
    }
}

// Another account that could choose the recorder (through QV.INI, the folder
// it lies in, or the program file) gets nothing started by root, nor a
// recording written through a link of its own.
TEST_F(MessageCommands, RootStartsNoRecorderAnotherAccountCouldChoose)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "the rule holds for root";
    struct : vm::platform::ProcessLauncher {
        void startDetached(const QStringList& words) override { started << words; }
        QList<QStringList> started;
    } launcher;
    overrides.replace(vm::platform::processLauncher(), &launcher);
    const QByteArray ini = QFile::encodeName(folder.file("QV.INI"));
    const QByteArray rec = QFile::encodeName(recorder.path("rec.sh"));
    const QByteArray app = QFile::encodeName(folder.path());
    folder.write("secret.wav", "root only");
    const struct {
        std::function<void()> plant;
        QString why;
    } cases[] = {
        {[&] { EXPECT_EQ(::chown(ini, 1, 0), 0); }, "the account daemon owns the file " + folder.file("QV.INI")},
        {[&] { EXPECT_EQ(::chown(ini, 0, 1) | ::chmod(ini, 0664), 0); },
         "the group daemon may write the file " + folder.file("QV.INI")},
        {[&] { EXPECT_EQ(::chmod(app, 0777), 0); }, "every account may write the folder " + folder.path()},
        {[&] { EXPECT_EQ(::chown(rec, 1, 1), 0); }, "the account daemon owns the file " + recorder.path("rec.sh")},
    };
    for (const auto& c : cases) {
        selectBox(2);
        const auto before = folder.contents();
        c.plant();
        boxes.shown.clear();
        win->cmdRecIntro_Click();
        win->cmdRecMsg_Click();
        EXPECT_EQ(shownBoxes().size(), 2);
        EXPECT_TRUE(shownBoxes().value(0).startsWith(kCaption + "OK|The recorder was not started: " + c.why))
            << shownBoxes().value(0).toStdString();
        EXPECT_EQ(folder.contents(), before);
        EXPECT_EQ(::chown(ini, 0, 0) | ::chmod(ini, 0644) | ::chmod(app, 0700) | ::chown(rec, 0, 0), 0);
        win.reset();
    }
    EXPECT_TRUE(launcher.started.isEmpty());

    QFile::link(folder.file("secret.wav"), folder.file("data/VmWelc/102.wav"));
    EXPECT_EQ(::lchown(QFile::encodeName(folder.file("data/VmWelc/102.wav")), 1, 1), 0);
    selectBox(2);
    win->cmdRecIntro_Click();
    EXPECT_TRUE(shownBoxes().last().contains("is a symbolic link that another account (daemon) made"));
    EXPECT_EQ(folder.read("secret.wav"), "root only");
    EXPECT_TRUE(launcher.started.isEmpty());
}

TEST_F(MessageCommands, AFolderPathWithABlankReachesTheRecorderAsOneArgument)
{
    const QString spaced = folder.file("engine folder");
    for (const char* sub : {"/data/VmSave", "/system"})
        QDir().mkpath(spaced + sub);
    QFile::copy(folder.file("system/8pcm16m.wav"), spaced + "/system/8pcm16m.wav");
    QFile::copy(folder.file("data/VmBoxList.xml"), spaced + "/data/VmBoxList.xml");
    QFile::copy(folder.file("QV.INI"), spaced + "/QV.INI");
    vm::platform::setAppFolder(spaced);
    selectBox(1);
    win->cmdRecMsg_Click();
    const QStringList args = recorder.awaitArguments();
    ASSERT_EQ(args.size(), 1);
    EXPECT_TRUE(args[0].startsWith(spaced + "/data/VmSave/101_")) << args[0].toStdString();
}

// Which rows go and which files leave the disk the soak checks; here the
// question for one or more rows, the answers that are no Yes, and the list
// emptied by a delete.
TEST_F(MessageCommands, DeletingAsksOnceForOneOrManyAndOnlyYesDeletes)
{
    const QString one = QStringLiteral("Are you sure you want to delete this message ?");
    const QString many = QStringLiteral("Are you sure you want to delete these messages ?");
    const struct {
        int from, to;
        MsgAnswer answer;
        qsizetype left;
        QString question;
    } cases[] = {{2, 2, MsgAnswer::Yes, 2, one},
                 {3, 2, MsgAnswer::Yes, 1, many},
                 {1, 1, MsgAnswer::No, 3, one},
                 {3, 1, MsgAnswer::Cancel, 3, many},
                 {1, 3, MsgAnswer::Yes, 0, many}};
    for (const auto& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 to %2").arg(c.from).arg(c.to).toStdString());
        for (int n = 1; n <= 3; ++n)
            addMessage(n);
        boxes.shown.clear();
        boxes.answers = {c.answer};
        selectBox(1);
        messageList()->setRow(c.from);
        messageList()->setRowSel(c.to);
        QTest::mouseClick(button("cmdDeleteMsg"), Qt::LeftButton);
        EXPECT_EQ(shownBoxes(), QStringList{kCaption + QStringLiteral("YNC|") + c.question});
        EXPECT_EQ(savedFiles().size(), c.left);
        EXPECT_EQ(messageList()->col(), 4);
    }
    EXPECT_EQ(column(*messageList(), 0), QStringList{QStringLiteral("No Messages")});
    EXPECT_EQ(messageList()->colWidth(0), 10000);
}

TEST_F(MessageCommands, AFileThatCannotBeDeletedIsReportedAndTheRestStillGo)
{
    const QString vanished = addMessage(1);
    const QString readOnly = addMessage(2);
    addMessage(3);
    const QString kept = addMessage(4);
    selectBox(1);
    QFile::remove(saved(vanished));
    QFile::setPermissions(saved(readOnly), QFile::ReadOwner);
    messageList()->setRow(1);
    messageList()->setRowSel(3);
    win->cmdDeleteMsg_Click();

    const QString failed =
        kCaption +
        QStringLiteral(
            "OK|Could not delete voicemail message.\r\nPlease check that the file is not used by any other application");
    EXPECT_EQ(shownBoxes().mid(1), (QStringList{failed, failed}));
    EXPECT_EQ(listedFiles(), QStringList{kept});
    EXPECT_EQ(savedFiles(), (QStringList{readOnly, kept}));
    EXPECT_TRUE(errors.errors.isEmpty());
}

// Every door that deletes a message keeps and removes the same ones: the
// window's delete, vmbox message delete and vmbox purge (which chooses
// regular files only, so a link is not its to take).
TEST_F(MessageCommands, EveryDoorDeletesByTheSameRule)
{
    namespace fs = std::filesystem;
    const QByteArray odd = "101_1204153012_0_3_55\xe9.wav";
    const struct {
        const char* what;
        std::function<void(const QString&)> plant;  // given the message's path
        bool stays, staysInPurge;
    } cases[] = {
        {"normal", [&](const QString& p) { QFile::setPermissions(p, QFile::ReadOwner | QFile::WriteOwner); }, false,
         false},
        {"read-only", [&](const QString& p) { QFile::setPermissions(p, QFile::ReadOwner); }, true, true},
        {"link of another account",
         [&](const QString& p) {
             QFile::remove(p);
             QFile::link(folder.file("outside.wav"), p);
             ASSERT_EQ(::lchown(QFile::encodeName(p), 1, 1), 0);
         },
         false, true},
        {"no UTF-8 name", {}, false, false},
    };
    folder.write("outside.wav", "another account's file");
    for (const auto& c : cases)
        for (const char* door : {"window", "message delete", "purge"}) {
            SCOPED_TRACE(std::string(c.what) + " by " + door);
            QString name = addMessage(1);
            if (c.plant) {
                c.plant(saved(name));
            } else {
                QFile::remove(saved(name));
                std::ofstream(fs::path(QFile::encodeName(folder.path()).toStdString()) / "data/VmSave" / odd.data());
                name = vm::platform::nameText(odd);
            }
            const QByteArray native = vm::platform::nativeName(saved(name));
            ::utimensat(AT_FDCWD, native,
                        std::array<timespec, 2>{timespec{86400 * 1000, 0}, timespec{86400 * 1000, 0}}.data(),
                        AT_SYMLINK_NOFOLLOW);
            if (door == std::string("window")) {
                selectBox(1);
                messageList()->setRow(1);
                win->cmdDeleteMsg_Click();
            } else {
                QBuffer out, err;
                out.open(QIODevice::WriteOnly), err.open(QIODevice::WriteOnly);
                vm::vmbox::runVmbox(door == std::string("purge")
                                        ? QStringList{"--app-folder", folder.path(), "purge", "--older-than", "1"}
                                        : QStringList{"--app-folder", folder.path(), "message", "delete", name},
                                    out, err);
            }
            struct stat st {};
            EXPECT_EQ(::lstat(native, &st) == 0, door == std::string("purge") ? c.staysInPurge : c.stays);
            EXPECT_EQ(folder.read("outside.wav"), "another account's file");
            ::unlink(native);
        }
}

// A delete the operator asks for goes to the desktop's trash, whose note says
// where from: moved back, the message is as it was. The question says so.
TEST_F(MessageCommands, DeletedMessagesGoToTheTrashAndComeBackWhole)
{
    const QTemporaryDir home;
    const EnvironmentScope environment({{"XDG_DATA_HOME", QFile::encodeName(home.path())}});
    const QString name = addMessage(1);
    folder.write(QStringLiteral("data/VmSave/") + name, "the bytes of a message");
    selectBox(1);
    QTest::mouseClick(button("cmdDeleteMsg"), Qt::LeftButton);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].note, "Deleted messages go to the trash, from where they can be restored to their place.");
    EXPECT_TRUE(savedFiles().isEmpty());
    const QString trash = home.path() + "/Trash/";
    QFile note(trash + "info/" + name + ".trashinfo");
    ASSERT_TRUE(note.open(QIODevice::ReadOnly));
    EXPECT_TRUE(
        QString::fromUtf8(note.readAll()).contains("\nPath=" + QUrl::toPercentEncoding(saved(name), "/") + "\n"));
    ASSERT_TRUE(QFile::rename(trash + "files/" + name, saved(name)));
    EXPECT_EQ(folder.read(QStringLiteral("data/VmSave/") + name), "the bytes of a message");
}

// Where no trash takes a file it is deleted for good all the same, and the
// operator is told once, not at every file.
TEST_F(MessageCommands, WithoutATrashDeletesGoForGoodAndSaySoOnce)
{
    const auto noTrash = vm::platform::trashMove().replace([](const QString&) {
        return vm::platform::TrashOutcome{{}, QStringLiteral("no trash here")};
    });
    const QString first = addMessage(1);
    addMessage(2), addMessage(3);
    folder.write(QStringLiteral("data/VmWelc/102.wav"), "greeting");
    selectBox(1);
    messageList()->setRow(1);
    messageList()->setRowSel(2);
    win->cmdDeleteMsg_Click();
    selectBox(1);
    win->cmdDeleteMsg_Click();
    selectBox(2);
    win->cmdDeleteVmb_Click();
    EXPECT_TRUE(savedFiles().isEmpty());
    EXPECT_FALSE(folder.exists(QStringLiteral("data/VmWelc/102.wav")));
    EXPECT_EQ(shownBoxes().filter("|OK|"),
              QStringList{kCaption + "OK|" + saved(first) +
                          " could not go to the trash (no trash here), so it was deleted for good and cannot be "
                          "restored. Other files deleted from now on may fare the same."});
}

}  // namespace
