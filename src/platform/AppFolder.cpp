#include "AppFolder.h"

#include "FileSystem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>

namespace vm::platform {

namespace {
QString& folderStore()
{
    static QString folder;
    return folder;
}
QString withoutTrailingSeparator(QString folder)
{
    while (folder.size() > 1 && (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QDir::separator())))
        folder.chop(1);
    return folder;
}
}  // namespace

QString appFolder()
{
    QString& folder = folderStore();
    if (folder.isEmpty())
        folder = withoutTrailingSeparator(QFileInfo(executablePath()).absolutePath());
    return folder;
}

void setAppFolder(const QString& folder)
{
    folderStore() = withoutTrailingSeparator(QDir::toNativeSeparators(QDir::cleanPath(QDir(folder).absolutePath())));
}

bool isApplicationFolder(const QString& folder)
{
    const QDir dir(folder);
    struct stat ini {};
    return (::stat(nativeName(dir.filePath(QStringLiteral("QV.INI"))).constData(), &ini) == 0 &&
            S_ISREG(ini.st_mode)) ||
           isFolder(dir.filePath(QStringLiteral("data")));
}

QString appPath(const QString& relative)
{
    QString rel = relative;
    rel.replace(QLatin1Char('/'), QDir::separator());
    if (!rel.startsWith(QDir::separator()))
        rel.prepend(QDir::separator());
    return appFolder() + rel;
}

QString executablePath()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

Replaceable<QString>& executableNameSource()
{
    static Replaceable<QString> name(QFileInfo(executablePath()).completeBaseName());
    return name;
}

QString executableName() { return executableNameSource().get(); }

}  // namespace vm::platform
