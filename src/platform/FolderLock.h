#pragma once
// One writer per application folder. The manager window and the command-line
// companion hold this lock for as long as they may write the folder's files,
// so neither can silently overwrite what the other saved. The lock is a
// hidden file in the folder's root (never in data/, whose files the engine
// reads) that names its holder's host and process; it is gone after a normal
// exit. A lock whose holder crashed (same host, process gone) is taken over
// by any account that may write the folder, whoever made the lock and with
// whatever umask; a live holder keeps it however long it runs.

#include "platform/FileContent.h"

#include <QLockFile>
#include <QString>

#include <chrono>

namespace vm::platform {

class FolderLock {
public:
    // The lock of `folder`; nothing is taken yet.
    explicit FolderLock(const QString& folder);

    // Takes the lock, trying again until `wait` has passed; false when it is
    // held by another process or could not be made (refusal() says which).
    // The lock file is left readable to all, so that any account can tell
    // whether its holder is gone.
    // Once taken, the temporary files a killed writer left beside the shared
    // files it replaces (".VmBoxList.xml.XXXXXX" in data/, ".QV.INI.XXXXXX",
    // ".VmEmailForwardBody.txt.XXXXXX") are removed: no writer can be using
    // them now. Only such names go, only files or links (never followed).
    bool tryLock(std::chrono::milliseconds wait = std::chrono::milliseconds(0));

    // One sentence for the operator after a failed tryLock: who holds the
    // folder (program, process and host) or why the lock could not be made.
    QString refusal() const;

    // The lock file's name inside the folder.
    static QString fileName();

private:
    // Removes the lock file when its holder is gone: a process of this host
    // that no longer runs (or runs another program now), and no one holds
    // the file's own lock, which every live holder does. Qt's own takeover
    // opens the file for writing, which another account may not. True when
    // it was removed.
    bool removeStaleLock() const;

    QString folder_;
    OpenFile folderFd_;  // the folder itself, through which the lock file is named
    QLockFile lock_;
};

}  // namespace vm::platform
