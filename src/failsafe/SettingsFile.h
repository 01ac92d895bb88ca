#pragma once
// FSCLIENT.INI: the error module's settings, read once by fsSTART.

#include "FailSafeState.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace vm::failsafe {

inline const QString kSettingsFileName = QStringLiteral("FSCLIENT.INI");

// Reads every setting. The circular-log switch and its file name are always
// read; the record size and count only when the circular log is on (a size
// that is not a usable 16-bit number switches the log off); every other key
// only when the settings file exists, else it keeps its initial value
// (Booleans false, strings empty). Never raises.
Settings readSettings(const QString& settingsPath);

// The two rules for Boolean settings, on the text read.
bool negatedValueRule(const QString& text);  // numeric value non-zero
bool positiveRule(const QString& text);      // numeric value above zero

// A record size or count: a whole 16-bit number (fractions rounded half to
// even, blanks around allowed); nothing for text that is not one.
std::optional<std::int16_t> recordNumberSetting(const QString& text);

}  // namespace vm::failsafe
