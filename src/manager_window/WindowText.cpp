#include "WindowText.h"

#include "platform/VbNumbers.h"

#include <QDateTime>
#include <QLocale>

#include <algorithm>
#include <ctime>

namespace vm::manager_window {

std::int32_t playingSeconds(std::int64_t bytes)
{
    return platform::roundToInt32(static_cast<double>(bytes) / kBytesPerSecond);
}

QString lengthText(std::int32_t seconds)
{
    const std::int32_t rest = seconds % 60;
    return QString::number(seconds / 60) + QLatin1Char(':') + (rest < 10 ? QStringLiteral("0") : QString()) +
           QString::number(rest);
}

MessageDates::MessageDates()
{
    // localtime_r reads the time zone only the first time; a change of zone
    // since then (as QDateTime would notice) is taken up here.
    ::tzset();
    const QLocale locale = QLocale::system();
    for (int m = 1; m <= 12; ++m)
        months_[m - 1] = locale.monthName(m, QLocale::ShortFormat);
}

QString MessageDates::text(std::int64_t secs) const
{
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    std::tm local{};
    const auto t = static_cast<std::time_t>(secs);
    // The years a file can carry; outside them QDateTime's own rules decide.
    if (secs >= 0 && secs < (std::int64_t{1} << 31) && ::localtime_r(&t, &local)) {
        month = local.tm_mon + 1;
        day = local.tm_mday;
        hour = local.tm_hour;
        minute = local.tm_min;
        second = local.tm_sec;
    } else {
        const QDateTime moment = QDateTime::fromSecsSinceEpoch(secs);
        month = moment.date().month();
        day = moment.date().day();
        hour = moment.time().hour();
        minute = moment.time().minute();
        second = moment.time().second();
    }
    const QString& name = months_[std::clamp(month, 1, 12) - 1];
    QString text(name.size() + 13, Qt::Uninitialized);  // " dd, hh:nn:ss"
    QChar* out = text.data();
    out = std::copy(name.cbegin(), name.cend(), out);
    const auto two = [&out](int n, char after) {
        *out++ = QLatin1Char(static_cast<char>('0' + n / 10 % 10));
        *out++ = QLatin1Char(static_cast<char>('0' + n % 10));
        if (after)
            *out++ = QLatin1Char(after);
    };
    *out++ = QLatin1Char(' ');
    two(day, ',');
    *out++ = QLatin1Char(' ');
    two(hour, ':');
    two(minute, ':');
    two(second, 0);
    return text;
}

QString hoursText(std::int32_t minutes)
{
    const QString tenths = QString::number(minutes / 6);
    return tenths.left(tenths.size() - 1) + QLatin1Char('.') + tenths.right(1);
}

}  // namespace vm::manager_window
