#pragma once
// JSON strings of vmbox's listings: text from files, so every control
// character is escaped (DEL and C1 too: JSON allows them raw, but a
// terminal may act on them).

#include <QString>

namespace vm::vmbox {

// Appends `text` to `out` as a quoted JSON string.
void appendJsonString(QString& out, const QString& text);

}  // namespace vm::vmbox
