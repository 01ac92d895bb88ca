#pragma once
// The system information report of the error module: a plain-text
// description of the machine and of the running process, attached to every
// error report. fsSystemInfo (FailSafe.h) builds it; the routines below are
// its parts, also used by the error reports.

#include "platform/Replaceable.h"
#include "platform/SystemQuery.h"

#include <QString>

#include <cstdint>
#include <functional>

namespace vm::failsafe {

// The Windows version text of the version record.
QString pfWindowsVersion();
// Appends the "Drives" section to `report`.
void pfDriveInfo(QString& report);
// Processor description.
QString pfCpuName();
// One line per module loaded in the process, each starting with indent + 2
// blanks and ending with CR LF; a single CR LF when the platform cannot list
// its modules.
QString pfModuleList(std::int16_t indent);
// One string field (2, 3, 5, 6 or 9) of a file's version resource.
QString pfFileVersionInfo(const QString& path, int field);
// A file time stamp in the general date format: kind 1 the creation time,
// 0 the last access time (2 the last write time); "" when the file cannot be
// opened.
QString pfFileTime(const QString& path, int kind);

// The whole report from `query`. The program-file lines (name, time stamp,
// size and the empty line after them) are left out when `withProgramFile`
// is false. Errors of single steps are ignored.
QString buildSystemInfoReport(const platform::SystemQuery& query, bool withProgramFile);

// Called with true when a build starts and false when it ends, so the GUI
// can show the busy pointer meanwhile.
using BusyCursorHook = std::function<void(bool busy)>;
platform::Replaceable<BusyCursorHook>& busyCursorHook();

}  // namespace vm::failsafe
