#include "ErrorLog.h"

#include "CallTree.h"

#include "platform/AnsiText.h"
#include "platform/FileSystem.h"
#include "platform/LocaleText.h"
#include "platform/RuntimeError.h"

namespace vm::failsafe {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
constexpr int kValueColumn = 30;

// Line ends of text typed or built elsewhere become CR LF.
QString withCrLf(QString text)
{
    text.replace(kCrLf, QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), kCrLf);
    return text;
}

QString trimmedLabel(int messageNumber) { return message(messageNumber).trimmed() + QLatin1Char(' '); }

QString errorBlock(const ErrorRecord& record, int slotIndex, int depth)
{
    const ErrorSlot& slot = record.slot[slotIndex];
    QString block = QStringLiteral("\t*Error ") + QString::number(slotIndex + 1) + kCrLf;
    block += labelLine(message(38), slot.category) + kCrLf;
    block += labelLine(trimmedLabel(61), slot.source) + kCrLf;
    block += labelLine(trimmedLabel(19), slot.moduleTrail) + kCrLf;
    block += labelLine(trimmedLabel(30), slot.procedureTrail) + kCrLf;
    block += labelLine(message(35), QString::number(slot.line)) + kCrLf;
    block += labelLine(message(36), QString::number(slot.number)) + kCrLf;
    block += labelLine(message(37), slot.description) + kCrLf;
    if (record.codePointer != 0)
        block += QString(depth, QLatin1Char('\t')) + QStringLiteral("Code Pointer : ") +
                 QString::number(record.codePointer) + kCrLf;
    return block + kCrLf;
}

// Adds a part of the entry built by `part`; a part that fails is skipped.
template <class Part>
void addPart(QString& entry, Part&& part)
{
    platform::ignoreErrors([&] { entry += part(); });
}

}  // namespace

QString captureStampLine(const QDateTime& moment, bool start)
{
    return platform::shortDate(moment.date()) + QLatin1Char(' ') + platform::longTime(moment.time()) +
           (start ? QStringLiteral(" - start FailSafe client v") : QStringLiteral(" - stop FailSafe client v")) +
           kFailSafeVersion + QStringLiteral(" data capture");
}

QString labelLine(const QString& label, const QString& value)
{
    return label.leftJustified(kValueColumn - 1, QLatin1Char(' ')) + value;
}

QString errorLogEntry(const ErrorRecord& record, const CallStack& stack, const ErrorLogTexts& texts)
{
    QString entry;
    addPart(entry, [&] { return texts.startLine + kCrLf; });
    addPart(entry, [&] { return QString(65, QLatin1Char('*')) + kCrLf; });
    addPart(entry, [&] { return texts.programLine + kCrLf; });
    addPart(entry, [&] { return message(27) + kCrLf; });
    const int depth = stackCopyDepth(record);
    for (int slot = 0; slot <= record.remoteLevels && slot < kErrorSlots; ++slot)
        addPart(entry, [&] { return errorBlock(record, slot, depth); });
    addPart(entry, [&] { return kCrLf + message(28) + kCrLf; });
    addPart(entry, [&] { return callTreeLines(record, stack.codePointer).join(kCrLf) + kCrLf; });
    addPart(entry, [&] { return message(29) + kCrLf + withCrLf(texts.systemInfo) + kCrLf; });
    addPart(entry, [&] { return QStringLiteral("User Said") + kCrLf + withCrLf(texts.comment) + kCrLf; });
    addPart(entry, [&] { return texts.stopLine + kCrLf; });
    return entry;
}

bool appendWholeOrNothing(const QString& path, const QByteArray& bytes)
{
    // The file layer takes back any part of the bytes that reached the file,
    // and refuses a link another account planted at the name.
    return platform::ignoreErrors([&] { platform::appendFile(path, bytes); });
}

std::optional<QByteArray> currentErrorLogEntry(const ErrorLogTexts& texts)
{
    const FailSafeState& s = state();
    std::optional<QByteArray> bytes;
    platform::ignoreErrors([&] { bytes = platform::encodeAnsi(errorLogEntry(s.error, s.stack, texts)); });
    return bytes;
}

bool writeErrorLog(const QString& path, const ErrorLogTexts& texts)
{
    const std::optional<QByteArray> bytes = currentErrorLogEntry(texts);
    return bytes && appendWholeOrNothing(path, *bytes);
}

}  // namespace vm::failsafe
