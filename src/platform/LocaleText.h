#pragma once
// Date and time texts in the forms of the system locale, as the classic
// run time's Date, Time and general date conversions give them.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

namespace vm::platform {

QString shortDate(const QDate& date);          // e.g. 12/6/26 or 06.12.26
QString longTime(const QTime& time);           // hours, minutes and seconds, no zone
QString generalDate(const QDateTime& moment);  // short date, blank, long time

// The program's version numbers, shown in the error log and system report.
struct Version {
    int major;
    int minor;
    int revision;
};
Version programVersion();

}  // namespace vm::platform
