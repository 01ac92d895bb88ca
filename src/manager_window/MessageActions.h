#pragma once
// The message commands every view of messages shares (the message list and
// the find window's results), on the files the view names: each view runs
// them under its own traced names and then lists what the folder now holds.
// The files are names in the message folder; questions and refusals go to
// the window's message boxes and prompts.

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace vm::manager_window {

class ManagerWindow;

// Plays the message as the Play button does; a file that is gone is said in a box.
void playMessage(ManagerWindow& w, const QString& name);

// Asks `owner` where, then writes a copy of the message there. A file
// already there is replaced only when the operator says so, in one atomic
// step; the message folder, a folder, link or device there is refused.
void saveCopyOfMessage(ManagerWindow& w, QWidget* owner, const QString& name);

// The box number the operator wants `count` messages copied to; nothing
// when cancelled or left empty.
std::optional<QString> askCopyTarget(QWidget* owner, qsizetype count);

// Runs `operation` (message path in, its path afterwards out) on each of
// `names`; refusals are told together at the end. `listAgain` is given the
// resulting names (a refused message keeps its own) whatever happened, also
// after a run-time error part-way, so that what was done shows.
void actOnMessages(ManagerWindow& w, const QStringList& names, const std::function<QString(const QString&)>& operation,
                   const std::function<void(const QStringList&)>& listAgain);

// Asks `owner` for the address, the box's forwarding address offered, and
// sends the message by e-mail as the Email tab says; what happened, sent or
// not and why, is said in a box.
void forwardMessageByEmail(ManagerWindow& w, QWidget* owner, const QString& name);

// The question the delete asks before it deletes `count` messages, and the
// note below it.
QString deleteQuestion(qsizetype count);
extern const QString kMessagesToTrash;

// Deletes the message file at `path` to the trash (for good where no trash
// takes it, said once a window); a file that cannot be deleted (in use,
// marked read-only) is said in a box and left.
void deleteMessageFile(ManagerWindow& w, const QString& path);

}  // namespace vm::manager_window
