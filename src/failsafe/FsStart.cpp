// Start-up of the error module: settings, circular log, call stack, start
// time, trace monitor and the start line. Runs once, on the first traced call.
#include "CallTracking.h"
#include "CircularLog.h"
#include "FailSafe.h"
#include "FailSafeHooks.h"
#include "FailSafeState.h"
#include "InternalError.h"
#include "LogPlacement.h"
#include "MonitorLink.h"
#include "SettingsFile.h"
#include "TraceLine.h"
#include "TraceOutput.h"

#include "platform/AppFolder.h"
#include "platform/FileSystem.h"
#include "platform/LocaleText.h"
#include "platform/RuntimeError.h"

#include <QDateTime>

namespace vm::failsafe {

namespace {

// A log whose name may not be used, or whose file may not be written (a link
// another account made, a folder, a device), is off for the run; the start
// line then says which and why.
void placeLogs(FailSafeState& s)
{
    QStringList notes;
    const auto place = [&](const QString& log, const QString& name, bool& on, QString& path) {
        if (!on)
            return;
        LogPlace p = placeLog(name, s.appFolder, s.settingsPath);
        if (p.refusal.isEmpty())
            p.refusal = platform::writeRefusal(p.path).value_or(QString());
        if (p.refusal.isEmpty()) {
            path = p.path;
            return;
        }
        on = false;
        notes << log + QStringLiteral(" \"") + name + QStringLiteral("\" is off: ") + p.refusal;
    };
    s.circular.on = s.settings.circularLog;
    place(QStringLiteral("circular log"), s.settings.circularFileName, s.circular.on, s.circular.path);
    place(QStringLiteral("capture and error log"), s.settings.logFileName, s.settings.writeToDisk, s.settings.logFile);
    s.startNote = notes.isEmpty() ? QString() : QStringLiteral("; ") + notes.join(QStringLiteral("; "));
}

void openCircular(FailSafeState& s)
{
    CircularLog& c = s.circular;
    c.recordSize = s.settings.recordSize;
    c.maxRecords = s.settings.maxRecords;
    c.nextRecord = 0;
    openCircularLog(c);
}

QString bottomEntry()
{
    const QDateTime now = QDateTime::currentDateTime();
    return message(32) + QStringLiteral(" <") + platform::shortDate(now.date()) + QStringLiteral(", ") +
           platform::longTime(now.time()) + QLatin1Char('>');
}

void findMonitor(FailSafeState& s)
{
    s.monitorLink = MonitorLink::find();
    s.monitorPresent = s.monitorLink != nullptr;
    s.monitorName = s.monitorPresent ? s.monitorLink->title() : QString();
}

// The source text the run time gives to errors this program raises, so the
// error handler can tell its own errors from those passed on by others.
QString ownErrorSource()
{
    try {
        platform::raiseError(platform::err::InvalidProcedureCall);
    } catch (const platform::RuntimeError& e) {
        return e.source();
    }
    return {};
}

void start(FailSafeState& s)
{
    s.appFolder = platform::appFolder();
    s.settingsPath = s.appFolder + QLatin1Char('/') + kSettingsFileName;
    s.settings = readSettings(s.settingsPath);
    placeLogs(s);
    openCircular(s);
    s.stack = CallStack{};
    s.started = true;
    s.stack.entry[0] = bottomEntry();
    s.devEnvironment = isDevelopmentHost(platform::executablePath());
    s.appTag = QLatin1Char('[') + platform::executableName() + QStringLiteral("] ");
    s.startTime = msClock();
    s.stack.frameTime[0] = s.startTime;
    findMonitor(s);
    traceOutput(startLine());
    s.ownSource = ownErrorSource();
}

}  // namespace

void fsSTART()
{
    FailSafeState& s = state();
    if (s.started)
        return;
    try {
        start(s);
    } catch (...) {
        reportInternalError(QStringLiteral("fsSTART()"), platform::toRuntimeError(std::current_exception()));
    }
}

}  // namespace vm::failsafe
