#pragma once
// Writing comma-separated values (RFC 4180) that the reader, and any
// spreadsheet, reads back to the same fields.

#include <QString>
#include <QStringList>

namespace vm::vmbox {

// Appends one record and its CR LF to `out`. A value is quoted when it holds
// a comma, a double quote (doubled inside) or a line end, and when it is the
// record's only value and empty (a blank line would be no record at all).
void appendCsvRecord(QString& out, const QStringList& fields);

}  // namespace vm::vmbox
