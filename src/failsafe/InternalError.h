#pragma once
// The error module's message about a failure of its own (inside fsSTART or
// fsERROR): a critical message box titled "FailSafe - Internal Error Handler".

#include "platform/RuntimeError.h"

#include <QString>

namespace vm::failsafe {

QString internalErrorTitle();
// routine + " generated error " + number + ", '" + description + "', inside FAILSAFE.BAS" + CR LF
QString internalErrorText(const QString& routine, const platform::RuntimeError& error);

// Shows the message through the module's message box hook. Never raises.
void reportInternalError(const QString& routine, const platform::RuntimeError& error);

}  // namespace vm::failsafe
