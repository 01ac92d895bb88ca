#pragma once
// Run-log hooks of the start-up load. They do nothing themselves: their
// texts are meant to be seen in the trace log only, where the call tracking
// records each call with its arguments.

#include <QString>

#include <cstdint>

namespace vm {

void LogRunInfo(std::int16_t i, const QString& s);
void LogError(std::int16_t i, const QString& s);

}  // namespace vm
