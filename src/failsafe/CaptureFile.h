#pragma once
// The capture file: every trace line appended to the log file, followed by an
// empty line. The file is opened and closed for each line; the error log
// shares it.

#include <QByteArray>
#include <QString>

namespace vm::failsafe {

// Appends `line` (already ending in CR LF) and one more CR LF. Returns false
// when the file could not be written; never raises.
bool appendCaptureLine(const QString& path, const QByteArray& line);

}  // namespace vm::failsafe
