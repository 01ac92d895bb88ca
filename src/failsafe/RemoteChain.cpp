#include "RemoteChain.h"

#include "ErrorCategory.h"

#include "platform/RuntimeError.h"

#include <QStringList>

#include <algorithm>

namespace vm::failsafe {

namespace {

constexpr int kFieldsPerFrame = 6;
constexpr int kAutomationError = 440;

// The leading whole number of a text, as the classic Val() reads it; 0 when
// there is none.
std::int32_t leadingNumber(const QString& text)
{
    const QString t = text.trimmed();
    qsizetype end = 0;
    if (end < t.size() && (t[end] == QLatin1Char('-') || t[end] == QLatin1Char('+')))
        ++end;
    while (end < t.size() && t[end].isDigit())
        ++end;
    bool ok = false;
    const qlonglong value = t.left(end).toLongLong(&ok);
    if (!ok)
        return 0;
    return static_cast<std::int32_t>(std::clamp<qlonglong>(value, INT32_MIN, INT32_MAX));
}

QString textField(const QStringList& fields, qsizetype index)
{
    if (index >= fields.size() || fields[index].trimmed().isEmpty())
        return kUnknownField;
    return fields[index];
}

std::int32_t numberField(const QStringList& fields, qsizetype index)
{
    return index < fields.size() ? leadingNumber(fields[index]) : 0;
}

}  // namespace

bool isRemoteSource(const QString& sourceText) { return sourceText.contains(QLatin1Char('!')); }

std::vector<RemoteFrame> parseRemoteChain(const QString& sourceText)
{
    std::vector<RemoteFrame> frames;
    if (!isRemoteSource(sourceText))
        return frames;
    const QStringList fields = sourceText.split(QLatin1Char('!'));
    const int count = std::clamp<std::int32_t>(leadingNumber(fields.first()), 0, kErrorSlots - 1);
    for (int frame = 0; frame < count; ++frame) {
        const qsizetype base = 1 + qsizetype(frame) * kFieldsPerFrame;
        frames.push_back({textField(fields, base), textField(fields, base + 1), textField(fields, base + 2),
                          numberField(fields, base + 3), numberField(fields, base + 4), textField(fields, base + 5)});
    }
    return frames;
}

void recordRemoteChain(ErrorRecord& record, const QString& sourceText, std::int32_t pendingNumber,
                       const QString& ownSource)
{
    const std::vector<RemoteFrame> frames = parseRemoteChain(sourceText);
    if (frames.empty())
        return;
    const QString joint = QStringLiteral(" << ");
    for (size_t i = 0; i < frames.size(); ++i) {
        const RemoteFrame& frame = frames[i];
        const ErrorSlot& outer = record.slot[i];
        ErrorSlot& slot = record.slot[i + 1];
        slot.category = categoryText(frame.number);
        slot.moduleTrail = outer.moduleTrail + joint + frame.module;
        slot.procedureTrail = outer.procedureTrail + joint + frame.procedure;
        slot.line = frame.line;
        slot.source = frame.source + QStringLiteral(" (remote)");
        slot.number = frame.number;
        slot.description = frame.description;
    }
    record.remoteLevels = static_cast<std::int16_t>(frames.size());

    ErrorSlot& local = record.slot[0];
    local.number = kAutomationError;
    local.source = ownSource + QStringLiteral(" (local)");
    local.description = QStringLiteral("Remote ") + platform::standardErrorDescription(pendingNumber);
}

}  // namespace vm::failsafe
