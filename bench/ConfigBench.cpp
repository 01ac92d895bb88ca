// Start-up configuration read on a large QV.INI: the engine keeps many
// sections of its own in the file, and every key read scans it again.
#include "config/Paths.h"
#include "config/Settings.h"
#include "platform/AppFolder.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kLines = 2000;
constexpr int kKeyReads = 14;  // LoadConfig reads 14 keys

// kLines lines of engine sections, with the two voicemail sections last so
// that every read walks the whole file.
QByteArray largeIni()
{
    QByteArray text;
    int line = 0;
    for (int section = 0; line < kLines - 20; ++section) {
        text += "; settings of line group " + QByteArray::number(section) + "\r\n";
        text += "[Line" + QByteArray::number(section) + "]\r\n";
        line += 2;
        for (int key = 0; key < 18 && line < kLines - 20; ++key, ++line)
            text += "Key" + QByteArray::number(key) + " = value of key " + QByteArray::number(key) + " in group " +
                    QByteArray::number(section) + "\r\n";
    }
    text +=
        "[PlayRecordConfig]\r\nRecEditor=rec.exe\r\n[Voicemail]\r\n"
        "RecLengthMin=2\r\nRecLengthMax=300\r\nForwardEmailSubject=New message\r\n"
        "ForwardEmailSmtpServer=mail.example\r\nForwardEmailSmtpEmailAddress=vm@example\r\n"
        "ForwardEmailMechanism=SMTP\r\nForwardEmailBody=body\r\nFtpServer=ftp.example\r\n"
        "FtpDir=/in\r\nFtpUser=bob\r\nFtpPassword=secret\r\nRunCommandAfterRec=notify.exe\r\n";
    return text;
}

void BM_LoadConfig(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString previous = vm::platform::appFolder();
    vm::platform::setAppFolder(dir.path());
    const QByteArray ini = largeIni();
    QFile file(dir.filePath(QStringLiteral("QV.INI")));
    if (!file.open(QIODevice::WriteOnly) || file.write(ini) != ini.size()) {
        state.SkipWithError("cannot write QV.INI");
        return;
    }
    file.close();
    vm::config::Settings settings;
    for (auto _ : state) {
        vm::config::LoadConfig(settings, vm::config::iniFile());
        benchmark::DoNotOptimize(settings.RunCommandAfterRec);
    }
    state.SetBytesProcessed(state.iterations() * ini.size() * kKeyReads);
    vm::platform::setAppFolder(previous);
}
BENCHMARK(BM_LoadConfig)->Unit(benchmark::kMillisecond);

}  // namespace
