#include "MessageFileName.h"

#include "platform/VbNumbers.h"

#include <QStringList>

#include <algorithm>

namespace vm::mailbox {

QString MsgFileNameNew(const QString& id, std::int16_t line, const QDate& date, const QTime& time)
{
    // Other lines get their caller from the engine, which knows it.
    const QString caller = line == kOwnRecordingLine ? QStringLiteral("999") : QString();
    const QString stamp = date.toString(QStringLiteral("MMdd")) + time.toString(QStringLiteral("HHmmss"));
    const QString tail = QString::number(line) + QLatin1Char('_') + caller + QStringLiteral(".wav");
    if (id.isEmpty())
        return stamp + QLatin1Char('_') + tail;
    return id + QLatin1Char('_') + stamp + QStringLiteral("_1_") + tail;
}

QString MsgFileNameNew(const QString& id, std::int16_t line)
{
    // Date and time are read one after the other, as separate values.
    const QDate date = QDate::currentDate();
    const QTime time = QTime::currentTime();
    return MsgFileNameNew(id, line, date, time);
}

namespace {

// 1-based position of `c` in `name` at or after `from`, 0 when absent; a
// start of 0 searches from the beginning. Positions are 16-bit.
template <class Text>
int positionOf(const Text& name, QChar c, int from)
{
    const qsizetype found = name.indexOf(c, from < 1 ? 0 : from - 1);
    return found < 0 ? 0 : platform::toInt16(found + 1);
}

// The new-marker (between the second and third "_") is exactly "1".
template <class Text>
bool newMarkerIsOne(const Text& name)
{
    const int p2 = positionOf(name, u'_', positionOf(name, u'_', 1) + 1);
    const int p3 = positionOf(name, u'_', p2 + 1);
    return p3 - p2 == 2 && name[p2] == u'1';
}

// The characters strictly between 1-based positions a and b (a < b).
QString between(const QString& name, int a, int b) { return name.mid(a, b - a - 1); }

}  // namespace

void MsgFileNameParse(const QString& name, QString& newMarker, QString& caller)
{
    const int p1 = positionOf(name, u'_', 1);
    const int p2 = positionOf(name, u'_', p1 + 1);
    const int p3 = positionOf(name, u'_', p2 + 1);
    newMarker = p3 > p2 ? between(name, p2, p3) : QString();
    const int p4 = positionOf(name, u'_', p3 + 1);
    const int p5 = positionOf(name, u'.', p4 + 1);
    caller = p5 > p4 ? between(name, p4, p5) : QString();
}

bool isNewMessageName(QLatin1StringView name) { return newMarkerIsOne(name); }

bool isNewMessageName(QStringView name) { return newMarkerIsOne(name); }

bool isDigits(const QString& text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QString MessageNameParts::name() const
{
    return QStringList{id, stamp, marker, line, caller}.join(QLatin1Char('_')) + QStringLiteral(".wav");
}

std::optional<MessageNameParts> messageNameParts(const QString& name)
{
    if (!name.endsWith(QStringLiteral(".wav"), Qt::CaseInsensitive))
        return std::nullopt;
    // The first four "_" end the first four fields; the caller is the rest.
    qsizetype ends[4];
    qsizetype from = 0;
    for (qsizetype& end : ends) {
        end = name.indexOf(u'_', from);
        if (end < 0 || end > name.size() - 4)
            return std::nullopt;
        from = end + 1;
    }
    MessageNameParts parts{name.left(ends[0]), name.mid(ends[0] + 1, ends[1] - ends[0] - 1),
                           name.mid(ends[1] + 1, ends[2] - ends[1] - 1), name.mid(ends[2] + 1, ends[3] - ends[2] - 1),
                           name.mid(ends[3] + 1, name.size() - 4 - ends[3] - 1)};
    if (parts.id.isEmpty() || parts.stamp.size() != 10 || !isDigits(parts.stamp) || !isDigits(parts.line))
        return std::nullopt;
    return parts;
}

}  // namespace vm::mailbox
