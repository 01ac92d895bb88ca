#include "FailSafeHooks.h"

#include "FailSafeState.h"

#include <QCoreApplication>
#include <QThread>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace vm::failsafe {

namespace {
ClockSource g_clock;
MemorySource g_memory;
MessageBoxHook g_messageBox;
WindowsEnabledHook g_windowsEnabled;
StopHook g_stop;

std::int64_t steadyMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
}  // namespace

void setClock(ClockSource clock) { g_clock = std::move(clock); }

std::int64_t msClock() { return g_clock ? g_clock() : steadyMilliseconds(); }

void setMemorySource(MemorySource source) { g_memory = std::move(source); }

// Reading the figures costs more than the rest of a trace line, and lines
// can come thousands a second: figures younger than this are reused.
constexpr std::int64_t kMemoryFiguresMaxAgeMs = 10;

sys::MemoryStatus traceMemoryStatus()
{
    if (g_memory)
        return g_memory();
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

void setMessageBoxHook(MessageBoxHook hook) { g_messageBox = std::move(hook); }

bool showMessageBox(BoxIcon icon, BoxButtons buttons, const QString& title, const QString& text)
{
    if (g_messageBox)
        return g_messageBox(icon, buttons, title, text);
    std::fprintf(stderr, "%s: %s\n", title.toLocal8Bit().constData(), text.toLocal8Bit().constData());
    return false;
}

void setWindowsEnabledHook(WindowsEnabledHook hook) { g_windowsEnabled = std::move(hook); }

void setVisibleWindowsEnabled(bool enabled)
{
    if (g_windowsEnabled)
        g_windowsEnabled(enabled);
}

void setStopHook(StopHook hook) { g_stop = std::move(hook); }

void debuggerStop()
{
    if (g_stop) {
        g_stop();
        return;
    }
    std::exit(EXIT_SUCCESS);
}

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
