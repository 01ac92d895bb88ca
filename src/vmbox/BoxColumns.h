#pragma once
// The eleven fields of a box as columns of a CSV file and options of the
// command line: "Id" to "DeleteAfterForward" in record order, and the
// lower-case kebab forms "--pin" to "--delete-after-forward".

#include "mailbox/VoicemailBox.h"

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace vm::vmbox {

enum class Column {
    Id,
    Pin,
    Description,
    Groups,
    EmailForward,
    PhoneForward,
    PagerNumber,
    PagerMessage,
    OnReceive,
    FtpUpload,
    DeleteAfterForward,
};

inline constexpr std::array<Column, 11> kAllColumns = {
    Column::Id,           Column::Pin,          Column::Description,        Column::Groups,
    Column::EmailForward, Column::PhoneForward, Column::PagerNumber,        Column::PagerMessage,
    Column::OnReceive,    Column::FtpUpload,    Column::DeleteAfterForward,
};

QString columnName(Column column);  // "EmailForward"
QString optionName(Column column);  // "email-forward"
QString allColumnNames();           // "Id, Pin, ..., DeleteAfterForward"

// The column a header names, ignoring letter case and blanks around it.
std::optional<Column> columnNamed(QStringView name);
// The column of an option name without its dashes ("email-forward"); none for Id.
std::optional<Column> columnOfOption(QStringView option);

bool isFlag(Column column);

// The record field behind a column: a string for the nine text columns, a
// 16-bit flag for the two others (the other pointer is then null).
QString VoicemailBox::*textMember(Column column);
std::int16_t VoicemailBox::*flagMember(Column column);

// A field's value as text: flags as decimal numbers.
QString fieldText(const VoicemailBox& box, Column column);

}  // namespace vm::vmbox
