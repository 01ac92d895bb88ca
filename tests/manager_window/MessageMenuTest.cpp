// The message list's context menu, driven by its actions' names: what each
// command leaves in the message folder and in the list, and that Play and
// Delete from the menu are the buttons' commands, traces and all.
#include "WindowTestSupport.h"

#include "manager_window/DialogService.h"

#include <QAction>
#include <QDir>
#include <QMenu>

#include <algorithm>
#include <functional>

using namespace vm::test;
using vm::manager_window::MsgAnswer;

namespace {

const QDateTime kTime(QDate(2025, 12, 4), QTime(15, 30, 12));
const QString kOld = QStringLiteral("101_1204153012_0_3_555.wav");
const QString kNew = QStringLiteral("101_1204153013_1_3_556.wav");
const QString kOther = QStringLiteral("102_1204153012_1_3_557.wav");

struct ScriptedPrompts final : vm::manager_window::DialogService {
    std::optional<QString> saveFileName(QWidget*, const QString&, const QString&) override { return next(); }
    std::optional<QString> askText(QWidget*, const QString&, const QString&) override { return next(); }
    std::optional<QString> editText(QWidget*, const QString&, const QString&, const QString&) override
    {
        return next();
    }
    std::optional<QString> next() { return answers.empty() ? std::nullopt : std::optional(answers.takeFirst()); }
    QStringList answers;
};

class MessageMenu : public WindowTest {
protected:
    MessageMenu()
    {
        overrides.replace(vm::manager_window::dialogService(), &prompts);
        overrides.replace(vm::failsafe::errorDialog(), &errors);
        overrides.replace(vm::platform::soundPlayer(), &player);
        folder.write("data/VmBoxList.xml", mailboxFile({mailboxLine("101", "1"), mailboxLine("102", "2")}));
    }
    ~MessageMenu() override { win.reset(); }

    // Box 101 listed afresh with its two messages, rows `from` to `to` selected.
    void start(int from, int to)
    {
        win.reset();
        QDir(folder.file("data/VmSave")).removeRecursively();
        QFile::remove(folder.file("copy.wav"));
        for (const QString& name : {kOld, kNew, kOther}) {
            folder.write("data/VmSave/" + name, wave("sound"));  // makes the folder
            QFile f(folder.file("data/VmSave/" + name));
            ASSERT_TRUE(f.open(QIODevice::Append) && f.setFileTime(kTime, QFileDevice::FileModificationTime));
        }
        load();
        boxList()->setRow(1);
        win->gridVmbList_SelChange();
        messageList()->setRow(from);
        messageList()->setRowSel(to);
    }
    QAction* item(const char* name) const { return ui<QMenu>("mnuMsgList")->findChild<QAction*>(name); }
    // The saved copy and the messages, each marked when its bytes or time
    // are not the messages'.
    QStringList files() const
    {
        QStringList list;
        for (const auto& [name, bytes] : folder.contents()) {
            if (!name.startsWith("data/VmSave/") && !name.startsWith("copy"))
                continue;
            list << name.section('/', -1) + (bytes == wave("sound") ? "" : " bytes") +
                        (QFileInfo(folder.file(name)).lastModified() == kTime ? "" : " touched");
        }
        return list;
    }

    ScriptedPrompts prompts;
    ErrorsSeen errors;
    QStringList played;
    RecordingPlayer player{&played};
};

TEST_F(MessageMenu, TheKeysOpenTheMenuOnTheSelectionAndEachCommandShowsItsResultAtOnce)
{
    start(2, 1);
    win->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(win.get()));
    messageList()->setFocus();
    QTest::keyClick(messageList(), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(ui<QMenu>("mnuMsgList")->isVisible());
    EXPECT_FALSE(item("mnuMsgSaveCopy")->isEnabled()) << "one file dialog names one file";
    EXPECT_TRUE(item("mnuMsgMarkNew")->isEnabled());
    ui<QMenu>("mnuMsgList")->close();

    const QString copy = folder.file("copy.wav");
    const QString inFolder = folder.file("data/VmSave/101_1204153014_1_3_9.wav");
    const QString replace = "YNC|" + copy + " exists already.\r\nReplace it with a copy of the message?";
    const auto existingCopy = [&] { folder.write("copy.wav", "kept"); };
    const struct {
        const char* command;
        int from, to;
        QStringList prompts;
        MsgAnswer answer;
        std::function<void()> before;
        QStringList files;  // copy.wav, then the message folder
        QString listed;     // the list's file names, the selected rows marked *
        QString shown;      // message boxes
    } cases[] = {
        // clang-format off
        {"mnuMsgCopyToBox", 1, 2, {" 102 "}, MsgAnswer::Ok, {}, {kOld, kNew, "102_1204153012_1_3_555.wav", kOther, "102_1204153013_1_3_556.wav"}, "*" + kOld + " *" + kNew, ""},
        {"mnuMsgCopyToBox", 2, 2, {"103"}, MsgAnswer::Ok, {}, {kOld, kNew, kOther}, kOld + " *" + kNew, "OK|" + folder.file("data/VmBoxList.xml") + ": no box 103"},
        {"mnuMsgMarkNew", 1, 2, {}, MsgAnswer::Ok, {}, {"101_1204153012_1_3_555.wav", kNew, kOther}, "*101_1204153012_1_3_555.wav *" + kNew, ""},
        {"mnuMsgMarkSaved", 2, 2, {}, MsgAnswer::Ok, {}, {kOld, "101_1204153013_0_3_556.wav", kOther}, kOld + " *101_1204153013_0_3_556.wav", ""},
        {"mnuMsgSaveCopy", 1, 1, {copy}, MsgAnswer::Ok, {}, {"copy.wav", kOld, kNew, kOther}, "*" + kOld + " " + kNew, ""},
        {"mnuMsgSaveCopy", 1, 1, {copy}, MsgAnswer::Yes, existingCopy, {"copy.wav", kOld, kNew, kOther}, "*" + kOld + " " + kNew, replace},
        {"mnuMsgSaveCopy", 1, 1, {copy}, MsgAnswer::No, existingCopy, {"copy.wav bytes touched", kOld, kNew, kOther}, "*" + kOld + " " + kNew, replace},
        {"mnuMsgSaveCopy", 1, 1, {inFolder}, MsgAnswer::Ok, {}, {kOld, kNew, kOther}, "*" + kOld + " " + kNew, "OK|" + inFolder + ": a copy is saved outside the message folder; Copy to box makes one for a box"},
        {"mnuMsgDelete", 1, 2, {}, MsgAnswer::Yes, {}, {kOther}, "No Messages", "YNC|Are you sure you want to delete these messages ?"},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command + (" " + c.prompts.join(' ')).toStdString());
        start(c.from, c.to);
        if (c.before)
            c.before();
        prompts.answers = c.prompts;
        boxes.shown.clear();
        boxes.answers = {c.answer};
        item(c.command)->trigger();

        QStringList listed;
        const auto [first, last] = std::minmax({messageList()->row(), messageList()->rowSel()});
        for (int r = 1; r < messageList()->rows(); ++r) {
            const QString name = win->messages().fileNameAt(r);
            listed << (name.isEmpty() ? messageList()->textMatrix(r, 0) : (r >= first && r <= last ? "*" : "") + name);
        }
        EXPECT_EQ(files().join('\n').toStdString(), c.files.join('\n').toStdString());
        EXPECT_EQ(listed.join(' ').toStdString(), c.listed.toStdString());
        EXPECT_EQ(shownBoxes().join('\n').section('|', 1).toStdString(), c.shown.toStdString());
        EXPECT_TRUE(prompts.answers.isEmpty());
    }
    EXPECT_TRUE(errors.errors.isEmpty());
}

// The menu's Play and Delete are the buttons' commands, traced as when the
// buttons are clicked; each new command is traced under its own name.
TEST_F(MessageMenu, PlayAndDeleteTraceAsTheButtonsDoAndTheNewCommandsUnderTheirNames)
{
    traceToFile();
    start(1, 2);
    boxes.answers = {MsgAnswer::No, MsgAnswer::No};
    const QStringList buttons = traced([&] {
        QTest::mouseClick(ui<QPushButton>("cmdPlayMsg"), Qt::LeftButton);
        QTest::mouseClick(ui<QPushButton>("cmdDeleteMsg"), Qt::LeftButton);
    });
    const QStringList menu = traced([&] {
        item("mnuMsgPlay")->trigger();
        item("mnuMsgDelete")->trigger();
    });
    EXPECT_EQ(menu.join('\n').toStdString(), buttons.join('\n').toStdString());
    EXPECT_EQ(played.size(), 2);

    const QStringList marked = traced([&] {
        item("mnuMsgMarkNew")->trigger();
        item("mnuMsgMarkSaved")->trigger();
    });
    vm::failsafe::resetState();
    EXPECT_EQ(buttons.size(), 4);
    EXPECT_EQ(marked.filter("mnuMsg").join('\n').toStdString(),
              "->frmVmailCfg.frm : Sub mnuMsgMarkNew_Click : ()\n<-frmVmailCfg.frm : Sub mnuMsgMarkNew_Click : ()\n"
              "->frmVmailCfg.frm : Sub mnuMsgMarkSaved_Click : ()\n<-frmVmailCfg.frm : Sub mnuMsgMarkSaved_Click : ()");
}

}  // namespace
