#include "CommandLine.h"

#include "platform/LocaleText.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace vm::app {

ParseResult parseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Quorvane Voicemail Manager"));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the program's version."));
    const QCommandLineOption folder(QStringLiteral("app-folder"),
                                    QStringLiteral("Application folder to work on (default: the executable's folder)."),
                                    QStringLiteral("DIR"));
    QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                  QStringLiteral("Save a picture of the window, then close it."),
                                  QStringLiteral("FILE"));
    screenshot.setFlags(QCommandLineOption::HiddenFromHelp);
    QCommandLineOption closeAfterLoad(QStringLiteral("close-after-load"),
                                      QStringLiteral("Close the window once loaded."));
    closeAfterLoad.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({help, version, folder, screenshot, closeAfterLoad});

    ParseResult result;
    if (!parser.parse(arguments)) {
        result.exitCode = 2;
        result.output = parser.errorText() + QLatin1Char('\n');
        return result;
    }
    if (parser.isSet(help)) {
        result.output = parser.helpText();
        return result;
    }
    if (parser.isSet(version)) {
        const locale::Version v = locale::programVersion();
        result.output = QStringLiteral("RiVaVaz %1.%2.%3\n").arg(v.major).arg(v.minor).arg(v.revision);
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.exitCode = 2;
        result.output = QStringLiteral("Unexpected argument: %1\n").arg(parser.positionalArguments().first());
        return result;
    }
    Options options;
    if (parser.isSet(folder)) {
        const QFileInfo dir(parser.value(folder));
        if (!dir.isDir()) {
            result.exitCode = 2;
            result.output = QStringLiteral("Not a folder: %1\n").arg(parser.value(folder));
            return result;
        }
        options.appFolder = QDir::cleanPath(dir.absoluteFilePath());
    }
    options.screenshotFile = parser.value(screenshot);
    options.closeAfterLoad = parser.isSet(closeAfterLoad);
    result.options = options;
    return result;
}

}  // namespace vm::app
