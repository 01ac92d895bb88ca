#include "platform/ErrorNumberOf.h"
#include "platform/ProcessLauncher.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

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
    QTemporaryDir dir;
};

}  // namespace

TEST(ProcessLauncher, ProgramsThatCannotBeStartedRaiseTheirErrors)
{
    RecorderFolder dir;
    dir.write("garbage", "\177ELF?");
    const std::pair<QString, int> cases[] = {
        {" \t ", vm::err::InvalidProcedureCall},
        {"vm-no-such-recorder x", vm::err::FileNotFound},        // looked up on PATH
        {dir.path("My\\ Tools/rec.sh"), vm::err::FileNotFound},  // no escapes: two words
        {dir.path(QString()), vm::err::PermissionDenied},        // a folder
        {dir.path("garbage"), vm::err::InvalidProcedureCall},
    };
    for (const auto& [line, error] : cases)
        EXPECT_EQ(vm::test::errorNumberOf([&] { vm::process::startCommandLine(line); }), error) << line.toStdString();
}

TEST(ProcessLauncher, PassesEveryWordLiterallyWithoutAShell)
{
    RecorderFolder dir;
    const QString trap = dir.path("shell-ran");
    vm::process::startCommandLine(dir.path("rec.sh") + " \t /data/My Box/1.wav ;touch " + trap + " $(touch " + trap +
                                  ") *");
    EXPECT_EQ(dir.awaitArguments(), (QStringList{"/data/My", "Box/1.wav", ";touch", trap, "$(touch", trap + ")", "*"}));
    EXPECT_FALSE(QFile::exists(trap));
}

TEST(ProcessLauncher, FindsABareProgramNameOnPath)
{
    RecorderFolder dir;
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(dir.dir.path()) + ":" + oldPath);
    vm::process::startCommandLine("rec.sh one");
    qputenv("PATH", oldPath);
    EXPECT_EQ(dir.awaitArguments(), QStringList{"one"});
}
