#pragma once
// The desktop's trash (freedesktop.org): a file moved there keeps a note of
// where it came from, so that a file manager or `gio trash --restore` puts it
// back. Qt chooses the trash: $XDG_DATA_HOME/Trash for a file on the home
// folder's file system, else the trash at the top of the file's own mount
// when the account has one there; a file no trash can take stays where it is.

#include "platform/Replaceable.h"

#include <QString>

#include <functional>

namespace vm::platform {

struct TrashOutcome {
    QString trashed;  // where the file is now; empty when it stayed
    QString why;      // why it stayed
};

// Moves the name `path` itself (a link is moved, never followed) to the
// trash. Never raises.
using TrashMove = std::function<TrashOutcome(const QString& path)>;

// The move in force: the real trash unless a test has replaced it.
Replaceable<TrashMove>& trashMove();

// Moves `path` to the trash through the move in force.
TrashOutcome moveToTrash(const QString& path);

// Takes a file moved to the trash at `trashed` back to `original` and drops
// its note, for a change that could not be finished. Raises as renameFile.
void takeBackFromTrash(const QString& trashed, const QString& original);

}  // namespace vm::platform
