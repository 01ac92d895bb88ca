#pragma once
// Progress of work that takes longer than about a second, shown on one line
// of standard error when that is a terminal (never in a pipe or a file) and
// not silenced with --quiet: "vmbox: listing messages… 3 s", or "… 1200 of
// 5000" where the work counts its steps. A watcher thread draws the line
// while the work goes on; the line is taken away when the work ends, before
// anything else is written to standard error.

#include "platform/Replaceable.h"

#include <QIODevice>
#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace vm::vmbox {

// Whether standard error is a terminal (isatty(2)); tests pretend one.
platform::Replaceable<std::function<bool()>>& errorIsTerminal();

// How long work runs before its progress is shown.
platform::Replaceable<std::chrono::milliseconds>& progressDelay();

class Progress {
public:
    Progress(QIODevice& err, bool quiet, QString what);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // `done` of `total` steps (total 0: the steps are not known).
    void count(qint64 done, qint64 total);

    // The work is over: the line goes before the command prints its result.
    void finish();

private:
    void watch();
    void draw();

    QIODevice& err_;
    const QString what_;
    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::atomic<qint64> done_{0};
    std::atomic<qint64> total_{0};
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    bool shown_ = false;
    std::thread watcher_;
};

}  // namespace vm::vmbox
