#pragma once
// The error log: one entry appended per intercepted error to the log file
// ("error.log" in the application folder unless FSCLIENT.INI names another).
// The file is only ever appended to; an entry that cannot be written in full
// leaves the file exactly as it was.

#include "FailSafeState.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

namespace vm::failsafe {

// The texts of an entry that do not come from the error record.
struct ErrorLogTexts {
    QString startLine;    // "<date> <time> - start FailSafe client v... data capture"
    QString programLine;  // application folder, executable name, " ver " and version
    QString systemInfo;   // the system information report
    QString comment;      // what the user said in the error dialog
    QString stopLine;     // "<date> <time> - stop FailSafe client v... data capture"
};

// The start or stop line of the data capture at `moment`, in the system
// locale's short date and long time.
QString captureStampLine(const QDateTime& moment, bool start);

// "Category " and the other labels padded with blanks so the value starts in
// column 30.
QString labelLine(const QString& label, const QString& value);

// The whole entry for the error in `record`, lines ending in CR LF. Parts
// that cannot be built are left out.
QString errorLogEntry(const ErrorRecord& record, const CallStack& stack, const ErrorLogTexts& texts);

// Appends `bytes` to the file at `path`, creating it when missing. Returns
// false when the bytes could not all be written; the file then keeps the
// length and contents it had. Never raises.
bool appendWholeOrNothing(const QString& path, const QByteArray& bytes);

// The current error record of the module as one entry, in the file's bytes;
// nothing when it cannot be built.
std::optional<QByteArray> currentErrorLogEntry(const ErrorLogTexts& texts);

// Appends the current error record of the module as one entry to `path`.
bool writeErrorLog(const QString& path, const ErrorLogTexts& texts);

}  // namespace vm::failsafe
