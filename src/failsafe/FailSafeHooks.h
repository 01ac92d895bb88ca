#pragma once
// The platform services the error module relies on, each replaceable: the
// millisecond clock of the trace times, the memory figures of the trace
// lines, message boxes, enabling and disabling the program's visible
// windows and the debugger stop; and yielding to the message loop. The core
// has no widget code: the GUI puts message boxes and the window switch in
// force, tests put clocks and fixed memory figures in force.

#include "platform/MemoryStatus.h"
#include "platform/Replaceable.h"

#include <QString>

#include <cstdint>
#include <functional>

namespace vm::failsafe {

// Milliseconds of a steady clock (the multimedia timer of old). Default: a
// monotonic clock; tests put a fake one in force.
using ClockSource = std::function<std::int64_t()>;
platform::Replaceable<ClockSource>& clock();
std::int64_t msClock();

// Memory figures for trace lines. Default: vm::platform::physicalMemoryStatus,
// reused for lines less than a hundredth of a second apart.
using MemorySource = std::function<platform::MemoryStatus()>;
platform::Replaceable<MemorySource>& memorySource();
platform::MemoryStatus traceMemoryStatus();

// A message box of the module. Returns true for OK (false for Cancel or a
// box with OK only that was dismissed). Default: writes title and text to
// stderr and answers Cancel.
enum class BoxIcon { Critical, Exclamation };
enum class BoxButtons { Ok, OkCancel };
using MessageBoxHook = std::function<bool(BoxIcon, BoxButtons, const QString& title, const QString& text)>;
platform::Replaceable<MessageBoxHook>& messageBoxHook();
bool showMessageBox(BoxIcon icon, BoxButtons buttons, const QString& title, const QString& text);

// Disables (false) or re-enables (true) every visible window of the program
// while the trace monitor holds it paused. Default: nothing.
using WindowsEnabledHook = std::function<void(bool enabled)>;
platform::Replaceable<WindowsEnabledHook>& windowsEnabledHook();
void setVisibleWindowsEnabled(bool enabled);

// The debugger stop. Outside the development environment a stop ends the
// program at once; the default does exactly that. Tests replace it.
using StopHook = std::function<void()>;
platform::Replaceable<StopHook>& stopHook();
void debuggerStop();

// Processes pending events once and gives the processor away for a moment,
// for the loops that wait on the error dialog or on a paused monitor.
void yieldToMessageLoop();

// Waits, keeping the message loop running, while the error dialog is on
// screen, so no frame is pushed or popped and no second error is handled
// meanwhile.
void waitWhileDialogShowing();

}  // namespace vm::failsafe
