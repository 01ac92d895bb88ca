// The mailbox store at the largest table the program allows (32,767 boxes):
// start-up load of the list file, writing it back, and the legacy import
// followed by the merge of the list file; the loads beside the reading of
// their files' bytes, which they cannot avoid.
#include "Floors.h"
#include "SampleBox.h"

#include "config/Paths.h"
#include "mailbox/FolderLoad.h"
#include "mailbox/MailboxListFile.h"
#include "platform/AppFolder.h"
#include "platform/FileSystem.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void fillTable(vm::mailbox::MailboxTable& t, int count)
{
    t.resetToElementZero();
    for (int n = 0; n < count; ++n)
        t.store(t.append(), vm::bench::realisticBox(n));
}

QByteArray quoted(const QStringList& fields)
{
    QByteArray line;
    for (const QString& f : fields)
        line += (line.isEmpty() ? "\"" : ",\"") + f.toLatin1() + '"';
    return line + "\r\n";
}

QByteArray legacyList(int count)
{
    QByteArray text;
    for (int n = 0; n < count; ++n) {
        const vm::mailbox::VoicemailBox b = vm::bench::realisticBox(n);
        text += quoted(
            {b.Id, b.Pin, b.Groups, b.Description, b.EmailForward, b.PhoneForward, b.PagerNumber, b.PagerMessage});
    }
    return text;
}

// A throw-away application folder holding a list file for `count` boxes.
class BenchFolder {
public:
    explicit BenchFolder(int count)
    {
        QDir(dir_.path()).mkpath(QStringLiteral("data/VmWelc"));
        vm::platform::setAppFolder(dir_.path());
        fillTable(table, count);
        save();  // sorted, as the program writes it
        listSize_ = vm::platform::fileSize(vm::platform::appPath(QStringLiteral("data/VmBoxList.xml")));
    }
    std::int64_t listSize() const { return listSize_; }
    void save() { vm::mailbox::saveMailboxList(table, vm::config::mailboxList()); }

    vm::mailbox::MailboxTable table;

private:
    QTemporaryDir dir_;
    std::int64_t listSize_ = 0;
};

// Reading a list takes milliseconds: many runs give a steady best.
constexpr int kFloorRuns = 20;

QString listPath() { return vm::platform::appPath(QStringLiteral("data/VmBoxList.xml")); }
QString legacyPath() { return vm::platform::appPath(QStringLiteral("data/VmBoxList.txt")); }

vm::bench::Cost readFloor(const QString& path)
{
    vm::bench::TextFileReader reader;
    return vm::bench::bestOf(kFloorRuns, [&] { return reader.read(path); });
}

void BM_Floor_ReadListFile(benchmark::State& state)
{
    BenchFolder folder(static_cast<int>(state.range(0)));
    const QString path = listPath();
    vm::bench::TextFileReader reader;
    vm::bench::runFloor(state, [&] { return reader.read(path); });
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * folder.listSize());
}
BENCHMARK(BM_Floor_ReadListFile)->Arg(32767)->Unit(benchmark::kMillisecond);

void BM_LoadMailboxList(benchmark::State& state)
{
    BenchFolder folder(static_cast<int>(state.range(0)));
    vm::bench::FloorRatio ratio(readFloor(listPath()));
    for (auto _ : state)
        ratio.measure([&] { vm::mailbox::VmbLoadArray(folder.table); });
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * folder.listSize());
    ratio.report(state);
}
BENCHMARK(BM_LoadMailboxList)->Arg(32767)->Unit(benchmark::kMillisecond);

void BM_SaveMailboxList(benchmark::State& state)
{
    BenchFolder folder(static_cast<int>(state.range(0)));
    for (auto _ : state)
        folder.save();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * folder.listSize());
}
BENCHMARK(BM_SaveMailboxList)->Arg(32767)->Unit(benchmark::kMillisecond);

void BM_Floor_ReadLegacyFile(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    BenchFolder folder(count);
    const QByteArray legacy = legacyList(count);
    vm::platform::replaceFileAtomically(legacyPath(), legacy);
    const QString path = legacyPath();
    vm::bench::TextFileReader reader;
    vm::bench::runFloor(state, [&] { return reader.read(path); });
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * legacy.size());
}
BENCHMARK(BM_Floor_ReadLegacyFile)->Arg(32767)->Unit(benchmark::kMillisecond);

// The import reads both files: its floor is both reads.
void BM_LegacyImport(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    BenchFolder folder(count);
    const QByteArray legacy = legacyList(count);
    const QString legacyFile = legacyPath();
    vm::platform::replaceFileAtomically(legacyFile, legacy);
    vm::bench::Cost floor = readFloor(legacyFile);
    floor += readFloor(listPath());
    vm::bench::FloorRatio ratio(floor);
    for (auto _ : state) {
        state.PauseTiming();
        vm::platform::replaceFileAtomically(legacyFile, legacy);  // the load deletes it
        state.ResumeTiming();
        ratio.measure([&] { vm::mailbox::VmbLoadArray(folder.table); });
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * (legacy.size() + folder.listSize()));
    ratio.report(state);
}
BENCHMARK(BM_LegacyImport)->Arg(32767)->Unit(benchmark::kMillisecond);

}  // namespace
