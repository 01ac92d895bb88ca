#pragma once
// A command's hold on the application folder: the mailbox table loaded the
// way the window's start-up loads it (legacy list included), with every
// file removal of that load held back. A command that changes boxes locks
// the folder first and ends with save(), which writes the list file the way
// the window's close does and only then removes the held-back files; a
// command that fails before save() leaves every file as it was.

#include "mailbox/FolderLoad.h"
#include "mailbox/MailboxTable.h"
#include "platform/FolderLock.h"

#include <QStringList>

#include <chrono>
#include <memory>

namespace vm::vmbox {

class MailboxFolder {
public:
    enum class Purpose { Reading, Changing };

    // Loads the application folder; for Changing, takes its lock first,
    // trying for up to `wait`. Raises CommandFailure when the lock is held
    // by another manager, or when the load could not take everything from
    // the list files (a line for each problem: file, what, line and offset).
    MailboxFolder(Purpose purpose, std::chrono::milliseconds wait = std::chrono::milliseconds(0));

    mailbox::MailboxTable& table() { return table_; }

    // Writes the table to the list file (sorted; a table without entries
    // never replaces the file), then removes what the load held back.
    // Raises CommandFailure when the list cannot be written; nothing is
    // removed then.
    void save();

private:
    std::unique_ptr<platform::FolderLock> lock_;
    mailbox::MailboxTable table_;
    mailbox::FolderLoad load_;
};

// "path: description (error n)" for a run-time error met on `path`; no path
// added where the description begins with one (this one, or the file that
// really failed).
QString fileFailure(const QString& path, int number, const QString& description);

}  // namespace vm::vmbox
