#pragma once
// One line of the trace: application tag, line counter, time since the
// program started, "->" or "<-", the frame's text and the optional memory and
// user fields.
//
//   [RiVaVaz] [00002] [00000.0031] ->\tfrmVmailCfg.frm : Sub SSTab1_Click : (PreviousTab=0) : [res = 42%, mem =
//   23134208] :

#include "FailSafeState.h"

#include <QString>

#include <cstdint>

namespace vm::failsafe {

// The counter with at least five digits ("00001").
QString traceCounterText(std::int32_t counter);

// Milliseconds as ten-thousandths of the "00000.0000" format, always with
// "." (1234 -> "00000.1234", 123456 -> "00012.3456").
QString traceTimeText(std::int64_t milliseconds);

// The frame text a line shows: the stored entry text from the character
// after its first " : ", which is the text without its depth prefix.
QString traceFrameText(const QString& storedEntry);

struct TraceLineFields {
    QString appTag;  // "[RiVaVaz] "
    std::int32_t counter = 0;
    std::int64_t milliseconds = 0;
    bool exitLine = false;
    QString frameText;
    bool includeArguments = true;
    bool includeResources = true;
    bool includeMemory = true;
    bool includeUser = true;
    std::uint32_t memoryLoad = 0;
    std::uint64_t availPhysical = 0;
    QString userName;
};

// The complete line, ending in CR LF.
QString formatTraceLine(const TraceLineFields& fields);

// The line for the top frame of the call stack, with the current time less
// `correction`; also records that time as the frame's time.
QString buildTraceLine(std::int64_t correction, bool exitLine);

// The line written to every sink at start-up: tag + date + time + " - start
// FailSafe client v..." + CR LF; when a log named in the settings is off, the
// reason comes before the CR LF.
QString startLine();

}  // namespace vm::failsafe
