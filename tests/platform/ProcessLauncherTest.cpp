// Starting the recorder: word splitting, program lookup, the run-time errors
// of programs that cannot be started, and a real detached start of a stand-in
// program that records the arguments it was given.
#include "platform/ProcessLauncher.h"
#include "platform/RuntimeError.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using vm::process::splitCommandLine;

namespace {

int errorOf(const std::function<void()>& step)
{
    try {
        step();
    } catch (const vm::RuntimeError& e) {
        return e.number();
    }
    return 0;
}

// A folder with a stand-in recorder that writes each argument on its own
// line to args.txt (through a rename, so a reader never sees half a file).
class StandInRecorder {
public:
    StandInRecorder()
    {
        write(QStringLiteral("rec.sh"),
              "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$(dirname \"$0\")/args.tmp\"\n"
              "mv \"$(dirname \"$0\")/args.tmp\" \"$(dirname \"$0\")/args.txt\"\n",
              true);
    }
    QString path(const QString& name) const { return dir_.filePath(name); }
    QString script() const { return path(QStringLiteral("rec.sh")); }

    void write(const QString& name, const QByteArray& content, bool executable) const
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        auto perms = QFile::ReadOwner | QFile::WriteOwner;
        if (executable)
            perms |= QFile::ExeOwner;
        f.setPermissions(perms);
    }

    // The recorded arguments, waiting for the detached process to finish.
    QStringList awaitArguments() const
    {
        QFile f(path(QStringLiteral("args.txt")));
        QDeadlineTimer deadline(10000);
        while (!f.exists() && !deadline.hasExpired())
            QThread::msleep(10);
        if (!f.open(QIODevice::ReadOnly))
            return {QStringLiteral("<no arguments recorded>")};
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

private:
    QTemporaryDir dir_;
};

}  // namespace

TEST(SplitCommandLine, SplitsAtRunsOfBlanksAndTabsOnly)
{
    struct Case {
        QString line;
        QStringList words;
    };
    const Case cases[] = {
        {QString(), {}},
        {QStringLiteral("   \t "), {}},
        {QStringLiteral("SNDREC32.EXE  /a/b.wav"), {QStringLiteral("SNDREC32.EXE"), QStringLiteral("/a/b.wav")}},
        {QStringLiteral(" rec\t-x  /my folder/1.wav "),
         {QStringLiteral("rec"), QStringLiteral("-x"), QStringLiteral("/my"), QStringLiteral("folder/1.wav")}},
        {QStringLiteral("rec \"a b\" $HOME;x"),
         {QStringLiteral("rec"), QStringLiteral("\"a"), QStringLiteral("b\""), QStringLiteral("$HOME;x")}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(splitCommandLine(c.line), c.words) << c.line.toStdString();
}

TEST(ProcessLauncher, ProgramsThatCannotBeStartedRaiseTheirErrors)
{
    StandInRecorder dir;
    dir.write(QStringLiteral("plain.txt"), "not a program", false);
    dir.write(QStringLiteral("garbage"), QByteArray("\x7f" "ELF garbage", 12), true);
    QDir().mkpath(dir.path(QStringLiteral("folder")));

    struct Case {
        const char* what;
        QString line;
        int error;
    };
    const Case cases[] = {
        {"empty", QString(), vm::err::InvalidProcedureCall},
        {"only blanks", QStringLiteral("    "), vm::err::InvalidProcedureCall},
        {"missing path", dir.path(QStringLiteral("nothing.sh")) + QStringLiteral(" x"), vm::err::FileNotFound},
        {"missing on PATH", QStringLiteral("vm-no-such-recorder-program x"), vm::err::FileNotFound},
        {"not executable", dir.path(QStringLiteral("plain.txt")), vm::err::PermissionDenied},
        {"a folder", dir.path(QStringLiteral("folder")), vm::err::PermissionDenied},
        {"not a program", dir.path(QStringLiteral("garbage")), vm::err::InvalidProcedureCall},
    };
    vm::process::SystemProcessLauncher launcher;
    for (const Case& c : cases)
        EXPECT_EQ(errorOf([&] { launcher.startDetached(c.line); }), c.error) << c.what;
}

TEST(ProcessLauncher, PassesEveryWordLiterallyWithoutAShell)
{
    StandInRecorder dir;
    const QString trap = dir.path(QStringLiteral("shell-ran"));
    const QString line = dir.script() + QStringLiteral("  -v /data/My Box/1.wav ;touch ") + trap +
                         QStringLiteral(" $(touch ") + trap + QStringLiteral(") *");

    vm::process::SystemProcessLauncher().startDetached(line);

    const QStringList expected = {QStringLiteral("-v"), QStringLiteral("/data/My"), QStringLiteral("Box/1.wav"),
                                  QStringLiteral(";touch"), trap, QStringLiteral("$(touch"), trap + QStringLiteral(")"),
                                  QStringLiteral("*")};
    EXPECT_EQ(dir.awaitArguments(), expected);
    EXPECT_FALSE(QFileInfo::exists(trap));
}

TEST(ProcessLauncher, FindsABareProgramNameOnPath)
{
    StandInRecorder dir;
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(QFileInfo(dir.script()).absolutePath()) + ":" + oldPath);

    EXPECT_EQ(vm::process::resolveProgram(QStringLiteral("rec.sh")), QFileInfo(dir.script()).absoluteFilePath());
    vm::process::startCommandLine(QStringLiteral("rec.sh one"));
    qputenv("PATH", oldPath);

    EXPECT_EQ(dir.awaitArguments(), QStringList{QStringLiteral("one")});
}

TEST(ProcessLauncher, AProgramPathWithABlankNamesNoProgram)
{
    StandInRecorder dir;
    QDir().mkpath(dir.path(QStringLiteral("My Tools")));
    QFile::copy(dir.script(), dir.path(QStringLiteral("My Tools/rec.sh")));

    EXPECT_EQ(errorOf([&] { vm::process::startCommandLine(dir.path(QStringLiteral("My Tools/rec.sh")) + " x"); }),
              vm::err::FileNotFound);
}

namespace {
class RecordingLauncher final : public vm::process::ProcessLauncher {
public:
    explicit RecordingLauncher(QStringList* log) : log_(log) {}
    void startDetached(const QString& commandLine) override { log_->append(commandLine); }

private:
    QStringList* log_;
};
}  // namespace

TEST(ProcessLauncher, AnInstalledStandInReceivesTheCommandLineUntilRemoved)
{
    QStringList log;
    auto previous = vm::process::installProcessLauncher(std::make_unique<RecordingLauncher>(&log));
    vm::process::startCommandLine(QStringLiteral("rec  /a b"));
    vm::process::installProcessLauncher(nullptr);

    EXPECT_EQ(log, QStringList{QStringLiteral("rec  /a b")});
    EXPECT_EQ(errorOf([] { vm::process::startCommandLine(QString()); }), vm::err::InvalidProcedureCall);
}
