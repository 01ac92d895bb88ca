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

platform::MemoryStatus recentMemoryStatus()
{
    static platform::MemoryStatus figures;
    static std::int64_t readAt = 0;
    static bool read = false;
    const std::int64_t now = steadyMilliseconds();
    if (!read || now - readAt >= kMemoryFiguresMaxAgeMs) {
        figures = platform::physicalMemoryStatus();
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

platform::Replaceable<ClockSource>& clock()
{
    static platform::Replaceable<ClockSource> inForce(&steadyMilliseconds);
    return inForce;
}

std::int64_t msClock() { return clock().get()(); }

platform::Replaceable<MemorySource>& memorySource()
{
    static platform::Replaceable<MemorySource> inForce(&recentMemoryStatus);
    return inForce;
}

platform::MemoryStatus traceMemoryStatus() { return memorySource().get()(); }

platform::Replaceable<MessageBoxHook>& messageBoxHook()
{
    static platform::Replaceable<MessageBoxHook> inForce(&boxOnStandardError);
    return inForce;
}

bool showMessageBox(BoxIcon icon, BoxButtons buttons, const QString& title, const QString& text)
{
    return messageBoxHook().get()(icon, buttons, title, text);
}

platform::Replaceable<WindowsEnabledHook>& windowsEnabledHook()
{
    static platform::Replaceable<WindowsEnabledHook> inForce;
    return inForce;
}

void setVisibleWindowsEnabled(bool enabled)
{
    if (const WindowsEnabledHook& hook = windowsEnabledHook().get())
        hook(enabled);
}

platform::Replaceable<StopHook>& stopHook()
{
    static platform::Replaceable<StopHook> inForce([] { std::exit(EXIT_SUCCESS); });
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
