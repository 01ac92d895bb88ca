#include "FailSafeState.h"

#include "ErrorDialogHost.h"
#include "PendingError.h"

#include "platform/AppFolder.h"
#include "platform/LocaleText.h"

#include <QDateTime>
#include <QDir>

#include <memory>

#include <unistd.h>

namespace vm::failsafe {

namespace {
std::unique_ptr<FailSafeState>& stateStore()
{
    static std::unique_ptr<FailSafeState> s = std::make_unique<FailSafeState>();
    return s;
}

QString nowText()
{
    const QDateTime now = QDateTime::currentDateTime();
    return platform::shortDate(now.date()) + QLatin1Char(' ') + platform::longTime(now.time());
}

QString versionText()
{
    const platform::Version v = platform::programVersion();
    return QString::number(v.major) + QLatin1Char('.') + QString::number(v.minor) + QLatin1Char('.') +
           QString::number(v.revision);
}
}  // namespace

FailSafeState& state() { return *stateStore(); }

void resetState()
{
    FailSafeState& s = state();
    if (s.circular.fd >= 0)
        ::close(s.circular.fd);
    stateStore() = std::make_unique<FailSafeState>();
    Err().clear();
}

PendingError& Err()
{
    static PendingError pending;
    return pending;
}

platform::Replaceable<ErrorDialogHost*>& errorDialog()
{
    static platform::Replaceable<ErrorDialogHost*> inForce(nullptr);
    return inForce;
}

ErrorDialogHost* errorDialogHost() { return errorDialog().get(); }

QString message(int number)
{
    switch (number) {
        case 1: return QStringLiteral("] END PROGRAM ");
        case 16: return QStringLiteral(" error");
        case 17: return QStringLiteral(" <unavailable: line numbers not used>");
        case 18: return QStringLiteral("<< ERROR >>");
        case 19: return QStringLiteral("Module      ");
        case 20:
            return nowText() + QStringLiteral(" - start FailSafe client v") + kFailSafeVersion +
                   QStringLiteral(" data capture");
        case 21: return QStringLiteral("The error handler was not initialized before a call to 'fsPOP()' was made.");
        case 22:
            return QStringLiteral(
                "The program is too deeply nested. The error handler can only handle 1000 levels of recursion.");
        case 23: return QStringLiteral("generated error");
        case 24: return QStringLiteral(" - Internal Error Handler");
        case 25: return QStringLiteral("An internal error ");
        case 26: return QStringLiteral(" has occurred in module FAILSAFE.BAS, procedure pfErr(), line ");
        case 27: return QStringLiteral("Error Information");
        case 28: return QStringLiteral("Call Tree & Arguments");
        case 29: return QStringLiteral("System State Information");
        case 30: return QStringLiteral("Procedure");
        case 31:
            return nowText() + QStringLiteral(" - stop FailSafe client v") + kFailSafeVersion +
                   QStringLiteral(" data capture");
        case 32: return QStringLiteral("FailSafe(tm) : Program START");
        case 33: return QStringLiteral("START PROGRAM");
        case 34: return QStringLiteral("Program Error Intercepted");
        case 35: return QStringLiteral("Line Number ");
        case 36: return QStringLiteral("Error No. ");
        case 37: return QStringLiteral("Description ");
        case 38: return QStringLiteral("Category ");
        case 39: return QStringLiteral(" bytes");
        case 40: return QStringLiteral("YES");
        case 41: return QStringLiteral("NO");
        case 42: return QStringLiteral("&Continue");
        case 43: return QStringLiteral("&Go to");
        case 44: return QStringLiteral("&Break to");
        case 48: return QStringLiteral("Procedure is unbalanced or contains calls to unbalanced routines. ");
        case 49: return QStringLiteral("'fsPOP()' was called without 'fsPUSH()'. ");
        case 50: return QStringLiteral("Choose OK break to VB.");
        case 51: return QStringLiteral("Choose CANCEL to continue with program.");
        case 52:
            return QStringLiteral(
                "Windows is in 'Standard' mode. Microsecond timer resolution only available under Windows 'Enhanced' mode. Using millisecond timer resolution.");
        case 53: return QStringLiteral("FSVB100");
        case 55: return QStringLiteral("&More");
        case 58: return QStringLiteral("trappable errors");
        case 61: return QStringLiteral("Source ");
        case 62:
            return platform::appFolder() + QDir::separator() + platform::executableName() + QStringLiteral(" ver ") +
                   versionText();
        default: return {};
    }
}

}  // namespace vm::failsafe
