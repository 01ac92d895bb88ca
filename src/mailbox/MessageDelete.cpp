#include "MessageDelete.h"

#include "MessageRefusal.h"

#include "config/Paths.h"
#include "platform/FileSystem.h"
#include "platform/NativeName.h"
#include "platform/RuntimeError.h"
#include "platform/Trash.h"

#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>

#include <cerrno>

namespace vm::mailbox {

namespace {

// The status of the name itself, a link not followed.
struct stat statusAtName(const QString& path)
{
    struct stat st {};
    if (::lstat(platform::nativeName(path).constData(), &st) != 0)
        platform::raiseForErrno(errno, path);
    return st;
}

// A folder as the system finds it, links on the way resolved.
QString realFolder(const QString& folder)
{
    const QString real = platform::realPath(folder);
    return real.isEmpty() ? QDir::cleanPath(folder) : real;
}

}  // namespace

Removed removeFile(const QString& path, Removal how)
{
    if (S_ISDIR(statusAtName(path).st_mode))
        platform::raiseError(platform::err::PathFileAccessError);
    Removed removed;
    if (how == Removal::ToTrash) {
        const platform::TrashOutcome outcome = platform::moveToTrash(path);
        if (!outcome.trashed.isEmpty()) {
            removed.trashed = true;
            return removed;
        }
        removed.whyNotTrashed = outcome.why;
    }
    platform::deleteFile(path);
    return removed;
}

std::optional<QString> whyKept(const QString& path) { return whyKept(statusAtName(path).st_mode); }

std::optional<QString> whyKept(mode_t mode)
{
    // Checked here since the folder's owner could unlink the file anyway.
    if (S_ISREG(mode) && !(mode & S_IWUSR))
        return QStringLiteral("marked read-only");
    return std::nullopt;
}

Removed deleteMessage(const QString& path, Removal how)
{
    const QFileInfo file(path);
    if (realFolder(file.absolutePath()) != realFolder(config::messageFolder()) || file.fileName().startsWith(u'.'))
        throw MessageRefusal(QStringLiteral("%1: not a message: messages are the files in %2")
                                 .arg(file.absoluteFilePath(), config::messageFolder()));
    if (const std::optional<QString> why = whyKept(path))
        throw MessageRefusal(QStringLiteral("%1: the message is %2; it is kept").arg(path, *why));
    return removeFile(path, how);
}

}  // namespace vm::mailbox
