// vmbox's message commands (listing, finding, stats, purge) over a message
// folder of 100,000 messages across 32,767 boxes (whole WAV headers, sparse
// data), in process, beside the floor of listing that folder with one
// status query per file.
#include "Floors.h"

#include "config/Paths.h"
#include "mailbox/LengthCache.h"
#include "platform/AppFolder.h"
#include "vmbox/Vmbox.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

QByteArray le32(std::uint32_t v) { return QByteArray(reinterpret_cast<const char*>(&v), 4); }

// One folder per size, made once: files of 1 to 90 seconds of 8 kHz 16-bit
// sound whose data is a hole, so the folder costs inodes rather than disk.
QString messageFolderOf(int count)
{
    static std::map<int, std::unique_ptr<QTemporaryDir>> made;
    auto& dir = made[count];
    if (!dir) {
        dir = std::make_unique<QTemporaryDir>();
        QDir(dir->path()).mkpath(QStringLiteral("data/VmSave"));
        const QByteArray save = QFile::encodeName(dir->path() + QStringLiteral("/data/VmSave/"));
        for (int m = 0; m < count; ++m) {
            const std::uint32_t data = 16000u * (1 + m % 90);
            const QByteArray header = "RIFF" + le32(36 + data) + "WAVEfmt " + le32(16) +
                                      QByteArray("\x01\x00\x01\x00", 4) + le32(8000) + le32(16000) +
                                      QByteArray("\x02\x00\x10\x00", 4) + "data" + le32(data);
            const QByteArray name = save + QByteArray::number(1 + m % 32767) + '_' +
                                    QByteArray::number(1000000000 + m) + '_' + (m % 3 == 0 ? '1' : '0') + "_1_" +
                                    QByteArray::number(5550000 + m) + ".wav";
            const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fd < 0)
                continue;
            if (::write(fd, header.constData(), static_cast<size_t>(header.size())) != header.size() ||
                ::ftruncate(fd, header.size() + data) != 0)
                std::abort();
            ::close(fd);
        }
    }
    vm::platform::setAppFolder(dir->path());
    return dir->path();
}

// Every message file listed, one status query each.
vm::bench::Cost listFloor()
{
    const QString folder = vm::config::messageFolder();
    return vm::bench::bestOf(5, [&] { return vm::bench::listBoxFiles(folder, QByteArray()); });
}

// The operator's cache folder, its own for the benchmarks' run.
void useOwnCacheFolder()
{
    static const QTemporaryDir cache;
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
}

enum class Lengths { Kept, Forgotten };

void runCommand(benchmark::State& state, const QStringList& command, Lengths lengths = Lengths::Kept)
{
    const QString folder = messageFolderOf(static_cast<int>(state.range(0)));
    useOwnCacheFolder();
    vm::bench::FloorRatio ratio(listFloor());
    const QStringList arguments = QStringList{"--app-folder", folder} + command;
    const auto run = [&](bool counted) {
        QBuffer out;
        QBuffer err;
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        int status = 0;
        const auto work = [&] { status = vm::vmbox::runVmbox(arguments, out, err); };
        counted ? ratio.measure(work) : work();
        if (status != 0)
            state.SkipWithError(err.data().constData());
    };
    if (lengths == Lengths::Kept)
        run(false);  // the first listing
    for (auto _ : state) {
        if (lengths == Lengths::Forgotten)
            QFile::remove(vm::mailbox::LengthCache::fileFor(folder));
        run(true);
    }
    ratio.report(state);
}

// A listing after the first: the lengths of unchanged files are known.
void BM_ListMessages(benchmark::State& state) { runCommand(state, {QStringLiteral("messages")}); }
BENCHMARK(BM_ListMessages)->Arg(100000)->Unit(benchmark::kMillisecond);

// The first listing: every header read, and the lengths written down.
void BM_ListMessagesFirst(benchmark::State& state)
{
    runCommand(state, {QStringLiteral("messages")}, Lengths::Forgotten);
}
BENCHMARK(BM_ListMessagesFirst)->Arg(100000)->Unit(benchmark::kMillisecond);

// Every message is older than now: the longest output a dry run can have.
void BM_PurgeDryRun(benchmark::State& state)
{
    runCommand(state, {QStringLiteral("purge"), QStringLiteral("--older-than"), QStringLiteral("0"),
                       QStringLiteral("--dry-run")});
}
BENCHMARK(BM_PurgeDryRun)->Arg(100000)->Unit(benchmark::kMillisecond);

// A search of the whole folder by caller after a first listing: the listing
// with the lengths known, the filter, the order and the few rows found.
void BM_FindMessages(benchmark::State& state)
{
    runCommand(state, {QStringLiteral("messages"), QStringLiteral("--caller"), QStringLiteral("555123")});
}
BENCHMARK(BM_FindMessages)->Arg(100000)->Unit(benchmark::kMillisecond);

// Each box's counts, length, dates and bytes, and the folder's totals.
void BM_VmboxStats(benchmark::State& state) { runCommand(state, {QStringLiteral("stats")}); }
BENCHMARK(BM_VmboxStats)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
