#pragma once
// Our stand-in for the Windows private-profile functions, for INI files that
// the voice-response engine keeps reading after we write them. Behaves as the
// Windows functions do: case-insensitive section and key names, blanks around
// names and values ignored, one pair of enclosing quotes removed, ";" comment
// lines, first match wins, defaults for anything missing, every read goes to
// the file, writes keep every other byte of the file as it was.

#include <QByteArrayView>
#include <QString>

namespace vm::platform {

// GetPrivateProfileStringA: the value (or `defaultValue` when the file,
// section or key is missing), cut to bufferSize - 1 characters as the
// caller's buffer would cut it. Never raises.
QString getPrivateProfileString(const QString& section, const QString& key, const QString& defaultValue, int bufferSize,
                                const QString& path);

// What getPrivateProfileString returns for a file holding `bytes`, for a
// caller that reads the file once for many values.
QString profileString(QByteArrayView bytes, const QString& section, const QString& key, const QString& defaultValue,
                      int bufferSize);

// WritePrivateProfileStringA: sets section/key to value, creating the file,
// the section or the key when missing. Returns false when the write could not
// be done, in which case the file is unchanged. Never raises.
bool writePrivateProfileString(const QString& section, const QString& key, const QString& value, const QString& path);

}  // namespace vm::platform
