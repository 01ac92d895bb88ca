#include "TraceLine.h"

#include "FailSafeHooks.h"

#include "platform/RuntimeError.h"

namespace vm::failsafe {

namespace {

const QString kFieldSeparator = QStringLiteral(" : ");

// Without argument texts a line ends before its second ":", so the
// " : (args)" part goes and the blank before it with it.
QString withoutArguments(const QString& line)
{
    const qsizetype first = line.indexOf(QLatin1Char(':'));
    const qsizetype second = first < 0 ? -1 : line.indexOf(QLatin1Char(':'), first + 1);
    if (second < 0)
        return line;
    QString cut = line.left(second);
    while (cut.endsWith(QLatin1Char(' ')))
        cut.chop(1);
    return cut;
}

QString memoryFields(const TraceLineFields& f)
{
    if (f.includeResources) {
        QString text = QStringLiteral(" : [res = ") + QString::number(f.memoryLoad) + QLatin1Char('%');
        if (f.includeMemory)
            text += QStringLiteral(", mem = ") + QString::number(f.availPhysical);
        return text + QLatin1Char(']');
    }
    if (f.includeMemory)
        return QStringLiteral(" : [mem = ") + QString::number(f.availPhysical) + QLatin1Char(']');
    return {};
}

}  // namespace

QString traceCounterText(std::int32_t counter)
{
    if (counter < 0)
        return QLatin1Char('-') +
               QString::number(-static_cast<std::int64_t>(counter)).rightJustified(5, QLatin1Char('0'));
    return QString::number(counter).rightJustified(5, QLatin1Char('0'));
}

QString traceTimeText(std::int64_t milliseconds)
{
    const bool negative = milliseconds < 0;
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(milliseconds)
                                             : static_cast<std::uint64_t>(milliseconds);
    const QString whole = QString::number(magnitude / 10000).rightJustified(5, QLatin1Char('0'));
    const QString fraction = QString::number(magnitude % 10000).rightJustified(4, QLatin1Char('0'));
    return (negative ? QStringLiteral("-") : QString()) + whole + QLatin1Char('.') + fraction;
}

QString traceFrameText(const QString& storedEntry)
{
    const qsizetype at = storedEntry.indexOf(kFieldSeparator);
    return at < 0 ? storedEntry : storedEntry.mid(at + kFieldSeparator.size());
}

QString formatTraceLine(const TraceLineFields& f)
{
    QString line = f.appTag + QLatin1Char('[') + traceCounterText(f.counter) + QStringLiteral("] [") +
                   traceTimeText(f.milliseconds) + QStringLiteral("] ") +
                   (f.exitLine ? QStringLiteral("<-") : QStringLiteral("->")) + f.frameText;
    if (!f.includeArguments)
        line = withoutArguments(line);
    line += memoryFields(f);
    if (f.includeUser)
        line += kFieldSeparator + f.userName;
    return line + QStringLiteral("\r\n");
}

QString buildTraceLine(std::int64_t correction, bool exitLine)
{
    FailSafeState& s = state();
    const int depth = s.stack.depth;
    if (depth < 1 || depth > kMaxFrames)
        platform::raiseError(platform::err::SubscriptOutOfRange);
    TraceLineFields f;
    f.appTag = s.appTag;
    f.counter = s.lineCounter;
    f.milliseconds = msClock() - s.startTime - correction;
    f.exitLine = exitLine;
    f.frameText = traceFrameText(s.stack.entry[depth]);
    f.includeArguments = s.settings.includeArguments;
    f.includeResources = s.settings.includeResources;
    f.includeMemory = s.settings.includeMemory;
    f.includeUser = s.settings.includeUser;
    if (f.includeResources || f.includeMemory) {
        const platform::MemoryStatus m = traceMemoryStatus();
        f.memoryLoad = m.memoryLoad;
        f.availPhysical = m.availPhysical;
    }
    s.stack.frameTime[depth] = f.milliseconds;
    return formatTraceLine(f);
}

QString startLine() { return state().appTag + message(20) + state().startNote + QStringLiteral("\r\n"); }

}  // namespace vm::failsafe
