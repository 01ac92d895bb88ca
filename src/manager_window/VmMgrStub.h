#pragma once
// Run-log hooks of the start-up load. They do nothing themselves: their
// texts are meant to be seen in the trace log only, where the call tracking
// records each call with its arguments.

#include "mailbox/FolderLoad.h"

#include <QString>

#include <cstdint>

namespace vm::manager_window {

void LogRunInfo(std::int16_t i, const QString& s);
void LogError(std::int16_t i, const QString& s);

// The load's run-log texts handed to the two hooks.
mailbox::LoadLog runLog();

}  // namespace vm::manager_window
