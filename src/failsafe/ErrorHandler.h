#pragma once
// Seams of the central error handler (fsERROR in FailSafe.h), so tests can
// fix what would otherwise differ from run to run.

#include "FailSafeState.h"

#include "platform/Replaceable.h"

#include <QDateTime>
#include <QString>

#include <functional>

namespace vm::failsafe {

// The moment shown in the start and stop lines of error log entries.
// Default: the current local date and time.
using DateTimeSource = std::function<QDateTime()>;
platform::Replaceable<DateTimeSource>& errorLogClock();
QDateTime errorLogNow();

// The system information report of an error. Default: fsSystemInfo.
using SystemReportBuilder = std::function<void(QString& report)>;
platform::Replaceable<SystemReportBuilder>& systemReportBuilder();

// Module and procedure of a call-stack entry: its second and third fields
// between " : " separators, TABs and blanks trimmed ("" for a missing field).
struct EntryPlace {
    QString module;
    QString procedure;
};
EntryPlace placeOfEntry(const QString& entry);

// The top place of the stack, extended by " << " + the passed value when the
// two differ (compared trimmed, ignoring letter case).
QString errorTrail(const QString& top, const QString& passed);

// The error line of the trace, ending in CR LF:
// [RiVaVaz] ERROR 53 at frmVmailCfg.frm : Sub cmdPlayMsg_Click : Line 0 : File not found
QString traceErrorLine(const QString& appTag, const ErrorSlot& slot);

}  // namespace vm::failsafe
