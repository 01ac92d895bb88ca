#include "InternalError.h"

#include "FailSafeHooks.h"
#include "FailSafeState.h"

namespace vm::failsafe {

QString internalErrorTitle() { return QStringLiteral("FailSafe") + message(24); }

QString internalErrorText(const QString& routine, const platform::RuntimeError& error)
{
    return routine + QLatin1Char(' ') + message(23) + QLatin1Char(' ') + QString::number(error.number()) +
           QStringLiteral(", '") + error.description() + QStringLiteral("', inside FAILSAFE.BAS\r\n");
}

void reportInternalError(const QString& routine, const platform::RuntimeError& error)
{
    platform::ignoreErrors([&] {
        showMessageBox(BoxIcon::Critical, BoxButtons::Ok, internalErrorTitle(), internalErrorText(routine, error));
    });
}

}  // namespace vm::failsafe
