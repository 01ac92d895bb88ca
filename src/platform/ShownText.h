#pragma once
// Text from outside shown on a terminal or in a log: a file's name, a value
// from a CSV or list file, a folder named on the command line. Written raw,
// a control character in it is a command to the terminal, and a byte of a
// name that is no UTF-8 (a lone surrogate, see NativeName.h) cannot be
// written at all: both are shown escaped, the same way by every program.

#include <QChar>
#include <QString>

namespace vm::platform {

// C0 (below 0x20), DEL (0x7F) and C1 (0x80 to 0x9F).
bool isControlCharacter(QChar c);

// `text` with every control character, tabs included, written as \xHH, and
// every byte of a name that is no UTF-8 as \xHH of that byte, so that it
// shows as text (any other lone surrogate as \uHHHH).
QString withControlsEscaped(const QString& text);

}  // namespace vm::platform
