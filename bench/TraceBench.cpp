// Cost of one traced call (entry plus exit), with no trace sink and with the
// circular log on (reopened after every record).
#include "failsafe/FailSafe.h"
#include "failsafe/FailSafeState.h"

#include "platform/AppFolder.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace vm::failsafe;

// A fresh module in its own application folder, with no trace monitor to find
// (a private temporary folder and no runtime folder).
class TraceSetup {
public:
    explicit TraceSetup(const QByteArray& settings)
    {
        previousTmp_ = qgetenv("TMPDIR");
        previousRuntime_ = qgetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", sockets_.path().toLocal8Bit());
        qunsetenv("XDG_RUNTIME_DIR");
        previousApp_ = vm::platform::appFolder();
        vm::platform::setAppFolder(app_.path());
        if (!settings.isEmpty()) {
            QFile f(app_.path() + QStringLiteral("/FSCLIENT.INI"));
            if (f.open(QIODevice::WriteOnly))
                f.write(settings);
        }
        resetState();
        fsSTART();
    }
    ~TraceSetup()
    {
        resetState();
        vm::platform::setAppFolder(previousApp_);
        for (const auto& [name, value] : {std::pair("TMPDIR", previousTmp_), {"XDG_RUNTIME_DIR", previousRuntime_}})
            value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }

private:
    QTemporaryDir sockets_;
    QTemporaryDir app_;
    QString previousApp_;
    QByteArray previousTmp_, previousRuntime_;
};

void tracedCalls(benchmark::State& st)
{
    const QString module = QStringLiteral("frmVmailCfg.frm");
    const QString procedure = QStringLiteral("Sub SSTab1_Click");
    const QString arguments = QStringLiteral("(PreviousTab=0)");
    fsPUSH(module, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));
    for (auto _ : st) {
        fsPUSH(module, procedure, arguments);
        fsPOP(module, procedure, arguments);
    }
    fsPOP(module, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));
    st.SetItemsProcessed(st.iterations());
}

void BM_TracePushPop_NoSink(benchmark::State& st)
{
    TraceSetup setup({});
    tracedCalls(st);
}
BENCHMARK(BM_TracePushPop_NoSink);

void BM_TracePushPop_Circular(benchmark::State& st)
{
    TraceSetup setup("[Log File]\r\nCircularLog=1\r\n");
    tracedCalls(st);
    st.SetBytesProcessed(st.iterations() * 2 * 512);
}
BENCHMARK(BM_TracePushPop_Circular);

}  // namespace
