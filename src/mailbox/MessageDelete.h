#pragma once
// Deleting a message: one rule for every door (the window's delete, the find
// window's, vmbox's purge and message delete). A message file marked
// read-only (its owner may not write it) is kept, as the system that shares
// the message folder keeps read-only files; the name itself is judged and
// removed, so a link there goes, never what it points to. A delete the
// operator asks for goes to the desktop's trash, from where it can be
// restored; where no trash takes the file it is deleted for good, and the
// caller says so.

#include <QString>

#include <optional>

#include <sys/types.h>

namespace vm::mailbox {

enum class Removal { ToTrash, ForGood };

struct Removed {
    bool trashed = false;
    QString whyNotTrashed;  // asked for the trash but deleted for good: the reason
};

// Removes the name `path` (a message or a greeting) as `how` says; where the
// trash cannot take it, for good. A folder raises 75, a missing name 53.
Removed removeFile(const QString& path, Removal how);

// Why the message at `path` is kept rather than deleted ("marked
// read-only"); nothing when it may go. Raises when its name cannot be
// looked at.
std::optional<QString> whyKept(const QString& path);
// The same for a name whose status (lstat) is known: of `mode`.
std::optional<QString> whyKept(mode_t mode);

// Deletes the message at `path` by the rule above. A name outside the
// message folder (or a hidden one in it) and a message that must be kept
// raise MessageRefusal naming the file and why; other failures raise their
// run-time error.
Removed deleteMessage(const QString& path, Removal how);

}  // namespace vm::mailbox
