#pragma once
// The fields of a box (mailbox/BoxFields.h) as columns of a CSV file and
// options of the command line: "Id" to "DeleteAfterForward" in record order,
// and their lower-case kebab forms "--pin" to "--delete-after-forward".

#include "mailbox/BoxFields.h"

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace vm::vmbox {

using Column = mailbox::Field;

inline constexpr std::array<Column, mailbox::kBoxFields.size()> kAllColumns = [] {
    std::array<Column, mailbox::kBoxFields.size()> all{};
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = mailbox::kBoxFields[i].field;
    return all;
}();

QString columnName(Column column);  // "EmailForward"
QString optionName(Column column);  // "email-forward"; "" for Id, which no option sets
QString allColumnNames();           // "Id, Pin, ..., DeleteAfterForward"

// The column a header names, ignoring letter case and blanks around it.
std::optional<Column> columnNamed(QStringView name);
// The column of an option name without its dashes ("email-forward"); none for Id.
std::optional<Column> columnOfOption(QStringView option);

inline bool isFlag(Column column) { return mailbox::boxField(column).kind == mailbox::FieldKind::Flag; }

// The record field behind a column: a string for the nine text columns, a
// 16-bit flag for the two others (the other pointer is then null).
inline QString mailbox::VoicemailBox::*textMember(Column column) { return mailbox::boxField(column).text; }
inline std::int16_t mailbox::VoicemailBox::*flagMember(Column column) { return mailbox::boxField(column).flag; }

// A field's value as text: flags as decimal numbers.
QString fieldText(const mailbox::VoicemailBox& box, Column column);

}  // namespace vm::vmbox
