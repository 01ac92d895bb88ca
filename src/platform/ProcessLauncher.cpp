#include "ProcessLauncher.h"

#include "RuntimeError.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

namespace vm::platform {

namespace {

// Classifies one candidate file: 0 when it can be run, otherwise the error
// it would give.
int startability(const QFileInfo& file)
{
    if (!file.exists())
        return err::FileNotFound;
    if (file.isDir() || !file.isExecutable())
        return err::PermissionDenied;
    return 0;
}

QString searchPath(const QString& program)
{
    int failure = err::FileNotFound;
    const QStringList folders = qEnvironmentVariable("PATH").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& folder : folders) {
        const QFileInfo candidate(QDir(folder), program);
        const int result = startability(candidate);
        if (result == 0)
            return candidate.absoluteFilePath();
        if (result == err::PermissionDenied)
            failure = result;  // a later folder may still hold a runnable one
    }
    raiseError(failure);
}

}  // namespace

QStringList splitCommandLine(const QString& commandLine)
{
    static const QRegularExpression separators(QStringLiteral("[ \\t]+"));
    return commandLine.split(separators, Qt::SkipEmptyParts);
}

QString resolveProgram(const QString& program)
{
    if (program.isEmpty())
        raiseError(err::InvalidProcedureCall);
    if (!program.contains(QLatin1Char('/')))
        return searchPath(program);
    const QFileInfo file(program);
    if (const int result = startability(file))
        raiseError(result);
    return file.absoluteFilePath();
}

void SystemProcessLauncher::startDetached(const QStringList& words)
{
    if (words.isEmpty())
        raiseError(err::InvalidProcedureCall);
    const QString program = resolveProgram(words.front());
    if (!QProcess::startDetached(program, words.mid(1)))
        raiseError(err::InvalidProcedureCall);
}

Replaceable<ProcessLauncher*>& processLauncher()
{
    static SystemProcessLauncher system;
    static Replaceable<ProcessLauncher*> inForce(&system);
    return inForce;
}

void startProgram(const QStringList& words) { processLauncher().get()->startDetached(words); }

}  // namespace vm::platform
