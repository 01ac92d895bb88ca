#include "Progress.h"

#include <unistd.h>

namespace vm::vmbox {

namespace {

constexpr std::chrono::milliseconds kRedrawEvery{250};

}  // namespace

platform::Replaceable<std::function<bool()>>& errorIsTerminal()
{
    static platform::Replaceable<std::function<bool()>> check([] { return ::isatty(STDERR_FILENO) == 1; });
    return check;
}

platform::Replaceable<std::chrono::milliseconds>& progressDelay()
{
    static platform::Replaceable<std::chrono::milliseconds> delay(std::chrono::milliseconds(1000));
    return delay;
}

Progress::Progress(QIODevice& err, bool quiet, QString what) : err_(err), what_(std::move(what))
{
    if (!quiet && (*errorIsTerminal())())
        watcher_ = std::thread([this] { watch(); });
}

Progress::~Progress() { finish(); }

void Progress::finish()
{
    if (!watcher_.joinable())
        return;
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    watcher_.join();
    // Work that took its time shows its progress at least once, however
    // the watcher was scheduled.
    if (!shown_ && std::chrono::steady_clock::now() - start_ >= *progressDelay())
        draw();
    if (shown_)
        err_.write("\r\033[K");
    shown_ = false;
}

void Progress::count(qint64 done, qint64 total)
{
    done_ = done;
    total_ = total;
}

void Progress::watch()
{
    std::unique_lock lock(mutex_);
    if (wake_.wait_for(lock, *progressDelay(), [this] { return stopping_; }))
        return;
    do
        draw();
    while (!wake_.wait_for(lock, kRedrawEvery, [this] { return stopping_; }));
}

void Progress::draw()
{
    const qint64 total = total_;
    const QString state =
        total > 0
            ? QStringLiteral("%1 of %2").arg(done_.load()).arg(total)
            : QStringLiteral("%1 s").arg(
                  std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start_).count());
    err_.write(QStringLiteral("\r\033[Kvmbox: %1… %2").arg(what_, state).toUtf8());
    shown_ = true;
}

}  // namespace vm::vmbox
