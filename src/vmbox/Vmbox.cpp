#include "Vmbox.h"

#include "CommandFailure.h"
#include "CommandLine.h"
#include "SafeText.h"

#include "mailbox/MessageRefusal.h"
#include "platform/AppFolder.h"
#include "platform/FileSystem.h"
#include "platform/LocaleText.h"
#include "platform/NativeName.h"
#include "platform/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace vm::vmbox {

namespace {

// The folder named by --app-folder or VMBOX_APP_FOLDER (the option wins),
// checked alike: it must be a folder and hold the engine's files. None
// named: the program's own folder, which must hold them too.
void chooseApplicationFolder(Invocation& inv)
{
    // An empty variable names nothing, as an unset one.
    if (inv.appFolderFrom.isEmpty() && !qEnvironmentVariableIsEmpty("VMBOX_APP_FOLDER")) {
        inv.appFolder = platform::nameText(qgetenv("VMBOX_APP_FOLDER"));
        inv.appFolderFrom = QStringLiteral("VMBOX_APP_FOLDER");
    }
    if (!inv.appFolderFrom.isEmpty()) {
        const QFileInfo dir(inv.appFolder);
        if (inv.appFolder.isEmpty() || !platform::isFolder(dir.filePath()))
            failUsage(QStringLiteral("%1: not a folder: %2").arg(inv.appFolderFrom, dir.filePath()));
        platform::setAppFolder(QDir::cleanPath(dir.absoluteFilePath()));
    }
    const QString folder = platform::appFolder();
    if (::access(platform::nativeName(folder).constData(), R_OK | X_OK) != 0)
        failData(QStringLiteral("%1: cannot be read: %2").arg(folder, QString::fromLocal8Bit(std::strerror(errno))));
    if (platform::isApplicationFolder(folder))
        return;
    if (!inv.appFolderFrom.isEmpty())
        failUsage(QStringLiteral("%1: %2 is no application folder: it holds neither QV.INI nor data")
                      .arg(inv.appFolderFrom, folder));
    failUsage(QStringLiteral("%1 (the folder of this program) is no application folder: it holds neither QV.INI nor "
                             "data; name one with --app-folder DIR")
                  .arg(folder));
}

}  // namespace

int runVmbox(const QStringList& arguments, QIODevice& out, QIODevice& err, QIODevice* in)
{
    // Messages quote names and values from files: shown, never obeyed, by the terminal.
    const auto fail = [&](const QStringList& lines) {
        for (const QString& line : lines)
            err.write((QStringLiteral("vmbox: ") + withControlsEscaped(line) + QLatin1Char('\n')).toUtf8());
    };
    QFile standardInput;
    if (!in) {
        standardInput.open(STDIN_FILENO, QIODevice::ReadOnly);
        in = &standardInput;
    }
    try {
        Invocation inv = parseCommandLine(arguments);
        if (inv.help) {
            out.write((inv.command           ? commandHelp(*inv.command)
                       : inv.group.isEmpty() ? programHelp()
                                             : groupHelp(inv.group))
                          .toUtf8());
            return 0;
        }
        if (inv.version) {
            const platform::Version v = platform::programVersion();
            out.write(QStringLiteral("vmbox %1.%2.%3\n").arg(v.major).arg(v.minor).arg(v.revision).toUtf8());
            return 0;
        }
        chooseApplicationFolder(inv);
        Streams streams{*in, out, err};
        inv.command->run(inv, streams);
        return 0;
    } catch (const CommandFailure& f) {
        fail(f.lines());
        return f.exitStatus();
    } catch (const mailbox::MessageRefusal& r) {
        fail({r.line()});
        return kExitBadData;
    } catch (const platform::RuntimeError& e) {
        fail({QStringLiteral("%1 (error %2)").arg(e.description()).arg(e.number())});
        return kExitBadData;
    } catch (const std::bad_alloc&) {
        // Whatever ran out of memory stopped before it wrote: files are replaced whole or not at all.
        fail({QStringLiteral("out of memory (error %1)").arg(platform::err::OutOfMemory)});
        return kExitBadData;
    }
}

}  // namespace vm::vmbox
