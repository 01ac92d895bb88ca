#include "SystemInfoFormat.h"

#include "platform/AnsiText.h"
#include "platform/LocaleText.h"
#include "platform/RuntimeError.h"
#include "platform/VbNumbers.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace vm::failsafe {

namespace {

// Splits an optionally signed decimal text ("-12.50") into its parts; false
// when the text is not such a number.
bool splitDecimal(const QString& text, bool& negative, QString& whole, QString& fraction)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    negative = false;
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+')))
        negative = t[i++] == QLatin1Char('-');
    const qsizetype wholeStart = i;
    while (i < t.size() && t[i].isDigit() && t[i].unicode() < 128)
        ++i;
    whole = t.mid(wholeStart, i - wholeStart);
    fraction.clear();
    if (i < t.size() && t[i] == QLatin1Char('.')) {
        const qsizetype fractionStart = ++i;
        while (i < t.size() && t[i].isDigit() && t[i].unicode() < 128)
            ++i;
        fraction = t.mid(fractionStart, i - fractionStart);
    }
    return i == t.size() && !(whole.isEmpty() && fraction.isEmpty());
}

// Adds one to a text of decimal digits.
QString incremented(QString digits)
{
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits[i] != QLatin1Char('9')) {
            digits[i] = QChar(digits[i].unicode() + 1);
            return digits;
        }
        digits[i] = QLatin1Char('0');
    }
    return QLatin1Char('1') + digits;
}

QString grouped(const QString& digits, const QString& separator)
{
    QString out;
    out.reserve(digits.size() + digits.size() / 3 * separator.size());
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += separator;
        out += digits[i];
    }
    return out;
}

QString powerOfTwoText(int bits)
{
    if (bits < 0)
        bits = 0;
    if (bits < 64)
        return QString::number(std::uint64_t(1) << bits);
    return QString::number(std::ldexp(1.0, bits), 'f', 0);
}

QString hex4(unsigned value) { return QStringLiteral("%1").arg(value & 0xFFFF, 4, 16, QLatin1Char('0')).toUpper(); }

// Val() of a text: the decimal number it starts with, 0 when none.
int leadingDecimal(const QString& text)
{
    int value = 0;
    for (const QChar c : text) {
        if (!c.isDigit() || c.unicode() >= 128)
            break;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

QString level6ProcessorText(std::uint16_t revision)
{
    const QString hex = hex4(revision);
    const QString m = hex.left(2);
    const QString s = hex.mid(2, 2);
    switch (leadingDecimal(m)) {
        case 1: return QStringLiteral("Intel Pentium Pro, Model ") + m + QStringLiteral(", Stepping ") + s;
        case 3: return QStringLiteral("Intel Pentium II, Model 3") + QStringLiteral(" Stepping ") + s;
        case 5:
            return QStringLiteral("Intel Pentium II Model 5, Pentium II Xeon Model 5, or Celeron Model 5,") +
                   QStringLiteral(" Stepping ") + s;
        case 6: return QStringLiteral("Intel Celeron Model 6") + QStringLiteral(" Stepping, ") + s;
        case 7:
        case 8:
            return QStringLiteral("Intel Pentium III or Pentium III Xeon Model, ") + m + QStringLiteral(" Stepping ") +
                   s;
        default: return QStringLiteral("Unable to determine processor type");
    }
}

QString versionFieldName(int field)
{
    switch (field) {
        case kProductName: return QStringLiteral("\\ProductName");
        case kCompanyName: return QStringLiteral("\\CompanyName");
        case kProductVersion: return QStringLiteral("\\ProductVersion");
        case kFileDescription: return QStringLiteral("\\FileDescription");
        case kFileVersion: return QStringLiteral("\\FileVersion");
        default: return {};
    }
}

}  // namespace

QString formatThousands(const QString& number, const QString& groupSeparator)
{
    bool negative = false;
    QString whole;
    QString fraction;
    if (!splitDecimal(number, negative, whole, fraction))
        return number;
    qsizetype firstSignificant = 0;
    while (firstSignificant < whole.size() && whole[firstSignificant] == QLatin1Char('0'))
        ++firstSignificant;
    whole = whole.mid(firstSignificant);
    if (!fraction.isEmpty() && fraction[0] >= QLatin1Char('5'))
        whole = incremented(whole);
    if (whole.isEmpty())
        return {};
    return (negative ? QStringLiteral("-") : QString()) + grouped(whole, groupSeparator);
}

QString formatThousands(const QString& number) { return formatThousands(number, QLocale::system().groupSeparator()); }

QString formatThousands(std::uint64_t value) { return formatThousands(QString::number(value)); }

QString formatHundredths(double value, const QString& decimalSeparator)
{
    if (!std::isfinite(value))
        return QString::number(value);
    const double cents = std::round(std::fabs(value) * 100.0);
    const double wholePart = std::floor(cents / 100.0);
    const int fractionPart = static_cast<int>(cents - wholePart * 100.0);
    QString text;
    if (value < 0 && cents != 0)
        text += QLatin1Char('-');
    if (wholePart != 0)
        text += QString::number(wholePart, 'f', 0);
    text += decimalSeparator;
    if (fractionPart != 0) {
        QString digits = QStringLiteral("%1").arg(fractionPart, 2, 10, QLatin1Char('0'));
        if (digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        text += digits;
    }
    return text;
}

QString formatHundredths(double value) { return formatHundredths(value, QLocale::system().decimalPoint()); }

QString reportHeading(const QString& computerName)
{
    if (computerName.isEmpty())
        return QStringLiteral("Application");
    return QStringLiteral("Application running on computer ") + computerName;
}

QString yesNo(const std::optional<bool>& value)
{
    if (!value)
        return {};
    return *value ? QStringLiteral("Yes") : QStringLiteral("No");
}

QString cpuNameText(const std::optional<platform::ProcessorInfo>& processor)
{
    if (!processor)
        return {};
    switch (processor->type) {
        case 386:
        case 486: return QStringLiteral("Intel 386");
        case 586: return processor->level == 6 ? level6ProcessorText(processor->revision) : QStringLiteral("Pentium");
        case 4000: return QStringLiteral("MIPS R4000");
        case 21064: return QStringLiteral("Alpha 21064");
        default: return QStringLiteral("Unknown");
    }
}

QString windowsVersionText(const std::optional<platform::OsVersion>& version)
{
    if (!version)
        return {};
    const platform::OsVersion& v = *version;
    const qsizetype zero = v.servicePack.indexOf('\0');
    const QString servicePack = platform::decodeAnsi(zero < 0 ? v.servicePack : v.servicePack.left(zero));
    const QString numbers = QString::number(v.major) + QLatin1Char('.') + QString::number(v.minor);
    const QString build = QStringLiteral("(Build ") + QString::number(v.build) + QStringLiteral(") ") + servicePack;
    if (v.platform == platform::OsVersion::kPlatformNT)
        return QStringLiteral("Windows NT ") + numbers + QStringLiteral("  ") + build;
    if (v.platform == platform::OsVersion::kPlatform95) {
        const bool is95 = v.major < 4 || (v.major == 4 && v.minor == 0);
        return (is95 ? QStringLiteral("Windows 95 ") : QStringLiteral("Windows 98 ")) + numbers + QLatin1Char(' ') +
               build;
    }
    return QStringLiteral("Unknown Version of Microsoft Windows ") + numbers + QLatin1Char(' ') + build;
}

QString driveLine(const platform::Drive& drive)
{
    const QString prefix = QStringLiteral("   Drive ") + drive.name;
    switch (drive.type) {
        case platform::DriveType::Unknown: return prefix + QStringLiteral("...........Unknown   ");
        case platform::DriveType::Removable: return prefix + QStringLiteral("...........Floppy    ");
        case platform::DriveType::Fixed: {
            // Free kilobytes of 1000 bytes, the remainder rounded as the number
            // format rounds it.
            QString free;
            if (drive.freeBytes) {
                const std::uint64_t bytes = *drive.freeBytes;
                free = formatThousands(QString::number(bytes / 1000) + QLatin1Char('.') +
                                       QStringLiteral("%1").arg(bytes % 1000, 3, 10, QLatin1Char('0')));
            }
            return prefix + QStringLiteral("...........Fixed     ") + free + QStringLiteral(" KB Free");
        }
        case platform::DriveType::Remote: return prefix + QStringLiteral("...........Network   ");
        case platform::DriveType::CdRom: return prefix + QStringLiteral("...........CD        ");
        case platform::DriveType::NoRoot:
        case platform::DriveType::RamDisk: break;
    }
    return {};
}

QString driveSectionText(const platform::DriveSurvey& survey)
{
    int floppies = 0;
    if (!survey.roots.isEmpty() && survey.roots[0].toUpper() == QLatin1String("A:\\"))
        ++floppies;
    if (survey.roots.size() > 1 && survey.roots[1] == QLatin1String("B:\\"))
        ++floppies;
    QString text = QStringLiteral("Drives") + kLineEnd;
    text += QStringLiteral("   Floppies............") + QString::number(floppies) + kLineEnd;
    text += QStringLiteral("   Disks...............") + QString::number(survey.roots.size() - floppies) + kLineEnd;
    for (const platform::Drive& drive : survey.drives) {
        const QString line = driveLine(drive);
        if (!line.isEmpty())
            text += line + kLineEnd;
    }
    return text;
}

QString translationBlockName(const QByteArray& translation)
{
    const auto byte = [&](int i) { return static_cast<unsigned>(static_cast<unsigned char>(translation[i])); };
    return hex4(byte(0) | byte(1) << 8) + hex4(byte(2) | byte(3) << 8);
}

QString versionFieldText(const std::optional<platform::VersionResource>& resource, int field)
{
    static const QString notFound = QStringLiteral("<Not Found>");
    if (!resource)
        return {};
    if (resource->translation.size() < 4)
        return notFound;
    const QString key = QStringLiteral("\\StringFileInfo\\") + translationBlockName(resource->translation) +
                        versionFieldName(field);
    for (const auto& [name, value] : resource->strings) {
        if (name.compare(key, Qt::CaseInsensitive) != 0)
            continue;
        const qsizetype zero = value.indexOf('\0');
        return platform::decodeAnsi((zero < 0 ? value : value.left(zero)).left(255));
    }
    return notFound;
}

QString colourCountText(const std::optional<platform::DisplayInfo>& display)
{
    if (!display)
        return {};
    const int bits = display->bitsPerPixel * display->planes;
    if (bits == 24)
        return QStringLiteral("True Color");
    return formatThousands(powerOfTwoText(bits));
}

QString screenSizeText(const std::optional<platform::DisplayInfo>& display)
{
    if (!display)
        return {};
    return QString::number(display->width) + QStringLiteral(" x ") + QString::number(display->height);
}

QString monitorCountText(const std::optional<platform::DisplayInfo>& display)
{
    const int monitors = display ? display->monitors : 0;
    return QString::number(monitors < 1 ? 1 : monitors);
}

QString kilobytesText(std::uint64_t bytes) { return formatThousands(bytes / 1024) + QLatin1Char('K'); }

QString availablePhysicalLine(std::uint64_t bytes)
{
    const double kilobytes = platform::roundHalfEven(static_cast<double>(bytes) / 1024.0);
    if (kilobytes < 1)
        return QStringLiteral("   Available Physical..<none>");
    return QStringLiteral("   Available Physical..") + formatThousands(QString::number(kilobytes, 'f', 0)) +
           QLatin1Char('K');
}

QString percentFreeText(std::uint64_t available, std::uint64_t total)
{
    if (total == 0)
        platform::raiseError(platform::err::DivisionByZero);
    return formatHundredths(static_cast<double>(available) / static_cast<double>(total) * 100.0);
}

QString fileTimeText(const std::optional<QDateTime>& time) { return time ? platform::generalDate(*time) : QString(); }

QString moduleLine(int indent, const QString& path, const ModuleFields& fields)
{
    return QString(std::max(indent + 2, 0), QLatin1Char(' ')) + path + QStringLiteral("       FileVersion: ") +
           fields.fileVersion + QStringLiteral(" ProductVersion: ") + fields.productVersion +
           QStringLiteral(" ProductName: ") + fields.productName + QStringLiteral(" CompanyName: ") +
           fields.companyName + QStringLiteral(" FileDescription: ") + fields.fileDescription +
           QStringLiteral("  Created: ") + fields.created + kLineEnd;
}

}  // namespace vm::failsafe
