#include "LogPlacement.h"

#include "SettingsFile.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace vm::failsafe {

namespace {

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_ctim.tv_sec == b.st_ctim.tv_sec &&
           a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

}  // namespace

std::optional<QString> readOpenToOthers(const QString& path, const std::function<void()>& read)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat before {
    }, after{};
    const bool seen = ::lstat(native.constData(), &before) == 0;
    read();
    if (!seen || ::lstat(native.constData(), &after) != 0)
        return QStringLiteral("is missing");
    // Another account able to rename files in the folder could swap its own
    // file in for the reading and put ours back; the change time tells.
    if (!sameFile(before, after))
        return QStringLiteral("was replaced while it was read");
    if (S_ISLNK(after.st_mode))
        return QStringLiteral("is a symbolic link");
    if (!S_ISREG(after.st_mode))
        return QStringLiteral("is not a regular file");
    if (after.st_uid != ::geteuid())
        return QStringLiteral("belongs to another account");
    if ((after.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return QStringLiteral("can be written by group or others");
    return std::nullopt;
}

LogPlace placeLog(const QString& name, const QString& appFolder, const std::optional<QString>& settingsOpen)
{
    QString given = name;
    given.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const bool absolute = given.startsWith(QLatin1Char('/'));
    const QString folder = QDir::cleanPath(appFolder);
    const QString path = QDir::cleanPath(absolute ? given : folder + QLatin1Char('/') + given);
    const QString inFolder = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    if (!absolute && (path == folder || path.startsWith(inFolder)))
        return {path, {}};
    if (!settingsOpen)
        return {path, {}};
    return {{},
            (absolute ? QStringLiteral("it is an absolute path and ")
                      : QStringLiteral("it leaves the application folder and ")) +
                kSettingsFileName + QLatin1Char(' ') + *settingsOpen};
}

}  // namespace vm::failsafe
