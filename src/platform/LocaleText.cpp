#include "LocaleText.h"

#include <QLocale>
#include <QRegularExpression>

namespace vm::platform {

QString shortDate(const QDate& date) { return QLocale::system().toString(date, QLocale::ShortFormat); }

QString longTime(const QTime& time)
{
    // The locale's long time format without its time-zone part.
    static const QString format = [] {
        QString f = QLocale::system().timeFormat(QLocale::LongFormat);
        f.remove(QRegularExpression(QStringLiteral("\\s*t+\\s*")));
        return f.trimmed();
    }();
    return QLocale::system().toString(time, format);
}

QString generalDate(const QDateTime& moment)
{
    return shortDate(moment.date()) + QLatin1Char(' ') + longTime(moment.time());
}

Version programVersion() { return {VM_VERSION_MAJOR, VM_VERSION_MINOR, VM_VERSION_PATCH}; }

}  // namespace vm::platform
