// RiVaVaz: the Quorvane Voicemail Manager. Loads the main window on the
// application folder and runs until the window is closed.
#include "CommandLine.h"
#include "FolderLockNotice.h"
#include "GuiHooks.h"

#include "manager_window/frmVmailCfg.h"
#include "platform/AppFolder.h"
#include "platform/QtSoundPlayer.h"

#include <QApplication>
#include <QTextStream>
#include <QTimer>

#include <csignal>
#include <cstdio>

namespace {

// Saves a picture of the window once it is on screen, then closes it the
// way the close box does.
void screenshotThenClose(vm::window::frmVmailCfg& window, const QString& file)
{
    QTimer::singleShot(300, &window, [&window, file] {
        if (!window.grab().save(file))
            std::fprintf(stderr, "Could not save %s\n", qPrintable(file));
        window.close();
    });
}

}  // namespace

int main(int argc, char** argv)
{
    // A write past the process's file size limit then fails like a full
    // disk (error 61), which the error handler reports, instead of ending
    // the program halfway through saving.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("RiVaVaz"));

    const vm::app::ParseResult parsed = vm::app::parseCommandLine(QApplication::arguments());
    if (!parsed.options) {
        QTextStream(parsed.exitCode == 0 ? stdout : stderr) << parsed.output;
        return parsed.exitCode;
    }
    const vm::app::Options& options = *parsed.options;
    if (!options.appFolder.isEmpty())
        vm::setAppFolder(options.appFolder);
    // One manager per folder: a second one reads and writes nothing.
    const auto folderLock = vm::app::lockAppFolderOrTellOperator(!options.closeAfterLoad &&
                                                                 options.screenshotFile.isEmpty());
    if (!folderLock)
        return 1;

    vm::app::installGuiHooks();
    int exitCode = 0;
    {
        // The sound buttons play through the system's sound output; the
        // player goes before the application object does.
        const vm::sound::ScopedSoundPlayer soundPlayer(std::make_unique<vm::sound::QtSoundPlayer>());
        vm::window::frmVmailCfg window;
        window.Form_Load();
        window.show();
        if (!options.screenshotFile.isEmpty())
            screenshotThenClose(window, options.screenshotFile);
        else if (options.closeAfterLoad)
            QTimer::singleShot(0, &window, [&window] { window.close(); });
        exitCode = QApplication::exec();
    }
    vm::app::removeGuiHooks();
    return exitCode;
}
