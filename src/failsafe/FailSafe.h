#pragma once
// Public calls of the error-trapping module.

#include <QString>

#include <optional>

namespace vm::failsafe {

// Start-up: settings, circular log, call stack, start line. Runs once.
void fsSTART();

// Entry and exit of a traced procedure (never raise).
void fsPUSH(const QString& module, const QString& procedure, const QString& arguments);
void fsPOP(const QString& module, const QString& procedure, const QString& arguments);

// Central error handler for the pending error (Err()); returns the dialog's
// decision (0 continue, 5 break), or nothing in silent mode.
std::optional<int> fsERROR(const QString& module, const QString& procedure);

// Builds the system information report into `report`.
void fsSystemInfo(QString& report);

}  // namespace vm::failsafe
