#include "TraceOutput.h"

#include "CaptureFile.h"
#include "CircularLog.h"
#include "FailSafeState.h"
#include "MonitorLink.h"

#include "platform/AnsiText.h"
#include "platform/RuntimeError.h"

namespace vm::failsafe {

bool traceSinkActive()
{
    const FailSafeState& s = state();
    return s.settings.captureToDisk || s.circular.on || s.monitorPresent;
}

void traceOutput(const QString& line)
{
    FailSafeState& s = state();
    const bool toFile = s.settings.captureToDisk && s.settings.writeToDisk;
    if (!toFile && !s.circular.on && !s.monitorPresent)
        return;
    QByteArray bytes;
    if (toFile || s.circular.on)
        platform::ignoreErrors([&] { bytes = platform::encodeAnsi(line); });
    if (toFile)
        platform::ignoreErrors([&] { appendCaptureLine(s.settings.logFile, bytes); });
    if (s.circular.on)
        platform::ignoreErrors([&] { writeCircularRecord(s.circular, bytes); });
    if (s.monitorPresent && s.monitorLink)
        platform::ignoreErrors([&] { sendLineToMonitor(*s.monitorLink, line); });
}

}  // namespace vm::failsafe
