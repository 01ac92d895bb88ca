// The real programs run with no display at all, as over a remote shell:
// help, version and every usage error are answered before the window system
// is touched (no toolkit abort), each error is one line on standard error,
// and nothing is created in the folder named.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include "ProgramRun.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace vm::test;

TEST(CommandLine, AnsweredWithoutDisplay)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/app");
    QDir().mkdir(folder);
    const QString missing = folder + QStringLiteral("/missing"), file = dir.path() + QStringLiteral("/file");
    ASSERT_TRUE(QFile(file).open(QIODevice::WriteOnly));
    const QString rivavaz = QStringLiteral(RIVAVAZ_PATH), fsmonitor = QStringLiteral(FSMONITOR_PATH);
    const QString vmbox = QStringLiteral(VMBOX_PATH), vmboxFolder = QFileInfo(vmbox).absolutePath();
    const QString notAppFolder = QStringLiteral(
        " (the folder of this program) is no application folder: it holds neither QV.INI nor data; name one with "
        "--app-folder DIR");

    struct Case {
        QString program;
        QStringList arguments;
        int status;
        QString stdoutStart;  // empty: nothing on standard output
        QString stderrLine;   // empty: nothing on standard error
    };
    const Case cases[] = {
        {rivavaz, {"--help"}, 0, "Usage: RiVaVaz [options]\n", ""},
        {rivavaz, {"--version"}, 0, "RiVaVaz 1.", ""},
        {rivavaz, {"--no-such-option"}, 2, "", "RiVaVaz: Unknown option 'no-such-option'. Try 'RiVaVaz --help'."},
        // Qt's own options are left to QApplication, whatever their dashes; an unknown one is named whole.
        {rivavaz,
         {"-style", "Fusion", "--reverse", "-stylesheet=a.qss", "-qwindowgeometry", "9x9", "-v"},
         0,
         "RiVaVaz 1.",
         ""},
        {rivavaz, {"-styel", "Fusion"}, 2, "", "RiVaVaz: Unknown option 'styel'. Try 'RiVaVaz --help'."},
        {rivavaz, {"--help", "-style"}, 2, "", "RiVaVaz: Missing value after '-style'. Try 'RiVaVaz --help'."},
        {rivavaz, {"stray"}, 2, "", "RiVaVaz: unexpected argument 'stray'. Try 'RiVaVaz --help'."},
        {rivavaz, {"--app-folder", missing}, 2, "", "RiVaVaz: application folder " + missing + " does not exist"},
        {rivavaz, {"--app-folder", file}, 2, "", "RiVaVaz: application folder " + file + " is not a folder"},
        {rivavaz,
         {"--app-folder", file + "\x1b[2J"},
         2,
         "",
         "RiVaVaz: application folder " + file + "\\x1b[2J does not exist"},
        {rivavaz, {"--app-folder", folder}, 1, "", "RiVaVaz: cannot open the window: no display (DISPLAY is not set)"},
        {fsmonitor, {"--help"}, 0, "Usage: fsmonitor [options]\n", ""},
        {fsmonitor, {"--version"}, 0, "fsmonitor 1.", ""},
        {fsmonitor, {"--name"}, 2, "", "fsmonitor: Missing value after '--name'. Try 'fsmonitor --help'."},
        {fsmonitor, {}, 1, "", "fsmonitor: cannot open the window: no display (DISPLAY is not set)"},
        {vmbox, {"list"}, 2, "", "vmbox: " + vmboxFolder + notAppFolder},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(qPrintable(c.program + QLatin1Char(' ') + c.arguments.join(QLatin1Char(' '))));
        const Outcome run = runProgram(c.program, c.arguments,
                                       {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}});
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE(c.stdoutStart.isEmpty() ? run.out.isEmpty() : run.out.startsWith(c.stdoutStart))
            << qPrintable(run.out);
        EXPECT_EQ(run.err, c.stderrLine.isEmpty() ? QString() : c.stderrLine + QLatin1Char('\n'));
    }
    EXPECT_TRUE(QDir(folder).isEmpty()) << "a refused start creates nothing";
}

// A folder whose name is no UTF-8 is opened by its bytes: the window loads
// its list and saves it.
TEST(CommandLine, AFolderOfAnyBytesIsOpenedByItsBytes)
{
    QTemporaryDir dir;
    const Outcome o = runProgram(
        QStringLiteral("sh"),
        {"-c",
         "f=\"$1/$(printf 'caf\\351')\" && mkdir -p \"$f/data\" && printf '<VoicemailBox Id=\"1\"></VoicemailBox>\\r\\n' "
         ">\"$f/data/VmBoxList.xml\" && \"$0\" --app-folder \"$f\" --close-after-load && wc -c <\"$f/data/VmBoxList.xml\" && rm -r \"$f\"",
         RIVAVAZ_PATH, dir.path()});
    EXPECT_EQ(o.status, 0) << o.err.toStdString();
    EXPECT_EQ(o.out, "356\n") << "the box as the window writes it";
}

// A platform named on the command line reaches QApplication, which needs no
// display for it; the help says Qt's options are taken.
TEST(CommandLine, QtOptionsReachTheApplication)
{
    QTemporaryDir app;
    const Outcome run = runProgram(
        QStringLiteral(RIVAVAZ_PATH),
        {"-platform", "offscreen", "-style", "Fusion", "-reverse", "--app-folder", app.path(), "--close-after-load"},
        {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}});
    EXPECT_EQ(run.status, 0) << qPrintable(run.err);
    EXPECT_TRUE(
        runProgram(QStringLiteral(RIVAVAZ_PATH), {"--help"}).out.contains(QStringLiteral("\nQt's standard options")));
}

// An installed copy (its own folder holds no engine files) works on the folder
// chosen last time; with none remembered and nobody to ask it does not start.
TEST(CommandLine, InstalledCopyWorksOnTheRememberedFolder)
{
    QTemporaryDir config, app;
    QDir(app.path()).mkpath(QStringLiteral("data"));
    const auto start = [&] {
        return runProgram(QStringLiteral(RIVAVAZ_PATH), {QStringLiteral("--close-after-load")},
                          {{"QT_QPA_PLATFORM", "offscreen"}, {"XDG_CONFIG_HOME", config.path()}});
    };
    const Outcome refused = start();
    EXPECT_EQ(refused.status, 2);
    EXPECT_TRUE(
        refused.err.endsWith(QStringLiteral("RiVaVaz: no application folder: name one with --app-folder DIR\n")))
        << qPrintable(refused.err);

    QSettings(config.path() + QStringLiteral("/Quorvane/VoicemailManager.conf"), QSettings::IniFormat)
        .setValue(QStringLiteral("applicationFolder"), app.path());
    EXPECT_EQ(start().status, 0);
    EXPECT_TRUE(QFileInfo::exists(app.path() + QStringLiteral("/QV.INI"))) << "the window worked on the folder";
}

// run.sh's picture of the window: a file that cannot be written is said, and
// the window still closes.
TEST(CommandLine, AScreenshotThatCannotBeSavedIsReported)
{
    QTemporaryDir app;
    const QString file = app.path() + QStringLiteral("/missing/window.png");
    const Outcome run = runProgram(QStringLiteral(RIVAVAZ_PATH),
                                   {QStringLiteral("--app-folder"), app.path(), QStringLiteral("--screenshot"), file});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.err.endsWith(QStringLiteral("Could not save ") + file + u'\n')) << qPrintable(run.err);
}

}  // namespace
