#pragma once
// The real programs run as separate processes, on the offscreen platform
// unless the environment is changed.

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <sys/resource.h>
#include <chrono>
#include <csignal>
#include <map>
#include <thread>

namespace vm::test {

struct Outcome {
    int status = -1;  // the exit code; -2 when it crashed, -1 when it did not end
    QString out, err;
};

using Environment = std::map<QString, QString>;  // a variable with an empty value is taken out
inline const Environment kOffscreen = {{QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen")}};

// Started as a shell starts it; no file of it may grow past `maxFileSize` (0: no limit).
inline QProcess* startProgram(const QString& program, const QStringList& arguments,
                              const Environment& changes = kOffscreen, rlim_t maxFileSize = 0)
{
    auto* process = new QProcess;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : changes)
        value.isEmpty() ? env.remove(name) : env.insert(name, value);
    process->setProcessEnvironment(env);
    process->setChildProcessModifier([maxFileSize] {
        std::signal(SIGXFSZ, SIG_DFL);  // the tests may ignore it
        rlimit limit{};
        if (maxFileSize > 0 && ::getrlimit(RLIMIT_FSIZE, &limit) == 0)
            limit.rlim_cur = maxFileSize, ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    process->start(program, arguments);
    process->waitForStarted(30000);
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

inline Outcome runProgram(const QString& program, const QStringList& arguments, const Environment& changes = kOffscreen)
{
    return finishProgram(startProgram(program, arguments, changes));
}

// Polls until `condition` holds; false when `timeoutMs` passed first.
inline bool waitUntil(const auto& condition, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    return true;
}

}  // namespace vm::test
