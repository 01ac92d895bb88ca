#pragma once
// How values given for a box (a CSV row, command-line options) change it. A
// value that differs from what the box holds loses the blanks around it, as
// the window's Add / Modify button stores typed text; but where the window
// filters what is typed, values from outside are refused instead: a box
// number must be digits, a PIN one to four digits, a flag 0 or 1, and text
// may hold no control character but a tab. A value equal to the stored one
// leaves the field as it is, even where those rules would refuse it, so that
// an exported list imports back without a change.

#include "BoxColumns.h"

#include "mailbox/MailboxTable.h"

#include <QString>

#include <exception>
#include <vector>

namespace vm::vmbox {

// Table indices are 16-bit: a list holds at most this many entries.
inline constexpr int kMostEntries = 32767;

// A value that cannot be stored, and the field it was given for.
class FieldProblem : public std::exception {
public:
    enum class Kind { Value, Character };  // Character: one windows-1252 lacks
    FieldProblem(Column column, QString what, Kind kind = Kind::Value)
        : column_(column), what_(std::move(what)), kind_(kind)
    {}
    Column column() const { return column_; }
    Kind kind() const { return kind_; }
    const QString& message() const { return what_; }
    const char* what() const noexcept override { return "field problem"; }

private:
    Column column_;
    QString what_;
    Kind kind_;
};

// The entry an operator's box number names: the one whose Id is the text
// itself (ignoring letter case, like every lookup), else the one whose Id is
// the text without the blanks around it. `index` is -1 for a box not in the
// table yet; `id` is the Id the box has or will get.
struct TargetBox {
    std::int16_t index = -1;
    QString id;
};

// Raises FieldProblem(Id) when no entry has the text as its Id and the text
// is not digits (blanks around them aside).
TargetBox targetOf(const mailbox::MailboxTable& table, const QString& idText);

struct GivenValue {
    Column column;
    QString text;
};

struct BoxEdit {
    TargetBox target;
    mailbox::VoicemailBox box;    // what the entry holds afterwards
    std::vector<Column> changed;  // fields whose value changes (none listed for a new box)
};

// The target's box with `values` applied (the Id column is not among them).
// Raises FieldProblem for a value that cannot be stored: a character outside
// windows-1252, a PIN that is not one to four digits, a flag other than 0 or
// 1, a control character, text that the list file could not give back as
// written; and for a new box without a PIN.
BoxEdit editBox(const mailbox::MailboxTable& table, const TargetBox& target, const std::vector<GivenValue>& values);

// Position of the first character of `text` that windows-1252 lacks; -1 when none.
qsizetype firstCharacterOutsideAnsi(const QString& text);

}  // namespace vm::vmbox
