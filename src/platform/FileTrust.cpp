#include "FileTrust.h"

#include <QFile>
#include <QFileInfo>
#include "AccountName.h"
#include "FileSystem.h"

#include <sys/stat.h>
#include <unistd.h>

namespace vm::platform {

namespace {

// Who else may write `path` itself (a file, or a folder and so its entries).
std::optional<QString> writersOf(const QString& path, const QString& what)
{
    struct stat st {};
    if (::stat(nativeName(path).constData(), &st) != 0)
        return QStringLiteral("%1 %2 cannot be checked").arg(what, path);
    if (st.st_uid != 0 && st.st_uid != ::geteuid())
        return QStringLiteral("the account %1 owns %2 %3").arg(accountName(st.st_uid), what, path);
    if (st.st_mode & S_IWOTH)
        return QStringLiteral("every account may write %1 %2").arg(what, path);
    if (st.st_mode & S_IWGRP)
        return QStringLiteral("the group %1 may write %2 %3").arg(groupName(st.st_gid), what, path);
    return std::nullopt;
}

}  // namespace

std::optional<QString> otherWriters(const QString& path)
{
    const QFileInfo file(path);
    // A file that is not there can still be put there by the folder's writers.
    if (!existsAtName(path))
        return writersOf(file.absolutePath(), QStringLiteral("the folder"));
    const QString real = realPath(path);
    if (real.isEmpty())
        return QStringLiteral("the file %1 cannot be checked").arg(path);
    if (auto writers = writersOf(real, QStringLiteral("the file")))
        return writers;
    if (auto writers = writersOf(QFileInfo(real).absolutePath(), QStringLiteral("the folder")))
        return writers;
    // A link's own folder decides what the name leads to.
    return writersOf(file.absolutePath(), QStringLiteral("the folder"));
}

}  // namespace vm::platform
