// Entry and exit of traced procedures: the call stack behind the trace lines,
// the error report's call tree and the balance check.
#include "CallTracking.h"

#include "FailSafe.h"
#include "FailSafeHooks.h"
#include "FailSafeState.h"
#include "TraceLine.h"
#include "TraceOutput.h"

#include "platform/RuntimeError.h"

#include <charconv>

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
    if (!bothTrailsAnnounceUnwinding() && showMessageBox(BoxIcon::Exclamation, BoxButtons::OkCancel, message(53),
                                                         unbalancedExitWarning(module, procedure)))
        debuggerStop();
    ErrorSlot& slot = state().error.slot[0];
    slot.moduleTrail.clear();
    slot.procedureTrail.clear();
}

void appendNumber(QString& text, int value)
{
    char digits[16];
    auto* const end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    text.append(QLatin1StringView(digits, end - digits));
}

// depth prefix + frame entry text, built in the slot's own buffer: the
// program's every call passes here, so no temporary strings.
void storeEntry(QString& slot, int depth, const QString& module, const QString& procedure, const QString& arguments)
{
    slot.resize(0);
    slot.append(QLatin1Char(' '));
    appendNumber(slot, depth);
    slot.append(kSeparator);
    for (int i = 1; i < depth; ++i)
        slot.append(QLatin1Char('\t'));
    slot.append(module).append(kSeparator).append(procedure).append(kSeparator).append(arguments);
}

void push(const QString& module, const QString& procedure, const QString& arguments)
{
    platform::ignoreErrors([] {
        if (!state().started)
            fsSTART();
    });
    FailSafeState& s = state();
    noteSelfTiming(0);
    platform::ignoreErrors(waitWhileDialogShowing);
    const int depth = ++s.stack.depth;
    // Frames beyond the last slot cannot be stored; their exit then finds no
    // matching entry and the stack starts afresh.
    const bool stored = depth >= 1 && depth <= kMaxFrames;
    // The entry line shows the text after the depth prefix, so the prefix
    // can go in at once.
    if (stored)
        storeEntry(s.stack.entry[depth], depth, module, procedure, arguments);
    if (traceSinkActive()) {
        if (stored)
            s.stack.codePointer[depth] = 0;
        ++s.lineCounter;
        platform::ignoreErrors([&] { traceOutput(buildTraceLine(s.entryCorrection, false)); });
    }
    // Critical-error and file-open boxes of the operating system need no
    // suppressing here: this platform shows none.
    storeSelfTiming(s.entryCorrection);
}

void pop(const QString& module, const QString& procedure)
{
    FailSafeState& s = state();
    noteSelfTiming(1);
    platform::ignoreErrors(waitWhileDialogShowing);
    const int depth = s.stack.depth;
    if (depth >= 1 && depth <= kMaxFrames && entryMatches(s.stack.entry[depth], module, procedure)) {
        if (traceSinkActive()) {
            ++s.lineCounter;
            platform::ignoreErrors([&] { traceOutput(buildTraceLine(s.exitCorrection, true)); });
        }
        s.stack.entry[depth].resize(0);  // keeps the buffer for the next frame at this depth
        s.stack.codePointer[depth] = 0;
        s.stack.depth = depth - 1;
    } else {
        s.stack.depth = 0;
        if (s.devEnvironment)
            platform::ignoreErrors([&] { warnUnbalancedExit(module, procedure); });
    }
    storeSelfTiming(s.exitCorrection);
}

}  // namespace

QString depthText(int depth) { return QLatin1Char(' ') + QString::number(depth); }

bool entryMatches(QStringView entry, QStringView module, QStringView procedure)
{
    // Same as searching for module + " : " + procedure, without building it.
    const qsizetype needed = module.size() + kSeparator.size() + procedure.size();
    for (qsizetype at = entry.indexOf(module); at >= 0 && at + needed <= entry.size();
         at = entry.indexOf(module, at + 1)) {
        const QStringView rest = entry.mid(at + module.size());
        if (rest.startsWith(kSeparator) && rest.mid(kSeparator.size()).startsWith(procedure))
            return true;
    }
    return false;
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
    platform::ignoreErrors([&] { push(module, procedure, arguments); });
}

void fsPOP(const QString& module, const QString& procedure, const QString& /*arguments*/)
{
    platform::ignoreErrors([&] { pop(module, procedure); });
}

}  // namespace vm::failsafe
