#pragma once
// Shared set-up of the fuzz targets: a core application (Qt's file and locale
// services) and a private application folder, made once per process.

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include "platform/AppFolder.h"

#include <cstddef>
#include <cstdint>

namespace vm::fuzz {

inline QTemporaryDir& fuzzFolder()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static QTemporaryDir dir;
    static const bool ready = [] {
        QDir(dir.path()).mkpath(QStringLiteral("data/VmWelc"));
        QDir(dir.path()).mkpath(QStringLiteral("data/VmSave"));
        platform::setAppFolder(dir.path());
        return true;
    }();
    (void)ready;
    return dir;
}

inline QString writeFuzzFile(const QString& relative, const std::uint8_t* data, std::size_t size)
{
    const QString path = fuzzFolder().path() + QLatin1Char('/') + relative;
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    return path;
}

inline QString latin1(const std::uint8_t* data, std::size_t size)
{
    return QString::fromLatin1(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

}  // namespace vm::fuzz
