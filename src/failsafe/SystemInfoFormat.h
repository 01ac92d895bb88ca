#pragma once
// The texts of the system information report, as pure functions of the
// figures the system queries return: number formats, the processor and
// version tables, the drive lines, version-resource lookups and the small
// value rules. Nothing here asks the system anything.

#include "platform/SystemQuery.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>

namespace vm::failsafe {

inline const QString kLineEnd = QStringLiteral("\r\n");

// "###,###,###": a whole number with the group separator every three
// digits and no decimals (a fraction is rounded, halves away from zero);
// 0 gives "". Numbers of any length keep all their digits. A text that is not
// a number comes back unchanged. The one-argument forms use the system
// locale's group separator.
QString formatThousands(const QString& number, const QString& groupSeparator);
QString formatThousands(const QString& number);
QString formatThousands(std::uint64_t value);

// "##.##": at most two decimals, no leading zero before the decimal point and
// no trailing zeros after it, the decimal point always there
// (23.456 -> "23.46", 50 -> "50.", 0.5 -> ".5").
QString formatHundredths(double value, const QString& decimalSeparator);
QString formatHundredths(double value);

// First report line: "Application running on computer " + name, or
// "Application" when the name is empty.
QString reportHeading(const QString& computerName);

QString yesNo(const std::optional<bool>& value);  // "Yes", "No", "" when unknown

// Processor description from type, level and revision; "" when unknown.
QString cpuNameText(const std::optional<platform::ProcessorInfo>& processor);

// Windows version line value from the version record; "" when unknown.
QString windowsVersionText(const std::optional<platform::OsVersion>& version);

// The "Drives" section: heading, floppy and disk counts, a line per drive;
// every line ends with CR LF.
QString driveSectionText(const platform::DriveSurvey& survey);
// One drive's line without line end; "" for types that give no line.
QString driveLine(const platform::Drive& drive);

// The version-resource fields the report asks for.
inline constexpr int kProductName = 2;
inline constexpr int kCompanyName = 3;
inline constexpr int kProductVersion = 5;
inline constexpr int kFileDescription = 6;
inline constexpr int kFileVersion = 9;
// One string field of a version resource: "" for a file without one,
// "<Not Found>" when the field (or the translation table) is missing,
// otherwise the value up to its first zero byte, at most 255 characters.
QString versionFieldText(const std::optional<platform::VersionResource>& resource, int field);
// The translation block name ("040904B0") of a translation entry.
QString translationBlockName(const QByteArray& translation);

// Video values: colour count ("True Color" for exactly 24 bits, else 2 to
// the power of bits, with group separators), screen size ("1024 x 768") and
// monitors (at least 1). Colours and size are "" without a display.
QString colourCountText(const std::optional<platform::DisplayInfo>& display);
QString screenSizeText(const std::optional<platform::DisplayInfo>& display);
QString monitorCountText(const std::optional<platform::DisplayInfo>& display);

// Memory lines' values.
QString kilobytesText(std::uint64_t bytes);  // bytes / 1024, remainder dropped, "###,###,###" + "K"
// The whole "Available Physical" line (without line end): rounded kilobytes
// (halves to even) + "K", or the "<none>" form below 1 K.
QString availablePhysicalLine(std::uint64_t bytes);
// available / total x 100 in "##.##"; raises error 11 when total is 0.
QString percentFreeText(std::uint64_t available, std::uint64_t total);

// A file time in the general date format; "" when unknown.
QString fileTimeText(const std::optional<QDateTime>& time);

struct ModuleFields {
    QString fileVersion;
    QString productVersion;
    QString productName;
    QString companyName;
    QString fileDescription;
    QString created;
};
// One module line: indent + 2 blanks, the path, the version captions with
// their values and the creation time, then CR LF.
QString moduleLine(int indent, const QString& path, const ModuleFields& fields);

}  // namespace vm::failsafe
