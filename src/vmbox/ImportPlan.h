#pragma once
// What importing a CSV file of boxes does to a mailbox table, worked out in
// full before anything changes: the header row names the columns (the
// eleven record fields, in any order, letter case ignored; a missing column
// leaves the field as stored, or empty for a new box), and every other row
// adds a box or changes one. Any bad row makes the whole import fail.

#include "BoxEdit.h"
#include "CsvReader.h"

#include "mailbox/MailboxTable.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace vm::vmbox {

// Something wrong in the file: line and field number (from 1) and what.
struct ImportProblem {
    int line;
    int column;
    QString what;
};

struct ImportRow {
    int line;
    BoxEdit edit;
};

struct ImportPlan {
    std::vector<ImportRow> additions;
    std::vector<ImportRow> changes;
    int unchangedRows = 0;
    std::vector<ImportProblem> problems;  // empty when the import can go ahead
};

// Reads `csv` against `table`, in the encoding given or the one the reader
// recognises. A problem with the file as a whole (its encoding, its header,
// broken quoting) ends the reading; problems of single rows are all collected.
ImportPlan planImport(const mailbox::MailboxTable& table, const QByteArray& csv,
                      std::optional<CsvEncoding> encoding = std::nullopt);

// Stores the plan's boxes in `table` as the window's store would, one after
// the other. Raises 6 past 32,767 entries (the plan has checked that).
void applyImport(mailbox::MailboxTable& table, const ImportPlan& plan);

}  // namespace vm::vmbox
