#pragma once
// VmBoxList.xml: looks like XML but is written and read line by line with
// plain text search; one box per line, fixed element order, no escaping.
// The window's VmbSaveXML writes through saveMailboxList. The
// reader is in ListLineParser.h.

#include "MailboxTable.h"

#include <QByteArray>
#include <QString>

namespace vm::mailbox {

// The file's bytes (windows-1252, CR LF) for entries 1..N in table order.
QByteArray mailboxListBytes(const MailboxTable& table);

// One box's line of the file, its CR LF included.
QByteArray mailboxLineBytes(const VoicemailBox& box);

// Sorts entries 1..N and replaces the file at `path` with them, atomically:
// on any failure the previous file stays byte-identical and the run-time
// error reaches the caller. A table that was never sized or holds no boxes
// leaves the file untouched.
void saveMailboxList(MailboxTable& table, const QString& path);

}  // namespace vm::mailbox
