// The real programs run with no display at all, as over a remote shell:
// help, version and every usage error are answered before the window system
// is touched (no toolkit abort), each error is one line on standard error,
// and nothing is created in the folder named.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Outcome {
    int exitCode = -1;
    QString out, err;
};

Outcome runWithoutDisplay(const QString& program, const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    Outcome run;
    if (!process.waitForFinished(30000)) {
        process.kill();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

TEST(CommandLine, AnsweredWithoutDisplay)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/app");
    QDir().mkdir(folder);
    QFile file(dir.path() + QStringLiteral("/file"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const QString missing = folder + QStringLiteral("/missing");
    const QString rivavaz = QStringLiteral(RIVAVAZ_PATH), fsmonitor = QStringLiteral(FSMONITOR_PATH);

    struct Case {
        QString program;
        QStringList arguments;
        int exitCode;
        QString stdoutStart;  // empty: nothing on standard output
        QString stderrLine;   // empty: nothing on standard error
    };
    const Case cases[] = {
        {rivavaz, {"--help"}, 0, "Usage: RiVaVaz [options]\n", ""},
        {rivavaz, {"--version"}, 0, "RiVaVaz 1.", ""},
        {rivavaz, {"--no-such-option"}, 2, "", "RiVaVaz: Unknown option 'no-such-option'. Try 'RiVaVaz --help'."},
        {rivavaz, {"stray"}, 2, "", "RiVaVaz: unexpected argument 'stray'. Try 'RiVaVaz --help'."},
        {rivavaz, {"--app-folder", missing}, 2, "", "RiVaVaz: application folder " + missing + " does not exist"},
        {rivavaz,
         {"--app-folder", file.fileName()},
         2,
         "",
         "RiVaVaz: application folder " + file.fileName() + " is not a folder"},
        {rivavaz, {"--app-folder", folder}, 1, "", "RiVaVaz: cannot open the window: no display (DISPLAY is not set)"},
        {fsmonitor, {"--help"}, 0, "Usage: fsmonitor [options]\n", ""},
        {fsmonitor, {"--name"}, 2, "", "fsmonitor: Missing value after '--name'. Try 'fsmonitor --help'."},
        {fsmonitor, {}, 1, "", "fsmonitor: cannot open the window: no display (DISPLAY is not set)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(qPrintable(c.program + QLatin1Char(' ') + c.arguments.join(QLatin1Char(' '))));
        const Outcome run = runWithoutDisplay(c.program, c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_TRUE(c.stdoutStart.isEmpty() ? run.out.isEmpty() : run.out.startsWith(c.stdoutStart))
            << qPrintable(run.out);
        EXPECT_EQ(run.err, c.stderrLine.isEmpty() ? QString() : c.stderrLine + QLatin1Char('\n'));
    }
    EXPECT_TRUE(QDir(folder).isEmpty()) << "a refused start creates nothing";
}

}  // namespace
