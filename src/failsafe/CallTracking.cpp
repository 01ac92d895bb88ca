// Entry and exit of traced procedures: the call stack behind the trace lines,
// the error report's call tree and the balance check.
#include "CallTracking.h"

#include "FailSafe.h"
#include "FailSafeHooks.h"
#include "FailSafeState.h"
#include "TraceLine.h"
#include "TraceOutput.h"

#include "platform/RuntimeError.h"

namespace vm::failsafe {

namespace {

const QString kSeparator = QStringLiteral(" : ");
const QString kCrLf = QStringLiteral("\r\n");

// While a monitor shows the times, the first entry and the first exit
// measure their own cost so later lines can leave it out.
void noteSelfTiming(std::int32_t linesWrittenSoFar)
{
    FailSafeState& s = state();
    if (s.monitorPresent && s.lineCounter == linesWrittenSoFar)
        s.timingNote = msClock();
}

void storeSelfTiming(std::int64_t& correction)
{
    FailSafeState& s = state();
    if (s.timingNote < 0)
        return;
    correction = msClock() - s.timingNote;
    s.timingNote = -1;
}

bool bothTrailsAnnounceUnwinding()
{
    const ErrorSlot& slot = state().error.slot[0];
    return slot.moduleTrail.contains(QStringLiteral(" << ")) && slot.procedureTrail.contains(QStringLiteral(" << "));
}

void warnUnbalancedExit(const QString& module, const QString& procedure)
{
    if (!bothTrailsAnnounceUnwinding() &&
        showMessageBox(BoxIcon::Exclamation, BoxButtons::OkCancel, message(53), unbalancedExitWarning(module, procedure)))
        debuggerStop();
    ErrorSlot& slot = state().error.slot[0];
    slot.moduleTrail.clear();
    slot.procedureTrail.clear();
}

void push(const QString& module, const QString& procedure, const QString& arguments)
{
    ignoreErrors([] {
        if (!state().started)
            fsSTART();
    });
    FailSafeState& s = state();
    noteSelfTiming(0);
    ignoreErrors(waitWhileDialogShowing);
    const int depth = ++s.stack.depth;
    // Frames beyond the last slot cannot be stored; their exit then finds no
    // matching entry and the stack starts afresh.
    const bool stored = depth >= 1 && depth <= kMaxFrames;
    if (stored)
        s.stack.entry[depth] = frameEntryText(depth, module, procedure, arguments);
    if (traceSinkActive()) {
        if (stored)
            s.stack.codePointer[depth] = 0;
        ++s.lineCounter;
        ignoreErrors([&] { traceOutput(buildTraceLine(s.entryCorrection, false)); });
    }
    if (stored)
        s.stack.entry[depth].prepend(depthPrefix(depth));
    storeSelfTiming(s.entryCorrection);
}

void pop(const QString& module, const QString& procedure)
{
    FailSafeState& s = state();
    noteSelfTiming(1);
    ignoreErrors(waitWhileDialogShowing);
    const int depth = s.stack.depth;
    if (depth >= 1 && depth <= kMaxFrames && entryMatches(s.stack.entry[depth], module, procedure)) {
        if (traceSinkActive()) {
            ++s.lineCounter;
            ignoreErrors([&] { traceOutput(buildTraceLine(s.exitCorrection, true)); });
        }
        s.stack.entry[depth].clear();
        s.stack.codePointer[depth] = 0;
        s.stack.depth = depth - 1;
    } else {
        s.stack.depth = 0;
        if (s.devEnvironment)
            ignoreErrors([&] { warnUnbalancedExit(module, procedure); });
    }
    storeSelfTiming(s.exitCorrection);
}

}  // namespace

QString depthText(int depth)
{
    return QLatin1Char(' ') + QString::number(depth);
}

QString depthPrefix(int depth)
{
    return depthText(depth) + kSeparator;
}

QString frameEntryText(int depth, const QString& module, const QString& procedure, const QString& arguments)
{
    return QString(qMax(depth - 1, 0), QLatin1Char('\t')) + module + kSeparator + procedure + kSeparator + arguments;
}

bool entryMatches(const QString& entry, const QString& module, const QString& procedure)
{
    return entry.contains(module + kSeparator + procedure, Qt::CaseSensitive);
}

QString unbalancedExitWarning(const QString& module, const QString& procedure)
{
    return message(19) + QLatin1Char('\t') + module + kCrLf + message(30) + QLatin1Char('\t') + procedure + kCrLf +
           kCrLf + message(48) + kCrLf + kCrLf + message(49) + kCrLf + kCrLf + message(50) + kCrLf + message(51);
}

bool isDevelopmentHost(const QString& fileName)
{
    QString name = fileName;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    name = name.mid(name.lastIndexOf(QLatin1Char('/')) + 1).toUpper();
    return name == QLatin1String("VB.EXE") || name == QLatin1String("VB5.EXE") || name == QLatin1String("VB6.EXE") ||
           name == QLatin1String("VB32.EXE");
}

void fsPUSH(const QString& module, const QString& procedure, const QString& arguments)
{
    ignoreErrors([&] { push(module, procedure, arguments); });
}

void fsPOP(const QString& module, const QString& procedure, const QString&)
{
    ignoreErrors([&] { pop(module, procedure); });
}

}  // namespace vm::failsafe
