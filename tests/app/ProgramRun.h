#pragma once
// The real programs run as separate processes, on the offscreen platform
// unless the environment is changed.

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <map>

namespace vm::test {

struct Outcome {
    int status = -1;  // the exit code; -2 when it crashed, -1 when it did not end
    QString out, err;
};

using Environment = std::map<QString, QString>;  // a variable with an empty value is taken out

inline QProcess* startProgram(const QString& program, const QStringList& arguments,
                              const Environment& changes = {{QStringLiteral("QT_QPA_PLATFORM"), "offscreen"}})
{
    auto* process = new QProcess;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : changes)
        value.isEmpty() ? env.remove(name) : env.insert(name, value);
    process->setProcessEnvironment(env);
    process->start(program, arguments);
    return process;
}

// Waits for the process to end and deletes it.
inline Outcome finishProgram(QProcess* process)
{
    Outcome o;
    if (process->waitForFinished(60000))
        o.status = process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -2;
    else
        process->kill();
    o.out = QString::fromLocal8Bit(process->readAllStandardOutput());
    o.err = QString::fromLocal8Bit(process->readAllStandardError());
    delete process;
    return o;
}

inline Outcome runProgram(const QString& program, const QStringList& arguments,
                          const Environment& changes = {{QStringLiteral("QT_QPA_PLATFORM"), "offscreen"}})
{
    return finishProgram(startProgram(program, arguments, changes));
}

}  // namespace vm::test
