// fsmonitor: watches traced programs live. Start it before the program; the
// program finds it by its title when its error module starts.
//
//   fsmonitor [--name SUFFIX]   listens as "Tarvik FailSafe" (or "Tarvik FailSafe - SUFFIX")
#include "MonitorWindow.h"
#include "TraceMonitorServer.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("fsmonitor"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Shows the trace lines of running traced programs."));
    parser.addHelpOption();
    const QCommandLineOption nameOption(
        QStringLiteral("name"), QStringLiteral("Listen as \"Tarvik FailSafe - <suffix>\"."), QStringLiteral("suffix"));
    parser.addOption(nameOption);
    parser.process(app);

    vm::fsmonitor::TraceMonitorServer server;
    const QString title = vm::fsmonitor::TraceMonitorServer::titleFor(parser.value(nameOption));
    if (!server.listen(title)) {
        QMessageBox::critical(nullptr, title,
                              QStringLiteral("Cannot listen as \"%1\": %2").arg(title, server.errorString()));
        return 1;
    }
    vm::fsmonitor::MonitorWindow window(server, title);
    window.show();
    return app.exec();
}
