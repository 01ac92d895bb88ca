// RiVaVaz: the Quorvane Voicemail Manager. Loads the main window on the
// application folder and runs until the window is closed.
#include "AppFolderChoice.h"
#include "CommandLine.h"
#include "ExternalClose.h"
#include "FolderLockNotice.h"
#include "GuiServices.h"

#include "manager_window/ManagerWindow.h"
#include "manager_window/WindowPlacement.h"
#include "platform/AppFolder.h"
#include "platform/DisplayCheck.h"
#include "platform/ShownText.h"

#include <QApplication>
#include <QTextStream>
#include <QTimer>

#include <csignal>
#include <cstdio>

namespace {

constexpr int kExitNoWindow = 1;

// Lines for standard error: a folder's name in them may hold control
// characters or bytes of no encoding, shown escaped as vmbox shows them.
QString forTerminal(const QString& lines)
{
    QStringList shown = lines.split(u'\n');
    for (QString& line : shown)
        line = vm::platform::withControlsEscaped(line);
    return shown.join(u'\n');
}

// Saves a picture of the window once it is on screen, then closes it the
// way the close box does.
void screenshotThenClose(vm::manager_window::ManagerWindow& window, const QString& file)
{
    QTimer::singleShot(300, &window, [&window, file] {
        if (!window.grab().save(file))
            std::fprintf(stderr, "Could not save %s\n", qPrintable(forTerminal(file)));
        window.close();
    });
}

int runWindow(const vm::app::Options& options)
{
    const bool operatorPresent = !options.closeAfterLoad && options.screenshotFile.isEmpty();
    if (!vm::app::settleAppFolder(options, operatorPresent))
        return vm::app::kExitBadUsage;
    // One manager per folder: a second one reads and writes nothing.
    const auto folderLock = vm::app::lockAppFolderOrTellOperator(operatorPresent);
    if (!folderLock)
        return kExitNoWindow;
    const vm::app::GuiServices services;
    vm::manager_window::ManagerWindow window;
    const vm::app::ExternalClose externalClose(window);
    window.Form_Load();
    // The window opens where the operator left it; a screenshot or a run
    // with no operator takes the design size and leaves the place alone.
    const auto placement = operatorPresent ? vm::manager_window::userSettings() : nullptr;
    if (placement)
        vm::manager_window::restorePlacement(window, *placement);
    window.show();
    if (!options.screenshotFile.isEmpty())
        screenshotThenClose(window, options.screenshotFile);
    else if (options.closeAfterLoad)
        QTimer::singleShot(0, &window, [&window] { window.close(); });
    const int status = QApplication::exec();
    if (placement)
        vm::manager_window::savePlacement(window, *placement);
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    // A write past the process's file size limit then fails like a full
    // disk (error 61), which the error handler reports, instead of ending
    // the program halfway through saving.
    std::signal(SIGXFSZ, SIG_IGN);

    // Everything that needs no window is answered before the window system
    // is opened, so that it works over a remote shell too.
    const vm::app::ParseResult parsed = vm::app::parseCommandLine(vm::app::argumentList(argc, argv));
    if (!parsed.options) {
        if (parsed.exitCode == 0)
            QTextStream(stdout) << parsed.output;
        else
            QTextStream(stderr) << forTerminal(parsed.output);
        return parsed.exitCode;
    }
    const vm::app::Options& options = *parsed.options;
    if (const auto why = vm::platform::missingDisplay(); why && !options.platformNamed) {
        QTextStream(stderr) << "RiVaVaz: cannot open the window: " << *why << '\n';
        return kExitNoWindow;
    }

    QApplication app(argc, argv);  // takes Qt's own options out of argv
    QApplication::setApplicationName(QStringLiteral("RiVaVaz"));
    QGuiApplication::setDesktopFileName(QStringLiteral("com.quorvane.VoicemailManager"));
    return runWindow(options);
}
