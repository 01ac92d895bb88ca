#include "FailSafeHooks.h"

#include "FailSafeState.h"

#include <QCoreApplication>
#include <QThread>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace vm::failsafe {

namespace {

std::int64_t steadyMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Reading the figures costs more than the rest of a trace line, and lines
// can come thousands a second: figures younger than this are reused.
constexpr std::int64_t kMemoryFiguresMaxAgeMs = 10;

sys::MemoryStatus recentMemoryStatus()
{
    static sys::MemoryStatus figures;
    static std::int64_t readAt = 0;
    static bool read = false;
    const std::int64_t now = steadyMilliseconds();
    if (!read || now - readAt >= kMemoryFiguresMaxAgeMs) {
        figures = sys::physicalMemoryStatus();
        readAt = now;
        read = true;
    }
    return figures;
}

bool boxOnStandardError(BoxIcon /*icon*/, BoxButtons /*buttons*/, const QString& title, const QString& text)
{
    std::fprintf(stderr, "%s: %s\n", title.toLocal8Bit().constData(), text.toLocal8Bit().constData());
    return false;
}

}  // namespace

Replaceable<ClockSource>& clock()
{
    static Replaceable<ClockSource> inForce(&steadyMilliseconds);
    return inForce;
}

std::int64_t msClock() { return clock().get()(); }

Replaceable<MemorySource>& memorySource()
{
    static Replaceable<MemorySource> inForce(&recentMemoryStatus);
    return inForce;
}

sys::MemoryStatus traceMemoryStatus() { return memorySource().get()(); }

Replaceable<MessageBoxHook>& messageBoxHook()
{
    static Replaceable<MessageBoxHook> inForce(&boxOnStandardError);
    return inForce;
}

bool showMessageBox(BoxIcon icon, BoxButtons buttons, const QString& title, const QString& text)
{
    return messageBoxHook().get()(icon, buttons, title, text);
}

Replaceable<WindowsEnabledHook>& windowsEnabledHook()
{
    static Replaceable<WindowsEnabledHook> inForce;
    return inForce;
}

void setVisibleWindowsEnabled(bool enabled)
{
    if (const WindowsEnabledHook& hook = windowsEnabledHook().get())
        hook(enabled);
}

Replaceable<StopHook>& stopHook()
{
    static Replaceable<StopHook> inForce([] { std::exit(EXIT_SUCCESS); });
    return inForce;
}

void debuggerStop() { stopHook().get()(); }

void yieldToMessageLoop()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    QThread::msleep(2);
}

void waitWhileDialogShowing()
{
    while (state().dialogShowing)
        yieldToMessageLoop();
}

}  // namespace vm::failsafe
