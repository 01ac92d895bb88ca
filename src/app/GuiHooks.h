#pragma once
// Registers the window-system services that the non-widget modules ask for:
// the error report dialog, the error module's message boxes, busy pointer
// and window switch, and the display figures of the system report.

namespace vm::app {

void installGuiHooks();
void removeGuiHooks();

}  // namespace vm::app
