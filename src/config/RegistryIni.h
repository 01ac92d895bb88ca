#pragma once
// Module RegistryIni: the program's only way to the product INI file QV.INI.
// It reads and writes string values in the file it is given with the
// profile rules of the INI engine (vm::ini).

#include <QString>

namespace vm::config {

// The value of section/key in `iniFile`, "" when the file, section or key is
// missing, cut to 511 characters (a 512-character buffer). Never raises: any
// failure reads as "".
QString ReadIniString(const QString& iniFile, const QString& section, const QString& key);

// QV.INI's bytes, for reading several values at once: empty when the file is
// not there. One that is there but cannot be read (an I/O error, no memory
// for it, a FIFO) raises its run-time error naming the file: it is no file
// without values.
QByteArray ReadIniFile(const QString& iniFile);

// The value of section/key in a file holding `text`, as ReadIniString reads it.
QString IniValue(const QByteArray& text, const QString& section, const QString& key);

// Whether `iniFile` holds section/key, even with an empty value. Never
// raises: a file that cannot be read holds nothing.
bool IniHasKey(const QString& iniFile, const QString& section, const QString& key);

// Sets section/key in `iniFile` to value. A write that cannot be done is
// silent and leaves the file unchanged.
void WriteIniString(const QString& iniFile, const QString& section, const QString& key, const QString& value);

}  // namespace vm::config
