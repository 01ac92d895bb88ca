// fsmonitor: watches traced programs live. Start it before the program; the
// program finds it by its title when its error module starts.
//
//   fsmonitor [--name SUFFIX]   listens as "Tarvik FailSafe" (or "Tarvik FailSafe - SUFFIX")
//   fsmonitor --help | --version
#include "MonitorWindow.h"
#include "TraceMonitorServer.h"

#include "platform/DisplayCheck.h"
#include "platform/LocaleText.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <QTextStream>

int main(int argc, char** argv)
{
    // The command line is read before the window system is opened, so that
    // --help and usage errors work over a remote shell too.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Shows the trace lines of running traced programs."));
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Show this help."));
    const QCommandLineOption versionOption({QStringLiteral("v"), QStringLiteral("version")},
                                           QStringLiteral("Show the program's version."));
    const QCommandLineOption nameOption(
        QStringLiteral("name"), QStringLiteral("Listen as \"Tarvik FailSafe - <suffix>\"."), QStringLiteral("suffix"));
    parser.addOptions({helpOption, versionOption, nameOption});
    if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty()) {
        const QString why = parser.errorText().isEmpty()
                                ? QStringLiteral("unexpected argument '%1'.").arg(parser.positionalArguments().first())
                                : parser.errorText();
        QTextStream(stderr) << "fsmonitor: " << why << " Try 'fsmonitor --help'.\n";
        return 2;
    }
    if (parser.isSet(helpOption)) {
        // Without an application object the parser does not know the program's name.
        QTextStream(stdout) << parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                         QStringLiteral("fsmonitor"));
        return 0;
    }
    if (parser.isSet(versionOption)) {
        const vm::platform::Version v = vm::platform::programVersion();
        QTextStream(stdout) << "fsmonitor " << v.major << '.' << v.minor << '.' << v.revision << '\n';
        return 0;
    }
    if (const auto why = vm::platform::missingDisplay()) {
        QTextStream(stderr) << "fsmonitor: cannot open the window: " << *why << '\n';
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("fsmonitor"));
    vm::fsmonitor::TraceMonitorServer server;
    const QString title = vm::fsmonitor::TraceMonitorServer::titleFor(parser.value(nameOption));
    if (!server.listen(title)) {
        QMessageBox::critical(nullptr, title,
                              QStringLiteral("Cannot listen as \"%1\": %2").arg(title, server.errorString()));
        return 1;
    }
    vm::fsmonitor::MonitorWindow window(server, title);
    window.show();
    return QApplication::exec();
}
