// Playback, recording and deletion of messages and greetings: the sound
// buttons of the first tab.
//
// Playing is handed to the platform sound player (asynchronous: a new sound
// cuts off the one playing, so "stop" plays a very short sound), recording to
// the external recorder program named by RecEditor, which is started on a
// fresh copy of the recording template and not waited for.
#include "ManagerWindow.h"
#include "WindowControls.h"

#include "MessageActions.h"
#include "MessageBoxService.h"
#include "widgets/FlexGrid.h"

#include "config/Paths.h"
#include "failsafe/Traced.h"
#include "mailbox/MessageFileName.h"
#include "mailbox/NewMessageFile.h"
#include "platform/FileSystem.h"
#include "platform/FileTrust.h"
#include "platform/ProcessLauncher.h"
#include "platform/RuntimeError.h"
#include "platform/SoundPlayer.h"

#include <QFileInfo>

#include <unistd.h>

#include <optional>

#include <utility>

namespace vm::manager_window {

using vm::failsafe::argumentList;
using vm::failsafe::eventArg;
using vm::failsafe::noArguments;
using vm::failsafe::runTraced;

namespace {

const QString kNoMessages = QStringLiteral("No Messages");
constexpr int kNoMessagesColWidthTwips = 10000;

// The recorder, started on `path` and not waited for: the words of the
// RecEditor setting, then the path as one more word, blanks and all.
void startRecorder(const QString& recEditor, const QString& path)
{
    vm::platform::startProgram(vm::platform::splitCommandLine(recEditor) << path);
}

// Run as root, the window starts only a recorder no other account could have
// chosen: whoever may write the settings file that names it, or the program
// file itself, would otherwise run a program of their choice as root. Any
// other account runs the recorder with no more rights than those who can
// choose it. Nothing when the recorder may start.
std::optional<QString> recorderRefusal(const QString& recEditor)
{
    if (::geteuid() != 0)
        return std::nullopt;
    if (const auto writers = vm::platform::otherWriters(vm::config::iniFile()))
        return *writers + QStringLiteral(", and QV.INI names the recorder program");
    const QStringList words = vm::platform::splitCommandLine(recEditor);
    QString program;
    // A program that cannot be found fails the start as it always has.
    if (words.isEmpty() || !vm::platform::ignoreErrors([&] { program = vm::platform::resolveProgram(words.front()); }))
        return std::nullopt;
    if (const auto writers = vm::platform::otherWriters(program))
        return *writers + QStringLiteral(", and that is the recorder program");
    return std::nullopt;
}

// Tells the operator why recording cannot start here; true when it may.
// `file`, when given, is the existing file the recorder would open.
bool mayRecord(ManagerWindow& w, const QString& recEditor, const QString& file)
{
    std::optional<QString> why = recorderRefusal(recEditor);
    if (why)
        *why = QStringLiteral(
                   "The recorder was not started: %1. Run as root, this window starts only a program "
                   "that no other account can choose.")
                   .arg(*why);
    else if (const auto refusal = file.isEmpty() ? std::nullopt : vm::platform::writeRefusal(file))
        why = QStringLiteral("Nothing can be recorded into %1: %2.").arg(file, *refusal);
    if (why)
        w.messageBoxes().show(*why, MsgButtons::OkOnly, kWindowCaption);
    return !why;
}

}  // namespace

// The box the greeting and recording commands work on: column 0 of the
// mailbox list's current row, the selected box's Id, reduced to its digits.
QString ManagerWindow::selectedBoxNumber()
{
    return Text2VmbId(ui_->gridVmbList->textMatrix(ui_->gridVmbList->row(), 0));
}

// The list cannot lose its last data row, so the last message's row becomes
// the "No Messages" row, which holds no message. Its other cells are blanked
// as well, as a box listed without messages shows it.
void ManagerWindow::turnLastMessageRowIntoNoMessagesRow()
{
    ui_->gridMsgList->setRow(1);
    for (int c = ui_->gridMsgList->cols() - 1; c >= 0; --c) {
        ui_->gridMsgList->setCol(c);
        ui_->gridMsgList->setText(c == 0 ? kNoMessages : QString());
    }
    messages_.clear();
    ui_->gridMsgList->setCellPicture(ui_->imgSndStatus.picture(4));
    ui_->gridMsgList->setRow(0);
    ui_->gridMsgList->setCol(0);
    ui_->gridMsgList->setText(QString());
    ui_->gridMsgList->setColWidth(0, kNoMessagesColWidthTwips);
    ui_->gridMsgList->setCol(kMsgListRestCol);
    // Unlike a box found empty at selection, the record button goes off too
    // until the box is selected again.
    BtnsDisableMsg();
}

void ManagerWindow::cmdPlayMsg_Click()
{
    runTraced(kModule, QStringLiteral("Sub cmdPlayMsg_Click"), noArguments,
              [this] { playMessage(*this, messages_.fileNameAt(ui_->gridMsgList->row())); });
}

void ManagerWindow::cmdRecMsg_Click()
{
    runTraced(kModule, QStringLiteral("Sub cmdRecMsg_Click"), noArguments, [this] {
        const QString id = selectedBoxNumber();
        if (!mayRecord(*this, settings_.RecEditor, QString()))
            return;
        const QByteArray recordingTemplate = vm::platform::readFile(vm::config::recordingTemplate());
        // Date and time are read one after the other, as the name's stamp always was.
        const QDate today = QDate::currentDate();
        const QDateTime now(today, QTime::currentTime());
        const QString path = vm::mailbox::createMessageFile(
            vm::config::messageFolder(),
            [&](const QDateTime& t) {
                return vm::mailbox::MsgFileNameNew(id, vm::mailbox::kOwnRecordingLine, t.date(), t.time());
            },
            now, recordingTemplate);
        startRecorder(settings_.RecEditor, path);
    });
}

void ManagerWindow::cmdplayIntro_Click()
{
    runTraced(kModule, QStringLiteral("Sub cmdplayIntro_Click"), noArguments, [this] {
        const QString id = selectedBoxNumber();
        const QString path = vm::config::greetingFile(id);
        if (!vm::platform::fileExists(path))
            messageBoxes().show(QStringLiteral("No welcome message recorded for mailbox ") + id, MsgButtons::OkOnly,
                                kAppTitle);
        else
            vm::platform::playSoundAsync(path);
    });
}

void ManagerWindow::cmdRecIntro_Click()
{
    runTraced(kModule, QStringLiteral("Sub cmdRecIntro_Click"), noArguments, [this] {
        const QString id = selectedBoxNumber();
        const QString path = vm::config::greetingFile(id);
        if (!mayRecord(*this, settings_.RecEditor, path))
            return;
        // An existing greeting is kept, so the recorder opens the current one.
        if (!vm::platform::fileExists(path))
            vm::platform::copyToNewFile(vm::config::recordingTemplate(), path);
        startRecorder(settings_.RecEditor, path);
    });
}

void ManagerWindow::cmdStopPlay_Click(std::int16_t Index)
{
    runTraced(
        kModule, QStringLiteral("Sub cmdStopPlay_Click"),
        [&] { return argumentList({eventArg(QStringLiteral("Index"), static_cast<long long>(Index))}); },
        [] { vm::platform::playSoundAsync(vm::config::stopSound()); });
}

void ManagerWindow::tellDeletedForGood(const QString& file, const QString& why)
{
    if (std::exchange(deletedForGoodTold_, true))
        return;
    messageBoxes().show(QStringLiteral("%1 could not go to the trash (%2), so it was deleted for good and cannot be "
                                       "restored. Other files deleted from now on may fare the same.")
                            .arg(file, why),
                        MsgButtons::OkOnly, kWindowCaption);
}

void ManagerWindow::cmdDeleteMsg_Click()
{
    runTraced(kModule, QStringLiteral("Sub cmdDeleteMsg_Click"), noArguments, [this] {
        vm::platform::Int16 first = ui_->gridMsgList->row();
        vm::platform::Int16 last = ui_->gridMsgList->rowSel();
        if (first > last)
            std::swap(first, last);

        if (messageBoxes().ask(deleteQuestion(first == last ? 1 : 2), MsgButtons::YesNoCancel, kWindowCaption,
                               kMessagesToTrash) != MsgAnswer::Yes)
            return;

        const vm::platform::Int16 passes = vm::platform::toInt16(last - first + 1);
        bool errorsSuppressed = false;  // from the first deletion to the end of the command
        for (int pass = 0; pass < passes; ++pass) {
            // Every pass works on row `first`: each removal moves the following rows up.
            QString path;
            const auto takeRowOut = [&] {
                ui_->gridMsgList->setRow(first);
                path = vm::config::messageFolder() + messages_.fileNameAt(first);
                if (messages_.count() > 1) {
                    ui_->gridMsgList->removeItem(first);
                    messages_.removeRow(first);
                } else {
                    turnLastMessageRowIntoNoMessagesRow();
                }
            };
            if (errorsSuppressed)
                vm::platform::ignoreErrors(takeRowOut);
            else
                takeRowOut();
            errorsSuppressed = true;
            // The row has already left the list; a file that cannot be
            // deleted reappears at the next selection of the box.
            deleteMessageFile(*this, path);
        }
        vm::platform::ignoreErrors([this] { ui_->gridMsgList->setCol(kMsgListRestCol); });
    });
}

}  // namespace vm::manager_window
