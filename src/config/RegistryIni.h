#pragma once
// Module RegistryIni: the program's only way to the product INI file QV.INI.
// It holds the file's path and reads and writes string values in it with the
// profile rules of the INI engine (vm::ini).

#include <QString>

namespace vm::config {

// Stores the path that every later read and write addresses.
void SetIniFile(const QString& path);
// The stored path; empty before SetIniFile.
QString IniFile();

// The value of section/key, "" when the file, section or key is missing, cut
// to 511 characters (a 512-character buffer). Never raises: any failure
// reads as "".
QString ReadIniString(const QString& section, const QString& key);

// Sets section/key to value. A write that cannot be done is silent and
// leaves the file unchanged.
void WriteIniString(const QString& section, const QString& key, const QString& value);

// ReadIniString of its arguments.
QString GetIniString(const QString& section, const QString& key);

}  // namespace vm::config
