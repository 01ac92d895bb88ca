#include "ImportPlan.h"

#include "SafeText.h"

#include "mailbox/BoxStore.h"
#include "mailbox/TextFold.h"
#include "mailbox/VmbSort.h"

#include <QHash>

#include <optional>

namespace vm::vmbox {

namespace {

struct Header {
    std::vector<std::optional<Column>> columns;  // by field position
    int idPosition = -1;
};

Header readHeader(const CsvRecord& record)
{
    Header header;
    std::vector<int> seenAt(kAllColumns.size(), 0);
    for (qsizetype k = 0; k < record.fields.size(); ++k) {
        const int position = static_cast<int>(k) + 1;
        if (const qsizetype c = firstControlCharacter(record.fields[k]); c >= 0)
            throw CsvError(record.lines[k], position,
                           QStringLiteral("the column name holds the control character %1")
                               .arg(characterCode(record.fields[k][c])));
        const std::optional<Column> column = columnNamed(record.fields[k]);
        if (!column)
            throw CsvError(
                record.lines[k], position,
                QStringLiteral("unknown column \"%1\"; the columns are %2").arg(record.fields[k], allColumnNames()));
        int& seen = seenAt[static_cast<std::size_t>(*column)];
        if (seen)
            throw CsvError(record.lines[k], position,
                           QStringLiteral("column %1 is also column %2").arg(columnName(*column)).arg(seen));
        seen = position;
        header.columns.push_back(column);
        if (*column == Column::Id)
            header.idPosition = static_cast<int>(k);
    }
    if (header.idPosition < 0)
        throw CsvError(record.lines.front(), 1, QStringLiteral("the header row has no Id column"));
    return header;
}

class Planner {
public:
    Planner(const mailbox::MailboxTable& table, ImportPlan& plan, bool guessedUtf8)
        : table_(table), plan_(plan), guessedUtf8_(guessedUtf8)
    {}

    void row(const Header& header, const CsvRecord& record)
    {
        const int line = record.lines.front();
        const auto columns = static_cast<qsizetype>(header.columns.size());
        if (record.fields.size() != columns) {
            problem(
                line, static_cast<int>(std::min(record.fields.size(), columns + 1)),
                QStringLiteral("%1 values where the header names %2 columns").arg(record.fields.size()).arg(columns));
            return;
        }
        const auto positionOf = [&](Column c) {
            for (qsizetype k = 0; k < columns; ++k)
                if (header.columns[k] == c)
                    return k;
            return qsizetype(0);
        };
        try {
            const TargetBox target = targetOf(table_, record.fields[header.idPosition]);
            if (!firstOfItsBox(target, line, record.lines[header.idPosition], header.idPosition + 1))
                return;
            values_.clear();
            for (qsizetype k = 0; k < columns; ++k)
                if (k != header.idPosition)
                    values_.push_back({*header.columns[k], record.fields[k]});
            BoxEdit edit = editBox(table_, target, values_);
            if (target.index < 1) {
                if (++added_ + table_.upperBound() > kMostEntries) {
                    problem(line, header.idPosition + 1,
                            QStringLiteral("box %1 would be entry %2 of the list; it holds at most %3")
                                .arg(target.id)
                                .arg(added_ + table_.upperBound())
                                .arg(kMostEntries));
                    return;
                }
                plan_.additions.push_back({line, std::move(edit)});
            } else if (!edit.changed.empty()) {
                plan_.changes.push_back({line, std::move(edit)});
            } else {
                ++plan_.unchangedRows;
            }
        } catch (const FieldProblem& p) {
            const qsizetype k = positionOf(p.column());
            const bool maybeAnsi = guessedUtf8_ && p.kind() == FieldProblem::Kind::Character;
            problem(record.lines[k], static_cast<int>(k) + 1,
                    p.message() + (maybeAnsi ? QStringLiteral(" (the file was read as UTF-8; if it is windows-1252, "
                                                              "import it with --encoding windows-1252)")
                                             : QString()));
        }
    }

private:
    // Each box may appear once: a second row for it is a mistake, not an update.
    bool firstOfItsBox(const TargetBox& target, int line, int fieldLine, int column)
    {
        const QString key = mailbox::foldCase(target.id);
        const auto earlier = rowOfBox_.constFind(key);
        if (earlier == rowOfBox_.cend()) {
            rowOfBox_.insert(key, line);
            return true;
        }
        problem(fieldLine, column, QStringLiteral("box %1 is also on line %2").arg(target.id).arg(*earlier));
        return false;
    }

    void problem(int line, int column, const QString& what) { plan_.problems.push_back({line, column, what}); }

    const mailbox::MailboxTable& table_;
    ImportPlan& plan_;
    bool guessedUtf8_;
    std::vector<GivenValue> values_;  // of the row at hand, kept for its capacity
    QHash<QString, int> rowOfBox_;
    int added_ = 0;
};

}  // namespace

ImportPlan planImport(const mailbox::MailboxTable& table, const QByteArray& csv, std::optional<CsvEncoding> encoding)
{
    ImportPlan plan;
    try {
        CsvReader reader(csv, encoding);
        CsvRecord record;
        if (!reader.next(record))
            throw CsvError(1, 1, QStringLiteral("no header row; the first line names the columns"));
        const Header header = readHeader(record);
        // One row a line is the usual case: room for all of them at once.
        plan.additions.reserve(static_cast<std::size_t>(csv.count('\n') + csv.count('\r') / 2));
        Planner planner(table, plan, reader.guessedUtf8());
        while (reader.next(record))
            planner.row(header, record);
    } catch (const CsvError& e) {
        plan.problems.push_back({e.line(), e.column(), e.message()});
    }
    return plan;
}

void applyImport(mailbox::MailboxTable& table, const ImportPlan& plan)
{
    table.reserve(table.upperBound() + 1 + static_cast<int>(plan.additions.size()));
    for (const ImportRow& row : plan.changes)
        mailbox::storeBox(table, row.edit.box, mailbox::SortAfterAdding::No);
    for (const ImportRow& row : plan.additions)
        mailbox::storeBox(table, row.edit.box, mailbox::SortAfterAdding::No);
    if (!plan.additions.empty())
        mailbox::sortById(table, 1, table.upperBound());
}

}  // namespace vm::vmbox
