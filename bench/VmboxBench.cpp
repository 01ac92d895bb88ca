// vmbox at the largest table the program allows (32,767 boxes): importing a
// CSV file into an empty folder and exporting a loaded table (both
// in-process, as the command runs them), and `vmbox list` as a whole process.
#include "SampleBox.h"

#include "mailbox/MailboxListFile.h"
#include "vmbox/BoxListing.h"
#include "vmbox/Vmbox.h"

#include "mailbox/FolderLoad.h"
#include "platform/FileSystem.h"

#include <QBuffer>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

vm::mailbox::MailboxTable sampleTable(int count)
{
    vm::mailbox::MailboxTable t;
    t.resetToElementZero();
    for (int n = 0; n < count; ++n)
        t.append(vm::bench::realisticBox(n));
    return t;
}

class Folder {
public:
    Folder() { QDir(dir_.path()).mkpath(QStringLiteral("data/VmWelc")); }
    QString path() const { return dir_.path(); }
    QString file(const QString& relative) const { return dir_.path() + QLatin1Char('/') + relative; }

private:
    QTemporaryDir dir_;
};

int runQuietly(const QStringList& args)
{
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    return vm::vmbox::runVmbox(args, out, err);
}

void BM_ImportCsv(benchmark::State& state)
{
    Folder folder;
    const QString csv = folder.file(QStringLiteral("boxes.csv"));
    vm::platform::replaceFileAtomically(csv, vm::vmbox::boxesAsCsv(sampleTable(static_cast<int>(state.range(0)))));
    const QString list = folder.file(QStringLiteral("data/VmBoxList.xml"));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(list);
        state.ResumeTiming();
        if (runQuietly({QStringLiteral("--app-folder"), folder.path(), QStringLiteral("import"), csv}) != 0)
            state.SkipWithError("import failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * vm::platform::fileSize(csv));
}
BENCHMARK(BM_ImportCsv)->Arg(32767)->Unit(benchmark::kMillisecond);

// The export of a loaded table: CSV text, encoding, the file replaced.
void BM_ExportCsv(benchmark::State& state)
{
    Folder folder;
    const vm::mailbox::MailboxTable table = sampleTable(static_cast<int>(state.range(0)));
    const QString csv = folder.file(QStringLiteral("boxes.csv"));
    for (auto _ : state)
        vm::platform::replaceFileAtomically(csv, vm::vmbox::boxesAsCsv(table));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * vm::platform::fileSize(csv));
}
BENCHMARK(BM_ExportCsv)->Arg(32767)->Unit(benchmark::kMillisecond);

// The whole export command: the start-up load of the list file, then the above.
void BM_ExportCommand(benchmark::State& state)
{
    Folder folder;
    vm::platform::replaceFileAtomically(folder.file(QStringLiteral("data/VmBoxList.xml")),
                                        vm::mailbox::mailboxListBytes(sampleTable(static_cast<int>(state.range(0)))));
    const QString csv = folder.file(QStringLiteral("boxes.csv"));
    for (auto _ : state)
        if (runQuietly({QStringLiteral("--app-folder"), folder.path(), QStringLiteral("export"), csv}) != 0)
            state.SkipWithError("export failed");
}
BENCHMARK(BM_ExportCommand)->Arg(32767)->Unit(benchmark::kMillisecond);

// `vmbox list` from process start to exit, its table read by a pipe.
void BM_ListProcess(benchmark::State& state)
{
    Folder folder;
    vm::platform::replaceFileAtomically(folder.file(QStringLiteral("data/VmBoxList.xml")),
                                        vm::mailbox::mailboxListBytes(sampleTable(static_cast<int>(state.range(0)))));
    for (auto _ : state) {
        QProcess p;
        p.start(QStringLiteral(VMBOX_PATH), {QStringLiteral("--app-folder"), folder.path(), QStringLiteral("list")});
        if (!p.waitForFinished(30000) || p.exitCode() != 0)
            state.SkipWithError("list failed");
        benchmark::DoNotOptimize(p.readAllStandardOutput());
    }
}
BENCHMARK(BM_ListProcess)->Arg(32767)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
