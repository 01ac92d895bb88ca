#pragma once
// VmBoxList.xml: looks like XML but is written and read line by line with
// plain text search; one box per line, fixed element order, no escaping.
// The public procedures (VmbSaveXML, XmlTagValue, VmbParseXmlLine) are in
// VmailLib.h; these are the pieces underneath them.

#include "MailboxTable.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace vm {

// Character positions in a line are 16-bit: the reader leaves longer lines alone.
inline constexpr qsizetype kLongestListLine = 32767;

// The file's bytes (windows-1252, CR LF) for entries 1..N in table order.
QByteArray mailboxListBytes(const MailboxTable& table);

// Sorts entries 1..N and replaces the file at `path` with them, atomically:
// on any failure the previous file stays byte-identical and the run-time
// error reaches the caller. A table that was never sized or holds no boxes
// leaves the file untouched.
void saveMailboxList(MailboxTable& table, const QString& path);

// The value of a flag element's text: a number (blanks around it allowed,
// sign, decimals, exponent) rounded half to even; 0 for text that is not a
// number or does not fit in 16 bits.
std::int16_t flagFromText(const QString& text);

}  // namespace vm
