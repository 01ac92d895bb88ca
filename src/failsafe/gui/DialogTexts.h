#pragma once
// The texts of the error report dialog that are built from the error record:
// heading, error level entries, the line field and the status texts.

#include "failsafe/FailSafeState.h"

#include <QString>
#include <QStringList>

namespace vm::failsafe::gui {

// The view entries of Combo1, in index order.
QStringList viewEntries();

// "An unexpected '<description in lower case>' error occurred in <exe>." for
// an error of this program, "... occurred in a component used by <exe>." for
// one passed on by another component, then CR LF + the number of error levels
// + " error(s) are logged.".
QString headingText(const ErrorRecord& record, const QString& exeName);

// One entry per error level: "Error " + (remote levels - i + 1) + " - " +
// the description of slot i.
QStringList errorLevelEntries(const ErrorRecord& record);

// " " + line, or " line numbers not used - Code Pointer = " + pointer when the
// line is 0.
QString lineFieldText(std::int32_t line, std::int16_t codePointer);

// What the status line says for the control with this object name; the form
// background has the name "frmFAILSAFE". "" for controls without a text.
QString statusTextFor(const QString& objectName);

}  // namespace vm::failsafe::gui
