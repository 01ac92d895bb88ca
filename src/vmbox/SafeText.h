#pragma once
// Control characters in text from outside. A third party's CSV file (or an
// engine's list file) may hold them, and written raw to a terminal they are
// commands to it: they are refused where text comes in and escaped where it
// is shown.

#include <QString>
#include <QStringView>

namespace vm::vmbox {

// C0 (below 0x20), DEL (0x7F) and C1 (0x80 to 0x9F).
bool isControlCharacter(QChar c);

// Position of the first control character other than a tab; -1 when none.
qsizetype firstControlCharacter(QStringView text);

// The character's code as "U+001b".
QString characterCode(QChar c);

// `text` with every control character, tabs included, written as \xHH, so
// that it shows as text on a terminal.
QString withControlsEscaped(const QString& text);

}  // namespace vm::vmbox
