#include "MonitorProtocol.h"

#include <QtEndian>

namespace vm::failsafe {

namespace {
constexpr qsizetype kMessageHeader = 12;
constexpr qsizetype kAnswerSize = 4;
// Guards against a corrupt stream announcing an absurd length.
constexpr std::uint32_t kMaxText = 16 * 1024 * 1024;

void appendBig32(QByteArray& out, std::uint32_t value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    out.append(bytes, 4);
}

std::uint32_t big32(const QByteArray& in, qsizetype at) { return qFromBigEndian<std::uint32_t>(in.constData() + at); }
}  // namespace

QByteArray encodeMessage(const Message& message)
{
    QByteArray out;
    out.reserve(kMessageHeader + message.text.size());
    appendBig32(out, message.id);
    appendBig32(out, static_cast<std::uint32_t>(message.param));
    appendBig32(out, static_cast<std::uint32_t>(message.text.size()));
    out.append(message.text);
    return out;
}

std::optional<Message> takeMessage(QByteArray& buffer)
{
    if (buffer.size() < kMessageHeader)
        return std::nullopt;
    const std::uint32_t length = big32(buffer, 8);
    if (length > kMaxText) {  // not a stream of ours: drop what we have
        buffer.clear();
        return std::nullopt;
    }
    if (buffer.size() < kMessageHeader + qsizetype(length))
        return std::nullopt;
    Message m;
    m.id = big32(buffer, 0);
    m.param = static_cast<std::int32_t>(big32(buffer, 4));
    m.text = buffer.mid(kMessageHeader, length);
    buffer.remove(0, kMessageHeader + length);
    return m;
}

QByteArray encodeAnswer(std::int32_t answer)
{
    QByteArray out;
    appendBig32(out, static_cast<std::uint32_t>(answer));
    return out;
}

std::optional<std::int32_t> takeAnswer(QByteArray& buffer)
{
    if (buffer.size() < kAnswerSize)
        return std::nullopt;
    const auto answer = static_cast<std::int32_t>(big32(buffer, 0));
    buffer.remove(0, kAnswerSize);
    return answer;
}

bool isMonitorTitle(const QString& title)
{
    return title == kMonitorTitle || title.left(kMonitorTitlePrefix.size()) == kMonitorTitlePrefix;
}

QStringList monitorCandidates(const QStringList& names)
{
    QStringList others;
    bool plain = false;
    for (const QString& name : names) {
        if (name == kMonitorTitle)
            plain = true;
        else if (isMonitorTitle(name))
            others << name;
    }
    others.sort();
    if (plain)
        others.prepend(kMonitorTitle);
    return others;
}

}  // namespace vm::failsafe
