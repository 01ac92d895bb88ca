// The error handler's pure work: classifying numbers, formatting an error
// log entry for a deep call stack, and composing a mail with an attachment.
#include "failsafe/CallTree.h"
#include "failsafe/ErrorCategory.h"
#include "failsafe/ErrorLog.h"

#include "platform/AnsiText.h"
#include "platform/MailSender.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace vm::failsafe;

void BM_ErrorCategory(benchmark::State& state)
{
    for (auto _ : state) {
        int sum = 0;
        for (std::int32_t n = 0; n < 41000; n += 7)
            sum += errorCategory(n);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * (41000 / 7 + 1));
}
BENCHMARK(BM_ErrorCategory);

void BM_ErrorLogEntry(benchmark::State& state)
{
    const int depth = static_cast<int>(state.range(0));
    ErrorRecord record;
    record.stackCopy[0] = QLatin1Char(' ') + QString::number(depth);
    for (int d = 1; d <= depth; ++d)
        record.stackCopy[d] = QLatin1Char(' ') + QString::number(d) + QStringLiteral(" : ") +
                              QString(d - 1, QLatin1Char('\t')) +
                              QStringLiteral("frmVmailCfg.frm : Sub gridVmbList_SelChange : ()");
    record.slot[0] = {categoryText(53),
                      QStringLiteral("frmVmailCfg.frm"),
                      QStringLiteral("Sub cmdPlayMsg_Click"),
                      0,
                      QStringLiteral("VoicemailManager (local)"),
                      53,
                      QStringLiteral("File not found")};
    CallStack stack;
    ErrorLogTexts texts;
    texts.systemInfo = QString(4000, QLatin1Char('x'));
    std::int64_t bytes = 0;
    for (auto _ : state) {
        const QByteArray entry = vm::platform::encodeAnsi(errorLogEntry(record, stack, texts));
        bytes += entry.size();
        benchmark::DoNotOptimize(entry.constData());
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_ErrorLogEntry)->Arg(5)->Arg(100)->Arg(1000);

void BM_ComposeMime(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fserror.log"));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(QByteArray(static_cast<int>(state.range(0)), 'a'));
    f.close();
    vm::platform::MailMessage m;
    m.to << QStringLiteral("ops@example.com");
    m.subject = QStringLiteral("Remote Error Report From RiVaVaz");
    m.body = QStringLiteral("Tarvik FailSafe reports error 53 (File not found) occurred in RiVaVaz.");
    m.attachments << vm::platform::MailAttachment{path, QStringLiteral("fserror.log")};
    for (auto _ : state)
        benchmark::DoNotOptimize(vm::platform::composeMime(m, "boundary").size());
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ComposeMime)->Arg(64 << 10)->Arg(1 << 20);

}  // namespace
