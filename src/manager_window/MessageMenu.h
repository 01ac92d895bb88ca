#pragma once
// The menu of what can be done with messages, one for every view that shows
// them (the message list, the find window's results): each view builds it
// with the object names of its own, gives it the messages it acts on and runs
// the commands under its own traced names. A command added here appears in
// every view, which must then say what it does there.

#include <QString>

#include <functional>

class QMenu;
class QWidget;

namespace vm::manager_window {

enum class MessageCommand { Play, Listen, SaveCopy, CopyToBox, Forward, MarkNew, MarkSaved, Delete };

// The menu, its actions named `prefix` + the command ("mnuMsg" + "Play");
// each runs `run` with its command.
QMenu* buildMessageMenu(QWidget* parent, const QString& prefix, const std::function<void(MessageCommand)>& run);

// Sets the commands on or off for `selected` messages: none acts on nothing,
// one file dialog names one file, and one e-mail goes to one box's address. Other actions of the menu are left alone.
void enableMessageMenu(QMenu& menu, qsizetype selected);

}  // namespace vm::manager_window
