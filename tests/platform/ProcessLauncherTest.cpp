// Starting programs detached: the run-time errors of programs that cannot be
// started, and real starts of a stand-in recorder that notes its arguments.
#include "platform/ProcessLauncher.h"
#include "platform/RuntimeError.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

// A folder with a stand-in recorder, rec.sh, that writes each argument on a
// line of args.txt.
struct RecorderFolder {
    RecorderFolder()
    {
        write(QStringLiteral("rec.sh"), "#!/bin/sh\ncd \"$(dirname \"$0\")\" && printf '%s\\n' \"$@\" > a.tmp && mv a.tmp args.txt\n",
              QFile::ExeOwner);
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    void write(const QString& name, const QByteArray& content, QFile::Permissions extra = {}) const
    {
        QFile f(path(name));
        f.open(QIODevice::WriteOnly);
        f.write(content);
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | extra);
    }
    QStringList awaitArguments() const
    {
        QFile f(path(QStringLiteral("args.txt")));
        for (QDeadlineTimer deadline(10000); !f.exists() && !deadline.hasExpired();)
            QThread::msleep(10);
        f.open(QIODevice::ReadOnly);
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    QTemporaryDir dir;
};

int errorStarting(const QString& commandLine)
{
    try {
        vm::process::startCommandLine(commandLine);
    } catch (const vm::RuntimeError& e) {
        return e.number();
    }
    return 0;
}

}  // namespace

TEST(ProcessLauncher, ProgramsThatCannotBeStartedRaiseTheirErrors)
{
    RecorderFolder dir;
    dir.write(QStringLiteral("garbage"), "\x7f" "ELF?", QFile::ExeOwner);
    const struct {
        QString line;
        int error;
    } cases[] = {
        {QStringLiteral(" \t "), vm::err::InvalidProcedureCall},
        {QStringLiteral("vm-no-such-recorder x"), vm::err::FileNotFound},  // looked up on PATH
        {dir.path(QStringLiteral("My\\ Tools/rec.sh")), vm::err::FileNotFound},  // no escapes: two words
        {dir.path(QString()), vm::err::PermissionDenied},  // a folder
        {dir.path(QStringLiteral("garbage")), vm::err::InvalidProcedureCall},
    };
    for (const auto& c : cases)
        EXPECT_EQ(errorStarting(c.line), c.error) << c.line.toStdString();
}

TEST(ProcessLauncher, PassesEveryWordLiterallyWithoutAShell)
{
    RecorderFolder dir;
    const QString trap = dir.path(QStringLiteral("shell-ran"));
    vm::process::startCommandLine(dir.path(QStringLiteral("rec.sh")) + QStringLiteral(" \t /data/My Box/1.wav ;touch ") +
                                  trap + QStringLiteral(" $(touch ") + trap + QStringLiteral(") *"));

    EXPECT_EQ(dir.awaitArguments(),
              (QStringList{"/data/My", "Box/1.wav", ";touch", trap, "$(touch", trap + ")", "*"}));
    EXPECT_FALSE(QFile::exists(trap));
}

TEST(ProcessLauncher, FindsABareProgramNameOnPath)
{
    RecorderFolder dir;
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(dir.dir.path()) + ":" + oldPath);
    vm::process::startCommandLine(QStringLiteral("rec.sh one"));
    qputenv("PATH", oldPath);

    EXPECT_EQ(dir.awaitArguments(), QStringList{"one"});
}
