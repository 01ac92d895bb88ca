#pragma once
// 8-bit text in the ANSI code page (windows-1252), the encoding of every text
// file shared with the voice-response engine. Conversions are table-driven
// and exact both ways for every byte; characters the code page lacks become
// "?" as the ordinary Unicode-to-ANSI conversion does.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace vm::platform {

QString decodeAnsi(const QByteArray& bytes);
QByteArray encodeAnsi(const QString& text);

// Splits text read from a file into lines the way the program's line reader
// does: a line ends at CR or at CR LF; a lone LF belongs to the line. A final
// line without CR is still a line; an empty file has no lines.
QStringList splitLines(const QString& text);

}  // namespace vm::platform
