#include "CommandLine.h"

#include "platform/FileSystem.h"
#include "platform/LocaleText.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <unistd.h>

#include <algorithm>
#include <span>
#include <string_view>

namespace vm::app {

namespace {

const QString kProgram = QStringLiteral("RiVaVaz");

ParseResult failure(const QString& message)
{
    ParseResult result;
    result.exitCode = kExitBadUsage;
    result.output = kProgram + QStringLiteral(": ") + message + QLatin1Char('\n');
    return result;
}

// Why `folder` cannot serve as the application folder, or an empty text.
// Searching it (x) matters as much as listing it (r): every file is opened
// by its path inside the folder.
QString unusableFolder(const QFileInfo& folder)
{
    const QString path = folder.absoluteFilePath();  // looked at by its bytes, whatever its encoding
    if (!platform::existsAtName(path))
        return QStringLiteral("does not exist");
    if (!platform::isFolder(path))
        return QStringLiteral("is not a folder");
    if (::access(platform::nativeName(path).constData(), R_OK | X_OK) != 0)
        return QStringLiteral("cannot be read (permission denied)");
    return {};
}

// The options QApplication takes from any program's command line (those of
// QGuiApplication, QApplication and the X11 platform), which Qt accepts with
// one dash or two: those followed by a value, then those alone.
constexpr std::string_view kQtOptionsWithValue[] = {
    "platform",    "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
    "qwindowicon", "qwindowtitle",       "session",       "style",  "stylesheet",
    "display",     "geometry",           "title",         "icon",   "name",
    "visual"};
constexpr std::string_view kQtFlags[] = {"reverse", "widgetcount", "testability", "sync", "nograb", "dograb"};

bool isOneOf(const QString& name, std::span<const std::string_view> names)
{
    return std::any_of(names.begin(), names.end(),
                       [&](std::string_view n) { return name == QLatin1String(n.data(), qsizetype(n.size())); });
}

// Takes Qt's own options, which QApplication reads from argv itself, out of
// `arguments`; an error text when one of them lacks its value.
QString removeQtOptions(QStringList& arguments, bool& platformNamed)
{
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (i == 0 || !argument.startsWith(u'-')) {
            kept << argument;
            continue;
        }
        const QString name = argument.mid(argument.startsWith(QStringLiteral("--")) ? 2 : 1);
        // -style=NAME and -stylesheet=FILE are QApplication's too.
        if (name.startsWith(QStringLiteral("style=")) || name.startsWith(QStringLiteral("stylesheet=")))
            continue;
        const bool takesValue = isOneOf(name, kQtOptionsWithValue);
        if (!takesValue && !isOneOf(name, kQtFlags)) {
            kept << argument;
            continue;
        }
        if (takesValue && ++i == arguments.size())
            return QStringLiteral("Missing value after '%1'.").arg(argument);
        platformNamed = platformNamed || name == QStringLiteral("platform");
    }
    arguments = kept;
    return {};
}

}  // namespace

QStringList argumentList(int argc, const char* const* argv)
{
    QStringList list;
    for (int i = 0; i < argc; ++i)
        list << platform::nameText(argv[i]);
    return list;
}

ParseResult parseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Quorvane Voicemail Manager: administers the voicemail boxes, recordings and\n"
                       "voicemail settings of a Quorvane voice-response system. See RiVaVaz(1)."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the program's version."));
    const QCommandLineOption folder(
        QStringLiteral("app-folder"),
        QStringLiteral("Application folder to work on. Default: the executable's folder if it holds the "
                       "engine's files (QV.INI or data), else the folder chosen last time, "
                       "else one the window asks for."),
        QStringLiteral("DIR"));
    QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                  QStringLiteral("Save a picture of the window, then close it."),
                                  QStringLiteral("FILE"));
    screenshot.setFlags(QCommandLineOption::HiddenFromHelp);
    QCommandLineOption closeAfterLoad(QStringLiteral("close-after-load"),
                                      QStringLiteral("Close the window once loaded."));
    closeAfterLoad.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({help, version, folder, screenshot, closeAfterLoad});
    // An unknown "-xyz" is named whole, not letter by letter.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);

    QStringList ours = arguments;
    bool platformNamed = false;
    if (const QString error = removeQtOptions(ours, platformNamed); !error.isEmpty())
        return failure(error + QStringLiteral(" Try 'RiVaVaz --help'."));
    if (!parser.parse(ours))
        return failure(parser.errorText() + QStringLiteral(" Try 'RiVaVaz --help'."));
    if (parser.isSet(help)) {
        ParseResult result;
        // Without an application object the parser does not know the program's name.
        result.output = parser.helpText().replace(QStringLiteral("<executable_name>"), kProgram) +
                        QStringLiteral(
                            "\nQt's standard options are taken too (-style, -stylesheet, -platform, -reverse, "
                            "-qwindowgeometry...).\n");
        return result;
    }
    if (parser.isSet(version)) {
        const platform::Version v = platform::programVersion();
        ParseResult result;
        result.output = QStringLiteral("%1 %2.%3.%4\n").arg(kProgram).arg(v.major).arg(v.minor).arg(v.revision);
        return result;
    }
    if (!parser.positionalArguments().isEmpty())
        return failure(QStringLiteral("unexpected argument '%1'. Try 'RiVaVaz --help'.")
                           .arg(parser.positionalArguments().first()));
    Options options;
    if (parser.isSet(folder)) {
        const QFileInfo dir(parser.value(folder));
        if (const QString why = unusableFolder(dir); !why.isEmpty())
            return failure(QStringLiteral("application folder %1 %2").arg(parser.value(folder), why));
        options.appFolder = QDir::cleanPath(dir.absoluteFilePath());
    }
    options.screenshotFile = parser.value(screenshot);
    options.closeAfterLoad = parser.isSet(closeAfterLoad);
    options.platformNamed = platformNamed;
    ParseResult result;
    result.options = options;
    return result;
}

}  // namespace vm::app
