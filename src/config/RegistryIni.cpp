#include "RegistryIni.h"

#include "platform/FileSystem.h"
#include "platform/IniProfile.h"
#include "platform/RuntimeError.h"

namespace vm::config {

namespace {
constexpr int kReadBufferSize = 512;
}  // namespace

QString ReadIniString(const QString& iniFile, const QString& section, const QString& key)
{
    QString value;
    platform::ignoreErrors(
        [&] { value = platform::getPrivateProfileString(section, key, QString(), kReadBufferSize, iniFile); });
    return value;
}

QByteArray ReadIniFile(const QString& iniFile) { return platform::readFileIfPresent(iniFile).value_or(QByteArray()); }

QString IniValue(const QByteArray& text, const QString& section, const QString& key)
{
    return platform::profileString(text, section, key, QString(), kReadBufferSize);
}

bool IniHasKey(const QString& iniFile, const QString& section, const QString& key)
{
    // A missing key reads as the default, whichever it is; a present one as its value.
    bool present = false;
    platform::ignoreErrors([&] {
        const QByteArray text = ReadIniFile(iniFile);
        present = platform::profileString(text, section, key, QStringLiteral("a"), 2) ==
                  platform::profileString(text, section, key, QStringLiteral("b"), 2);
    });
    return present;
}

void WriteIniString(const QString& iniFile, const QString& section, const QString& key, const QString& value)
{
    // The engine reports whether the write was done; nobody here acts on it.
    (void)platform::writePrivateProfileString(section, key, value, iniFile);
}

}  // namespace vm::config
