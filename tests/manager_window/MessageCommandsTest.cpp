// The sound buttons on the real window: playing through a recording stand-in
// of the sound layer, recording through a stand-in recorder program that
// writes its arguments to a file, deleting through the list's selection.
#include "WindowTestSupport.h"

#include "platform/AppFolder.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

using vm::window::MsgAnswer;
using vm::window::MsgButtons;

namespace {

const QByteArray kTemplate = "RIFF template";
const QString kOneQuestion = QStringLiteral("Are you sure you want to delete this message ?");
const QString kManyQuestion = QStringLiteral("Are you sure you want to delete these messages ?");
const QString kCouldNotDelete = QStringLiteral(
    "Could not delete voicemail message.\r\nPlease check that the file is not used by any other application");

// Answers message boxes with `answer` (Yes or OK by default) and notes them as
// "caption|buttons|text".
struct ScriptedBoxes final : vm::window::MessageBoxService {
    MsgAnswer show(const QString& text, MsgButtons buttons, const QString& caption) override
    {
        const bool question = buttons == MsgButtons::YesNoCancel;
        shown << caption + (question ? QStringLiteral("|YNC|") : QStringLiteral("|OK|")) + text;
        return question ? answer : MsgAnswer::Ok;
    }
    QStringList shown;
    MsgAnswer answer = MsgAnswer::Yes;
};

using vm::test::ErrorsSeen;
using vm::test::RecordingPlayer;

class MessageCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        vm::failsafe::resetState();
        vm::failsafe::setErrorDialogHost(&errors_);
        QFile rec(recorder_.filePath(QStringLiteral("rec.sh")));
        ASSERT_TRUE(rec.open(QIODevice::WriteOnly));
        rec.write("#!/bin/sh\ncd \"$(dirname \"$0\")\" && printf '%s\\n' \"$@\" > args.tmp && mv args.tmp args.txt\n");
        rec.close();
        rec.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        app_.write(QStringLiteral("system/8pcm16m.wav"), kTemplate);
        setRecEditor(rec.fileName());
        app_.write(QStringLiteral("data/VmBoxList.xml"),
                   "<VoicemailBox Id=\"101\"></VoicemailBox>\r\n<VoicemailBox Id=\"102\"></VoicemailBox>\r\n");
    }
    void TearDown() override
    {
        window_.reset();
        vm::failsafe::setErrorDialogHost(nullptr);
        vm::failsafe::resetState();
    }

    void setRecEditor(const QString& value)
    {
        app_.write(QStringLiteral("QV.INI"), "[PlayRecordConfig]\r\nRecEditor=" + value.toUtf8() + "\r\n");
    }
    // Message `n` of box `id`; files of box 1010 must never be touched by box 101.
    QString addMessage(int n, const QString& id = QStringLiteral("101"))
    {
        const QString name = QStringLiteral("%1_12041530%2_%3_3_555.wav").arg(id).arg(n, 2, 10, QLatin1Char('0')).arg(n % 2);
        app_.write(QStringLiteral("data/VmSave/") + name, "message");
        return name;
    }
    QString saved(const QString& name) const { return app_.file(QStringLiteral("data/VmSave/") + name); }
    QStringList savedFiles() const { return QDir(app_.file(QStringLiteral("data/VmSave"))).entryList(QDir::Files); }

    vm::window::frmVmailCfg& window()
    {
        if (!window_) {
            window_ = std::make_unique<vm::window::frmVmailCfg>(&boxes_);
            window_->Form_Load();
            window_->show();
        }
        return *window_;
    }
    vm::window::FlexGrid& messages() { return *window().gridMsgList; }
    void selectBox(int row)
    {
        window().gridVmbList->setRow(row);
        window().gridVmbList->setCol(0);
        window().gridVmbList_SelChange();
    }
    QStringList listed()
    {
        QStringList names;
        for (int r = 1; r < messages().rows(); ++r)
            names << messages().textMatrix(r, 4);
        return names;
    }
    QStringList recorderArguments() const
    {
        QFile f(recorder_.filePath(QStringLiteral("args.txt")));
        for (QDeadlineTimer deadline(10000); !f.exists() && !deadline.hasExpired();)
            QThread::msleep(10);
        f.open(QIODevice::ReadOnly);
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    vm::test::TempAppFolder app_;
    QTemporaryDir recorder_;
    ScriptedBoxes boxes_;
    ErrorsSeen errors_;
    QStringList played_;
    vm::sound::ScopedSoundPlayer player_{std::make_unique<RecordingPlayer>(&played_)};
    std::unique_ptr<vm::window::frmVmailCfg> window_;
};

TEST_F(MessageCommandsTest, PlayAndStopButtonsHandTheirFilesToTheSoundPlayerOrExplainWhatIsMissing)
{
    const QString first = addMessage(1);
    const QString second = addMessage(2);
    app_.write(QStringLiteral("data/VmWelc/101.wav"), "greeting");
    selectBox(1);

    QTest::mouseClick(window().cmdPlayMsg, Qt::LeftButton);
    messages().setRow(2);
    QTest::mouseClick(window().cmdPlayMsg, Qt::LeftButton);
    QTest::mouseClick(window().cmdPlayIntro, Qt::LeftButton);
    QTest::mouseClick(window().cmdStopPlay[0], Qt::LeftButton);
    QTest::mouseClick(window().cmdStopPlay[1], Qt::LeftButton);

    const QString stop = app_.file(QStringLiteral("system/VeryShort.wav"));
    EXPECT_EQ(played_, (QStringList{saved(first), saved(second), app_.file(QStringLiteral("data/VmWelc/101.wav")), stop, stop}));
    EXPECT_TRUE(boxes_.shown.isEmpty());

    // Files that vanished after the listing are explained, not played.
    QFile::remove(saved(second));
    QFile::remove(app_.file(QStringLiteral("data/VmWelc/101.wav")));
    window().cmdPlayMsg_Click();
    window().cmdplayIntro_Click();
    EXPECT_EQ(played_.size(), 5);
    EXPECT_EQ(boxes_.shown, (QStringList{QStringLiteral("RiVaVaz|OK|Message could not be found ") + second,
                                         QStringLiteral("RiVaVaz|OK|No welcome message recorded for mailbox 101")}));
}

TEST_F(MessageCommandsTest, RecordingAGreetingCopiesTheTemplateOnlyWhenThereIsNone)
{
    const QString greeting = QStringLiteral("data/VmWelc/102.wav");
    for (const QByteArray& existing : {QByteArray(), QByteArray("own greeting")}) {
        QFile::remove(recorder_.filePath(QStringLiteral("args.txt")));
        if (!existing.isEmpty())
            app_.write(greeting, existing);
        selectBox(2);
        QTest::mouseClick(window().cmdRecIntro, Qt::LeftButton);

        EXPECT_EQ(app_.read(greeting), existing.isEmpty() ? kTemplate : existing);
        EXPECT_EQ(recorderArguments(), QStringList{app_.file(greeting)});
    }
}

TEST_F(MessageCommandsTest, RecordingAMessageCopiesTheTemplateToANewNameOfTheBox)
{
    const QString old = addMessage(1);
    selectBox(1);
    QTest::mouseClick(window().cmdRecMsg, Qt::LeftButton);

    const QStringList made = savedFiles().filter(QRegularExpression(QStringLiteral("^101_\\d{10}_1_1000_999\\.wav$")));
    ASSERT_EQ(made.size(), 1) << savedFiles().join(' ').toStdString();
    EXPECT_EQ(app_.read(QStringLiteral("data/VmSave/") + made[0]), kTemplate);
    EXPECT_EQ(app_.read(QStringLiteral("data/VmSave/") + old), "message");
    EXPECT_EQ(recorderArguments(), QStringList{saved(made[0])});
    EXPECT_EQ(listed(), QStringList{old}) << "listed at the next selection only";
}

TEST_F(MessageCommandsTest, ARecorderThatCannotStartOrAMissingTemplateIsARunTimeError)
{
    QFile(app_.file(QStringLiteral("plain.txt"))).open(QIODevice::WriteOnly);
    const struct {
        QString recEditor;
        bool templateThere;
        QString error;
    } cases[] = {
        {QString(), true, QStringLiteral("53 in Sub cmdRecIntro_Click")},  // SNDREC32.EXE does not exist here
        {app_.file(QStringLiteral("no-recorder")), true, QStringLiteral("53 in Sub cmdRecIntro_Click")},
        {app_.file(QStringLiteral("plain.txt")), true, QStringLiteral("70 in Sub cmdRecIntro_Click")},
        {QString(), false, QStringLiteral("53 in Sub cmdRecIntro_Click")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error.toStdString() + " " + c.recEditor.toStdString());
        setRecEditor(c.recEditor);
        if (!c.templateThere)
            QFile::remove(app_.file(QStringLiteral("system/8pcm16m.wav")));
        QFile::remove(app_.file(QStringLiteral("data/VmWelc/102.wav")));
        window_.reset();
        errors_.errors.clear();
        selectBox(2);
        window().cmdRecIntro_Click();

        EXPECT_EQ(errors_.errors, QStringList{c.error});
        EXPECT_EQ(app_.exists(QStringLiteral("data/VmWelc/102.wav")), c.templateThere) << "the copy stays";
    }
}

TEST_F(MessageCommandsTest, APathWithBlanksReachesTheRecorderAsSeveralWords)
{
    const QString folder = app_.file(QStringLiteral("voice  mail"));
    for (const char* file : {"QV.INI", "data/VmBoxList.xml", "system/8pcm16m.wav"}) {
        QDir().mkpath(QFileInfo(folder + '/' + file).path());
        QFile::copy(app_.file(QLatin1String(file)), folder + '/' + file);
    }
    QDir().mkpath(folder + QStringLiteral("/data/VmWelc"));
    vm::setAppFolder(folder);
    selectBox(2);
    window().cmdRecIntro_Click();

    EXPECT_EQ(recorderArguments(), (QStringList{app_.file(QStringLiteral("voice")), QStringLiteral("mail/data/VmWelc/102.wav")}));
}

TEST_F(MessageCommandsTest, DeletingOnlyOnYesTheSelectedRowsInEitherDragDirection)
{
    const struct {
        int from, to;
        MsgAnswer answer;
        QList<int> kept;
        QString question;
    } cases[] = {
        {2, 2, MsgAnswer::Yes, {1, 3, 4}, kOneQuestion},   {2, 3, MsgAnswer::Yes, {1, 4}, kManyQuestion},
        {3, 2, MsgAnswer::Yes, {1, 4}, kManyQuestion},     {4, 3, MsgAnswer::Yes, {1, 2}, kManyQuestion},
        {1, 1, MsgAnswer::No, {1, 2, 3, 4}, kOneQuestion}, {4, 1, MsgAnswer::Cancel, {1, 2, 3, 4}, kManyQuestion},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 to %2").arg(c.from).arg(c.to).toStdString());
        for (const QString& f : savedFiles())
            QFile::remove(saved(f));
        QStringList kept = {addMessage(9, QStringLiteral("1010"))};
        for (int n = 1; n <= 4; ++n) {
            const QString name = addMessage(n);
            if (c.kept.contains(n))
                kept << name;
        }
        boxes_.shown.clear();
        boxes_.answer = c.answer;
        selectBox(1);
        messages().setRow(c.from);
        messages().setRowSel(c.to);
        QTest::mouseClick(window().cmdDeleteMsg, Qt::LeftButton);

        EXPECT_EQ(boxes_.shown, QStringList{QStringLiteral("Quorvane Voicemail Manager|YNC|") + c.question});
        EXPECT_EQ(listed(), kept.mid(1));
        kept.sort();
        EXPECT_EQ(savedFiles(), kept);
        EXPECT_EQ(messages().col(), 4);
    }
}

TEST_F(MessageCommandsTest, DeletingEveryMessageLeavesTheNoMessagesRowWithAllMessageButtonsOff)
{
    for (int n = 1; n <= 3; ++n)
        addMessage(n);
    selectBox(1);
    messages().setRow(3);
    messages().setRowSel(1);
    window().cmdDeleteMsg_Click();

    ASSERT_EQ(messages().rows(), 2);
    EXPECT_EQ(listed(), QStringList{QString()});
    EXPECT_EQ(messages().textMatrix(1, 0) + messages().textMatrix(1, 1) + messages().textMatrix(1, 2) +
                  messages().textMatrix(1, 3), QStringLiteral("No Messages"));
    EXPECT_EQ(messages().colWidth(0), 10000);
    for (QPushButton* b : {window().cmdRecMsg, window().cmdPlayMsg, window().cmdStopPlay[1], window().cmdDeleteMsg})
        EXPECT_FALSE(b->isEnabled());
    EXPECT_TRUE(savedFiles().isEmpty());
}

TEST_F(MessageCommandsTest, AFileThatCannotBeDeletedIsReportedAndTheRestStillGo)
{
    const QString vanished = addMessage(1);
    const QString readOnly = addMessage(2);
    addMessage(3);
    const QString kept = addMessage(4);
    selectBox(1);
    QFile::remove(saved(vanished));
    QFile::setPermissions(saved(readOnly), QFile::ReadOwner);
    messages().setRow(1);
    messages().setRowSel(3);
    window().cmdDeleteMsg_Click();

    const QString failed = QStringLiteral("Quorvane Voicemail Manager|OK|") + kCouldNotDelete;
    EXPECT_EQ(boxes_.shown.mid(1), (QStringList{failed, failed}));
    EXPECT_EQ(listed(), QStringList{kept});
    EXPECT_EQ(savedFiles(), (QStringList{readOnly, kept}));
    EXPECT_TRUE(errors_.errors.isEmpty());
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
