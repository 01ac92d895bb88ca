#include "SettingsFile.h"

#include "platform/FileSystem.h"
#include "platform/IniProfile.h"
#include "platform/NumberText.h"
#include "platform/RuntimeError.h"

namespace vm::failsafe {

namespace {

QString read(const QString& section, const QString& key, const QString& defaultValue, int buffer, const QString& path)
{
    return platform::getPrivateProfileString(section, key, defaultValue, buffer, path);
}

QString readText(const QString& section, const QString& key, int buffer, const QString& path)
{
    return read(section, key, QString(), buffer, path);
}

bool readNegated(const QString& section, const QString& key, const QString& defaultValue, const QString& path)
{
    return negatedValueRule(read(section, key, defaultValue, 2, path));
}

bool readPositive(const QString& section, const QString& key, const QString& path)
{
    return positiveRule(read(section, key, QString(), 8, path));
}

void readCircularSettings(Settings& s, const QString& path)
{
    s.circularLog = read(QStringLiteral("Log File"), QStringLiteral("CircularLog"), QStringLiteral("0"), 5, path)
                        .startsWith(QLatin1Char('1'));
    s.circularFileName = read(QStringLiteral("CircularLog"), QStringLiteral("FileName"), QStringLiteral("circ0001.log"),
                              128, path);
    if (!s.circularLog)
        return;
    const auto size = recordNumberSetting(
        read(QStringLiteral("CircularLog"), QStringLiteral("RecordSize"), QStringLiteral("512"), 128, path));
    const auto count = recordNumberSetting(
        read(QStringLiteral("CircularLog"), QStringLiteral("MaxRecords"), QStringLiteral("100"), 128, path));
    // A record must hold at least its CR LF, and there must be a slot to rotate through.
    if (!size || !count || *size < 2 || *count < 1) {
        s.circularLog = false;
        return;
    }
    s.recordSize = *size;
    s.maxRecords = *count;
}

void readOtherSettings(Settings& s, const QString& path)
{
    s.forceSystemInfo = readPositive(QStringLiteral("preferences"), QStringLiteral("Force System Info"), path);
    s.emailAddress = readText(QStringLiteral("email"), QStringLiteral("Address"), 255, path);
    s.writeToDisk = readPositive(QStringLiteral("log file"), QStringLiteral("Write To Disk"), path);
    s.captureToDisk = readPositive(QStringLiteral("log file"), QStringLiteral("Capture To Disk"), path);
    if (s.writeToDisk) {
        s.logFileName = readText(QStringLiteral("log file"), QStringLiteral("Log File"), 128, path);
        if (s.logFileName.isEmpty())
            s.logFileName = QStringLiteral("error.log");
    }
    s.silentRun = readNegated(QStringLiteral("preferences"), QStringLiteral("Silent Run"), QStringLiteral("0"), path);
    s.displayMode = readNegated(QStringLiteral("preferences"), QStringLiteral("Display Mode"), QStringLiteral("0"),
                                path);
    s.includeResources = readNegated(QStringLiteral("include"), QStringLiteral("Resources"), QStringLiteral("1"), path);
    s.includeMemory = readNegated(QStringLiteral("include"), QStringLiteral("Memory"), QStringLiteral("1"), path);
    s.includeArguments = readNegated(QStringLiteral("include"), QStringLiteral("Arguments"), QStringLiteral("1"), path);
    s.includeUser = readNegated(QStringLiteral("include"), QStringLiteral("User"), QStringLiteral("1"), path);
    s.bugDatabase = readText(QStringLiteral("Bugledger"), QStringLiteral("Database"), 255, path);
    s.bugAddress = readText(QStringLiteral("Bugledger"), QStringLiteral("Address"), 255, path);
    s.bugProject = readText(QStringLiteral("Bugledger"), QStringLiteral("Project"), 255, path);
    s.bugAssignedTo = readText(QStringLiteral("Bugledger"), QStringLiteral("Assigned To"), 255, path);
    s.attachLog = readNegated(QStringLiteral("Hubworks"), QStringLiteral("Attach Log"), QStringLiteral("1"), path);
}

}  // namespace

bool negatedValueRule(const QString& text)
{
    double value = 0.0;
    platform::ignoreErrors([&] { value = platform::leadingNumber(text); });
    return value != 0.0;
}

bool positiveRule(const QString& text)
{
    double value = 0.0;
    platform::ignoreErrors([&] { value = platform::leadingNumber(text); });
    return value > 0.0;
}

std::optional<std::int16_t> recordNumberSetting(const QString& text)
{
    std::optional<std::int16_t> value;
    platform::ignoreErrors([&] { value = platform::textToInt16(text); });
    return value;
}

Settings readSettings(const QString& settingsPath)
{
    Settings s;
    platform::ignoreErrors([&] {
        readCircularSettings(s, settingsPath);
        if (platform::fileExists(settingsPath))
            readOtherSettings(s, settingsPath);
    });
    return s;
}

}  // namespace vm::failsafe
