#include "DisplayCheck.h"

#include <QtGlobal>

namespace vm::platform {

std::optional<QString> missingDisplay()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return QStringLiteral("no display (DISPLAY is not set)");
#endif
    return std::nullopt;
}

}  // namespace vm::platform
