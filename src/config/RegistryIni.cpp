#include "RegistryIni.h"

#include "platform/IniProfile.h"
#include "platform/RuntimeError.h"

namespace vm::config {

namespace {

constexpr int kReadBufferSize = 512;

QString& iniPath()
{
    static QString path;
    return path;
}

}  // namespace

void SetIniFile(const QString& path) { iniPath() = path; }

QString IniFile() { return iniPath(); }

QString ReadIniString(const QString& section, const QString& key)
{
    QString value;
    ignoreErrors([&] { value = ini::getPrivateProfileString(section, key, QString(), kReadBufferSize, iniPath()); });
    return value;
}

void WriteIniString(const QString& section, const QString& key, const QString& value)
{
    // The engine reports whether the write was done; nobody here acts on it.
    (void)ini::writePrivateProfileString(section, key, value, iniPath());
}

QString GetIniString(const QString& section, const QString& key) { return ReadIniString(section, key); }

}  // namespace vm::config
