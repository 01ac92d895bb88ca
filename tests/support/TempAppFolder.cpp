#include "TempAppFolder.h"

#include "platform/AppFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace vm::test {

TempAppFolder::TempAppFolder()
{
    previous_ = platform::appFolder();
    QDir root(dir_.path());
    root.mkpath(QStringLiteral("data/VmSave"));
    root.mkpath(QStringLiteral("data/VmWelc"));
    root.mkpath(QStringLiteral("system"));
    platform::setAppFolder(dir_.path());
}

TempAppFolder::~TempAppFolder() { platform::setAppFolder(previous_); }

QString TempAppFolder::path() const { return QDir(dir_.path()).absolutePath(); }

QString TempAppFolder::file(const QString& relative) const { return path() + QLatin1Char('/') + relative; }

void TempAppFolder::write(const QString& relative, const QByteArray& bytes) const
{
    const QString p = file(relative);
    QDir().mkpath(QFileInfo(p).absolutePath());
    QFile f(p);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

QByteArray TempAppFolder::read(const QString& relative) const
{
    QFile f(file(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool TempAppFolder::exists(const QString& relative) const { return QFileInfo::exists(file(relative)); }

std::map<QString, QByteArray> TempAppFolder::contents() const
{
    std::map<QString, QByteArray> files;
    for (QDirIterator it(path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
        const QString relative = QDir(path()).relativeFilePath(it.next());
        files[relative] = read(relative);
    }
    return files;
}

}  // namespace vm::test
