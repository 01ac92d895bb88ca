#pragma once
// Sending trace lines to the sinks that are on: the capture file, the
// circular log and the trace monitor, in that order.

#include <QString>

namespace vm::failsafe {

// True when at least one sink takes lines: capture to disk switched on, the
// circular log open, or a monitor found at start-up.
bool traceSinkActive();

// Trace output of one line (which ends in CR LF) to every active sink.
// Failures of a sink are skipped; never raises.
void traceOutput(const QString& line);

}  // namespace vm::failsafe
