#pragma once
// Control characters in text from outside. A third party's CSV file (or an
// engine's list file) may hold them, and written raw to a terminal they are
// commands to it: they are refused where text comes in and escaped where it
// is shown.

#include "platform/ShownText.h"

#include <QString>
#include <QStringView>

namespace vm::vmbox {

// How they are told and shown is the same for every program.
using platform::isControlCharacter;
using platform::withControlsEscaped;

// Position of the first control character other than a tab; -1 when none.
qsizetype firstControlCharacter(QStringView text);

// The character's code as "U+001b".
QString characterCode(QChar c);

}  // namespace vm::vmbox
