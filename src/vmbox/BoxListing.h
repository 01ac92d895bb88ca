#pragma once
// The boxes of a mailbox table as the list command shows them and the export
// writes them: in table order, leaving out entries without a box number (the
// blank rows the window shows for boxes that left the list file).

#include "mailbox/MailboxTable.h"

#include <QByteArray>

namespace vm::vmbox {

// A header row naming the eleven fields, then one row a box; windows-1252
// with CR LF, the engine's text convention. Importing it back changes nothing.
QByteArray boxesAsCsv(const mailbox::MailboxTable& table);

// An array of objects with the eleven fields (flags as numbers), UTF-8;
// control characters escaped as \u00XX, so the values stay exact.
QByteArray boxesAsJson(const mailbox::MailboxTable& table);

// Aligned columns ID, PIN and Comments, as the window's list shows them; UTF-8.
// Control characters are shown as \xHH, never written raw.
QByteArray boxesAsTable(const mailbox::MailboxTable& table);

}  // namespace vm::vmbox
