#include "MessageActions.h"

#include "BusyCursor.h"
#include "DialogService.h"
#include "ManagerWindow.h"
#include "MessageBoxService.h"

#include "config/Paths.h"
#include "mailbox/MessageDelete.h"
#include "mailbox/MessageForward.h"
#include "mailbox/MessageOperations.h"
#include "mailbox/MessageRefusal.h"
#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"
#include "platform/SoundPlayer.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

namespace vm::manager_window {

namespace {

// Runs `atExit` however the scope is left.
class OnExit {
public:
    explicit OnExit(std::function<void()> atExit) : atExit_(std::move(atExit)) {}
    ~OnExit() { atExit_(); }
    OnExit(const OnExit&) = delete;
    OnExit& operator=(const OnExit&) = delete;

private:
    std::function<void()> atExit_;
};

bool inMessageFolder(const QString& target)
{
    const QString folder = platform::realPath(QFileInfo(target).absolutePath());
    return !folder.isEmpty() && folder == platform::realPath(config::messageFolder());
}

void saveCopy(ManagerWindow& w, const QString& message, const QString& target)
{
    // A file written into the message folder is a message to the engine:
    // copies for a box go through Copy to box, which names them right.
    if (inMessageFolder(target))
        throw mailbox::MessageRefusal(
            QStringLiteral("%1: a copy is saved outside the message folder; Copy to box makes one for a box")
                .arg(target));
    if (!platform::existsAtName(target)) {
        mailbox::exportMessage(message, target);
        return;
    }
    if (const std::optional<QString> why = platform::notRegularAtName(target))
        throw mailbox::MessageRefusal(*why);
    const mailbox::CheckedMessage m = mailbox::checkedMessage(message);
    if (w.messageBoxes().show(
            QStringLiteral("%1 exists already.\r\nReplace it with a copy of the message?").arg(target),
            MsgButtons::YesNoCancel, kWindowCaption) != MsgAnswer::Yes)
        return;
    platform::replaceFileAtomically(target, m.content());
    platform::ignoreErrors([&] { platform::setLastWriteTime(target, m.time); });
}

}  // namespace

void playMessage(ManagerWindow& w, const QString& name)
{
    const QString path = config::messageFolder() + name;
    if (platform::fileExists(path))
        platform::playSoundAsync(path);
    else
        w.messageBoxes().show(QStringLiteral("Message could not be found ") + name, MsgButtons::OkOnly, kAppTitle);
}

void saveCopyOfMessage(ManagerWindow& w, QWidget* owner, const QString& name)
{
    const std::optional<QString> target = ManagerWindow::dialogs().saveFileName(owner, QStringLiteral("Save a copy as"),
                                                                                QDir::homePath() + u'/' + name);
    if (!target)
        return;
    try {
        saveCopy(w, config::messageFolder() + name, *target);
    } catch (const mailbox::MessageRefusal& refusal) {
        w.messageBoxes().show(refusal.line(), MsgButtons::OkOnly, kWindowCaption);
    }
}

std::optional<QString> askCopyTarget(QWidget* owner, qsizetype count)
{
    const std::optional<QString> answer = ManagerWindow::dialogs().askText(
        owner, kWindowCaption,
        count == 1 ? QStringLiteral("Copy the message to box number:")
                   : QStringLiteral("Copy the %1 messages to box number:").arg(count));
    const QString id = answer.value_or(QString()).trimmed();
    if (id.isEmpty())
        return std::nullopt;
    return id;
}

void actOnMessages(ManagerWindow& w, const QStringList& names, const std::function<QString(const QString&)>& operation,
                   const std::function<void(const QStringList&)>& listAgain)
{
    if (names.isEmpty())
        return;
    QStringList selectAfter;
    QStringList refusals;
    {
        const OnExit relist([&] { listAgain(selectAfter); });
        for (const QString& name : names) {
            try {
                selectAfter << QFileInfo(operation(config::messageFolder() + name)).fileName();
            } catch (const mailbox::MessageRefusal& refusal) {
                selectAfter << name;
                if (!refusals.contains(refusal.line()))
                    refusals << refusal.line();
            }
        }
    }
    if (!refusals.isEmpty())
        w.messageBoxes().show(refusals.join(QStringLiteral("\r\n")), MsgButtons::OkOnly, kWindowCaption);
}

const QString kMessagesToTrash = QStringLiteral(
    "Deleted messages go to the trash, from where they can be restored to their place.");

void forwardMessageByEmail(ManagerWindow& w, QWidget* owner, const QString& name)
{
    const std::optional<QString> address = ManagerWindow::dialogs().editText(
        owner, kWindowCaption, QStringLiteral("Forward the message by e-mail to:"),
        mailbox::forwardAddressOf(w.mailboxes(), name));
    if (!address)
        return;
    QString said;
    try {
        const BusyCursor busy;
        said = mailbox::forwardMessage(config::messageFolder() + name, *address, w.forwardSettings());
        said[0] = said[0].toUpper();
        said += u'.';
    } catch (const mailbox::MessageRefusal& refusal) {
        said = refusal.line();
    }
    w.messageBoxes().show(said, MsgButtons::OkOnly, kWindowCaption);
}

QString deleteQuestion(qsizetype count)
{
    return count == 1 ? QStringLiteral("Are you sure you want to delete this message ?")
                      : QStringLiteral("Are you sure you want to delete these messages ?");
}

void deleteMessageFile(ManagerWindow& w, const QString& path)
{
    // A message that must be kept is said as any file that stays.
    mailbox::Removed removed;
    if (!platform::ignoreErrors([&] { removed = mailbox::deleteMessage(path, mailbox::Removal::ToTrash); }))
        platform::ignoreErrors([&w] {
            w.messageBoxes().show(QStringLiteral("Could not delete voicemail message.\r\n"
                                                 "Please check that the file is not used by any other application"),
                                  MsgButtons::OkOnly, kWindowCaption);
        });
    else if (!removed.trashed)
        platform::ignoreErrors([&] { w.tellDeletedForGood(path, removed.whyNotTrashed); });
}

}  // namespace vm::manager_window
