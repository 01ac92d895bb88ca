#pragma once
// A stand-in recorder program for tests that start one.

#include <QDeadlineTimer>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

namespace vm::test {

// A folder with a stand-in recorder, rec.sh, that writes each argument on a line of args.txt.
struct RecorderFolder {
    RecorderFolder()
    {
        write("rec.sh", "#!/bin/sh\ncd \"$(dirname \"$0\")\" && printf '%s\\n' \"$@\" > a.tmp && mv a.tmp args.txt\n");
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    void write(const QString& name, const QByteArray& content) const
    {
        QFile f(path(name));
        f.open(QIODevice::WriteOnly);
        f.write(content);
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QStringList awaitArguments() const
    {
        QFile f(path("args.txt"));
        for (QDeadlineTimer deadline(10000); !f.exists() && !deadline.hasExpired();)
            QThread::msleep(10);
        f.open(QIODevice::ReadOnly);
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    // Forgets the arguments of an earlier run.
    void forget() const { QFile::remove(path("args.txt")); }
    QTemporaryDir dir;
};

}  // namespace vm::test
