// fsERROR: the central error handler every traced procedure calls from its
// error block. It records the pending error, writes it to the trace, shows
// the error report dialog, sends the optional reports, appends the error log
// and tells the procedure how to go on. Nothing it meets escapes from it.
#include "ErrorHandler.h"

#include "CallTracking.h"
#include "ErrorCategory.h"
#include "ErrorDialogHost.h"
#include "ErrorLog.h"
#include "ErrorReports.h"
#include "FailSafe.h"
#include "FailSafeHooks.h"
#include "FailSafeState.h"
#include "InternalError.h"
#include "PendingError.h"
#include "RemoteChain.h"
#include "TraceOutput.h"

#include "platform/AppFolder.h"
#include "platform/RuntimeError.h"

#include <QStringList>

#include <algorithm>

namespace vm::failsafe {

namespace {

const QString kSeparator = QStringLiteral(" : ");
const QString kTrailJoint = QStringLiteral(" << ");
constexpr int kContinue = 0;

QString ownSourceName()
{
    const QString own = state().ownSource;
    return own.isEmpty() ? platform::kProjectName : own;
}

void clearRecord(ErrorRecord& record)
{
    record.slot.fill(ErrorSlot{});
    record.remoteLevels = 0;
    record.stackCopy.fill(QString());
    record.codePointer = 0;
    record.systemInfo.clear();
    record.userComment.clear();
    record.dialogResult.reset();
}

// The highest entry of the call stack that holds text (slot 0, the bottom
// entry, when no frame does).
QString highestEntry(const CallStack& stack)
{
    for (int slot = kMaxFrames; slot > 0; --slot) {
        if (!stack.entry[slot].isEmpty())
            return stack.entry[slot];
    }
    return stack.entry[0];
}

// Steps up to the split of the call-stack entry; a failure here is the
// module's own internal error.
EntryPlace recordError(const PendingError& pending)
{
    FailSafeState& s = state();
    clearRecord(s.error);
    ErrorSlot& slot = s.error.slot[0];
    slot.source = pending.source +
                  (pending.source == ownSourceName() ? QStringLiteral(" (local)") : QStringLiteral(" (remote)"));
    if (!s.started)
        fsSTART();
    FailSafeState& started = state();
    started.error.codePointer = started.stack.codePointer[std::clamp(started.stack.depth, 0, kMaxFrames)];
    started.error.slot[0].category = categoryText(pending.number);
    return placeOfEntry(highestEntry(started.stack));
}

void recordPlace(const EntryPlace& top, const QString& module, const QString& procedure)
{
    ErrorSlot& slot = state().error.slot[0];
    slot.moduleTrail = errorTrail(top.module, module);
    slot.procedureTrail = errorTrail(top.procedure, procedure);
}

void recordNumbers(const PendingError& pending)
{
    ErrorSlot& slot = state().error.slot[0];
    slot.line = pending.line;
    slot.number = pending.number;
    slot.description = pending.description.isEmpty() ? platform::standardErrorDescription(pending.number)
                                                     : pending.description;
}

void copyCallStack()
{
    FailSafeState& s = state();
    const int depth = std::clamp(s.stack.depth, 0, kMaxFrames);
    s.error.stackCopy[0] = depthText(depth);
    for (int frame = 1; frame <= depth; ++frame)
        s.error.stackCopy[frame] = s.stack.entry[frame];
}

void buildSystemReport()
{
    QString report;
    systemReportBuilder().get()(report);
    state().error.systemInfo = report;
    if (ErrorDialogHost* host = errorDialogHost())
        host->setSystemInfoText(report);
}

// Shows the dialog and takes its answer; without a dialog the answer is
// Continue. Returns the system information text the error log gets.
QString askUser()
{
    FailSafeState& s = state();
    ErrorDialogHost* host = errorDialogHost();
    if (!host) {
        s.error.dialogResult = kContinue;
        return s.error.systemInfo;
    }
    const int result = host->showModal();
    FailSafeState& after = state();
    after.error.dialogResult = result;
    platform::ignoreErrors([&] { after.error.userComment = host->comment(); });
    QString shown = after.error.systemInfo;
    platform::ignoreErrors([&] { shown = host->systemInfoText(); });
    return shown;
}

ErrorLogTexts logTexts(const QString& systemInfo)
{
    ErrorLogTexts texts;
    texts.startLine = captureStampLine(errorLogNow(), true);
    texts.programLine = message(62);
    texts.systemInfo = systemInfo;
    texts.comment = state().error.userComment;
    texts.stopLine = captureStampLine(errorLogNow(), false);
    return texts;
}

QString errorLogPath()
{
    const QString path = state().settings.logFile;
    return path.isEmpty() ? platform::appPath(QStringLiteral("error.log")) : path;
}

void finish()
{
    platform::ignoreErrors([] {
        if (ErrorDialogHost* host = errorDialogHost())
            host->unload();
    });
    Err().clear();
    state().dialogShowing = false;
}

}  // namespace

platform::Replaceable<DateTimeSource>& errorLogClock()
{
    static platform::Replaceable<DateTimeSource> inForce(&QDateTime::currentDateTime);
    return inForce;
}

QDateTime errorLogNow() { return errorLogClock().get()(); }

platform::Replaceable<SystemReportBuilder>& systemReportBuilder()
{
    static platform::Replaceable<SystemReportBuilder> inForce(&fsSystemInfo);
    return inForce;
}

EntryPlace placeOfEntry(const QString& entry)
{
    const QStringList fields = entry.split(kSeparator);
    const auto field = [&](qsizetype i) { return i < fields.size() ? fields[i].trimmed() : QString(); };
    return {field(1), field(2)};
}

QString errorTrail(const QString& top, const QString& passed)
{
    if (top.trimmed().compare(passed.trimmed(), Qt::CaseInsensitive) == 0)
        return top;
    return top + kTrailJoint + passed;
}

QString traceErrorLine(const QString& appTag, const ErrorSlot& slot)
{
    return appTag + message(16).trimmed().toUpper() + QLatin1Char(' ') + QString::number(slot.number) +
           QStringLiteral(" at ") + slot.moduleTrail + kSeparator + slot.procedureTrail + QLatin1Char(' ') +
           QStringLiteral(": Line ") + QString::number(slot.line) + kSeparator + slot.description +
           QStringLiteral("\r\n");
}

std::optional<int> fsERROR(const QString& module, const QString& procedure)
{
    PendingError pending;
    EntryPlace top;
    try {
        pending = Err();
        // A second error waits until the report of the first is off screen,
        // so it cannot overwrite the record the dialog shows.
        waitWhileDialogShowing();
        top = recordError(pending);
    } catch (...) {
        reportInternalError(QStringLiteral("fsERROR()"), platform::toRuntimeError(std::current_exception()));
        finish();
        return std::nullopt;
    }

    platform::ignoreErrors([&] { recordPlace(top, module, procedure); });
    platform::ignoreErrors([&] { recordNumbers(pending); });
    platform::ignoreErrors([&] {
        if (isRemoteSource(pending.source))
            recordRemoteChain(state().error, pending.source, pending.number, ownSourceName());
    });
    platform::ignoreErrors([] { traceOutput(traceErrorLine(state().appTag, state().error.slot[0])); });
    platform::ignoreErrors(copyCallStack);
    platform::ignoreErrors(buildSystemReport);
    QString systemInfoForLog = state().error.systemInfo;
    if (!state().settings.silentRun)
        platform::ignoreErrors([&] { systemInfoForLog = askUser(); });
    ErrorLogTexts texts;
    platform::ignoreErrors([&] { texts = logTexts(systemInfoForLog); });
    const Settings settings = state().settings;
    if (!settings.bugAddress.isEmpty())
        platform::ignoreErrors([] { sendDefectReport(errorLogNow()); });
    if (!settings.emailAddress.isEmpty())
        platform::ignoreErrors([&] { sendEmailReport(texts); });
    if (settings.writeToDisk)
        platform::ignoreErrors([&] { writeErrorLog(errorLogPath(), texts); });
    finish();
    return state().error.dialogResult;
}

}  // namespace vm::failsafe
