#pragma once
// File names are bytes, the program's text is UTF-16: the one mapping between
// the two, used by every system call of the file layer and wherever a name
// from the system becomes text. A name in UTF-8 reads as its text. A byte
// that is no part of UTF-8 (a name written in another encoding, or by an
// account that wants to stop the program) becomes a lone surrogate,
// U+DC80 to U+DCFF for the bytes 0x80 to 0xFF, and goes back as that byte:
// every name comes back as the very bytes it was, so a file of any name can
// be opened, renamed or removed again.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace vm::platform {

// The text of a native name.
QString nameText(QByteArrayView native);

// The native name of a text; a lone surrogate outside U+DC80..U+DCFF (which
// nameText never makes) is written as U+FFFD.
QByteArray nativeName(QStringView text);

// The byte a lone surrogate of nameText stands for, or -1 for any other
// character (a surrogate of a pair included).
int escapedByte(QStringView text, qsizetype at);

// Whether the character at `at` is a surrogate that is half of no pair.
bool isLoneSurrogate(QStringView text, qsizetype at);

}  // namespace vm::platform
