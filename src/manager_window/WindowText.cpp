#include "WindowText.h"

#include "platform/VbNumbers.h"

#include <QLocale>

namespace vm::window {

std::int32_t playingSeconds(std::int64_t bytes) { return roundToInt32(static_cast<double>(bytes) / kBytesPerSecond); }

QString lengthText(std::int32_t seconds)
{
    const std::int32_t rest = seconds % 60;
    return QString::number(seconds / 60) + QLatin1Char(':') + (rest < 10 ? QStringLiteral("0") : QString()) +
           QString::number(rest);
}

QString messageDateText(const QDateTime& moment)
{
    const QDate day = moment.date();
    const QTime time = moment.time();
    auto two = [](int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
    return QLocale::system().monthName(day.month(), QLocale::ShortFormat) + QLatin1Char(' ') + two(day.day()) +
           QStringLiteral(", ") + two(time.hour()) + QLatin1Char(':') + two(time.minute()) + QLatin1Char(':') +
           two(time.second());
}

QString hoursText(std::int32_t minutes)
{
    const QString tenths = QString::number(minutes / 6);
    return tenths.left(tenths.size() - 1) + QLatin1Char('.') + tenths.right(1);
}

}  // namespace vm::window
