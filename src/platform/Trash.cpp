#include "platform/Trash.h"

#include "platform/FileSystem.h"
#include "platform/NativeName.h"
#include "platform/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>

#include <cerrno>

namespace vm::platform {

namespace {

// The account's own trash, made where it is missing (the account's alone).
// Qt falls back to it for a file no other trash takes, and where it cannot
// be made Qt puts the file in a "files" folder of the current directory and
// calls that done: so no trash is asked for without it.
bool homeTrashReady()
{
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty() || !QDir().mkpath(dataHome))
        return false;
    const QString trash = dataHome + QStringLiteral("/Trash");
    for (const QString& folder : {trash, trash + QStringLiteral("/files"), trash + QStringLiteral("/info")})
        if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && errno != EEXIST)
            return false;
    return QFileInfo(trash + QStringLiteral("/files")).isDir() && QFileInfo(trash + QStringLiteral("/info")).isDir();
}

TrashOutcome moveToDesktopTrash(const QString& path)
{
    // QFile spells a name as UTF-8: a name of other bytes would reach
    // another file, or none, and the trash's note could not say it.
    if (QFile::encodeName(path) != nativeName(path))
        return {QString(), QStringLiteral("its name is no UTF-8")};
    // A folder is no file the program deletes; the trash would take it whole.
    if (const QFileInfo info(path); info.isDir() && !info.isSymLink())
        return {QString(), QStringLiteral("it is a folder")};
    if (!homeTrashReady())
        return {QString(), QStringLiteral("this account has no trash it can use")};
    QFile file(path);
    if (file.moveToTrash())
        return {file.fileName(), QString()};
    return {QString(), file.errorString().isEmpty() ? QStringLiteral("no trash takes it") : file.errorString()};
}

}  // namespace

Replaceable<TrashMove>& trashMove()
{
    static Replaceable<TrashMove> inForce(moveToDesktopTrash);
    return inForce;
}

TrashOutcome moveToTrash(const QString& path) { return trashMove().get()(path); }

void takeBackFromTrash(const QString& trashed, const QString& original)
{
    renameNoReplace(trashed, original);
    // The note lies in the trash's info folder beside its files folder.
    const QFileInfo file(trashed);
    ignoreErrors([&] {
        deleteFile(file.dir().filePath(QStringLiteral("../info/")) + file.fileName() + QStringLiteral(".trashinfo"));
    });
}

}  // namespace vm::platform
