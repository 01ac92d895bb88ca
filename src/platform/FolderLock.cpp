#include "FolderLock.h"

#include <QDir>

namespace vm {

QString FolderLock::fileName() { return QStringLiteral(".VoicemailManager.lock"); }

FolderLock::FolderLock(const QString& folder)
    : folder_(QDir::toNativeSeparators(folder)), lock_(QDir(folder).filePath(fileName()))
{
    // Age alone never makes a lock stale: a window may stay open for days.
    lock_.setStaleLockTime(0);
}

bool FolderLock::tryLock(std::chrono::milliseconds wait) { return lock_.tryLock(static_cast<int>(wait.count())); }

QString FolderLock::refusal() const
{
    switch (lock_.error()) {
        case QLockFile::LockFailedError: {
            qint64 pid = 0;
            QString host;
            QString program;
            if (!lock_.getLockInfo(&pid, &host, &program))
                return QStringLiteral("The application folder %1 is in use by another program.").arg(folder_);
            return QStringLiteral("The application folder %1 is in use by %2 (process %3 on host %4).")
                .arg(folder_, program.isEmpty() ? QStringLiteral("another program") : program)
                .arg(pid)
                .arg(host);
        }
        case QLockFile::PermissionError:
            return QStringLiteral("The application folder %1 cannot be locked: no permission to create %2 in it.")
                .arg(folder_, fileName());
        default:
            return QStringLiteral("The application folder %1 cannot be locked: %2 could not be created.")
                .arg(folder_, fileName());
    }
}

}  // namespace vm
