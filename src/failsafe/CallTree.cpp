#include "CallTree.h"

#include <algorithm>

namespace vm::failsafe {

namespace {

QString treeLine(int number, const char* marker, int level, const QString& text)
{
    return QLatin1Char(' ') + QString::number(number) + QLatin1String(marker) + QLatin1Char('\t') +
           QString(level, QLatin1Char('\t')) + text;
}

}  // namespace

int stackCopyDepth(const ErrorRecord& record)
{
    return std::clamp(record.stackCopy[0].trimmed().toInt(), 0, kMaxFrames);
}

QString runtimeErrorText(const ErrorSlot& slot)
{
    QString text = QStringLiteral("Runtime error ") + QString::number(slot.number) + QStringLiteral(", ") +
                   slot.description;
    if (slot.line > 0)
        text += QStringLiteral(" on line ") + QString::number(slot.line);
    return text;
}

QString callTextOfEntry(const QString& entry)
{
    QString text = entry;
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    const qsizetype separator = text.indexOf(QStringLiteral(" : "));
    if (separator >= 0)
        text = text.mid(separator + 3);
    return text.trimmed();
}

QStringList callTreeLines(const ErrorRecord& record, const std::array<std::int16_t, kMaxFrames + 1>& codePointers)
{
    QStringList lines;
    const int depth = stackCopyDepth(record);
    for (int frame = 1; frame <= depth; ++frame) {
        const int level = frame - 1;
        lines << treeLine(int(lines.size()) + 1, " : Call", level, callTextOfEntry(record.stackCopy[frame]));
        if (codePointers[frame] > 0)
            lines << treeLine(int(lines.size()) + 1, " : Code", level + 1,
                              QStringLiteral("Code Pointer = ") + QString::number(codePointers[frame]));
    }
    // The error sits one level below the frame that trapped it; each remote
    // frame one level deeper again.
    lines << treeLine(int(lines.size()) + 1, " : Trap", depth, runtimeErrorText(record.slot[0]));
    for (int level = 1; level <= record.remoteLevels && level < kErrorSlots; ++level)
        lines << treeLine(int(lines.size()) + 1, " : Error", depth + level, runtimeErrorText(record.slot[level]));
    return lines;
}

}  // namespace vm::failsafe
