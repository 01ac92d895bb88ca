#pragma once
// The fields of a box, listed once. The list file's reader and writer, the
// command-line companion's CSV columns and options, and the window's Add /
// Modify controls all walk this table: a new field is one more member of
// VoicemailBox and one more row here (and its enumerator).

#include "VoicemailBox.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace vm::mailbox {

// Every field but the merge mark, in record order: the order of
// VoicemailBox's members and of the CSV columns.
enum class Field {
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

enum class FieldKind {
    Text,    // any text on one line; typed text is stored without the blanks around it
    Number,  // a number kept as text: ASCII digits only (the box number, the PIN)
    Flag,    // a 16-bit 0 or 1, written as a decimal number
};

struct BoxField {
    Field field;
    // The element's name in the list file; the Id is the record's attribute
    // (<VoicemailBox Id="...">), always first on its line.
    const char* element;
    // The column's name in a CSV file (and, in kebab case, the option of
    // the command-line companion).
    const char* column;
    FieldKind kind;
    // The member behind the field: `text` for Text and Number, `flag` for Flag.
    QString VoicemailBox::*text;
    std::int16_t VoicemailBox::*flag;
    // Place in a list file line: the writer writes the fields in this order
    // and the reader assigns them in it.
    int listOrder;
    // The window's control for the field: the index in its txtNewVmb text
    // box array, or -1 for the two flags, which are the check boxes
    // chkUploadToFtp and chkDeleteAfterForward.
    int windowField;
};

inline constexpr std::array<BoxField, 11> kBoxFields = {{
    {Field::Id, "Id", "Id", FieldKind::Number, &VoicemailBox::Id, nullptr, 0, 0},
    {Field::Pin, "Pin", "Pin", FieldKind::Number, &VoicemailBox::Pin, nullptr, 1, 1},
    {Field::Description, "Description", "Description", FieldKind::Text, &VoicemailBox::Description, nullptr, 3, 2},
    {Field::Groups, "Groups", "Groups", FieldKind::Text, &VoicemailBox::Groups, nullptr, 2, 7},
    {Field::EmailForward, "EmailForward", "EmailForward", FieldKind::Text, &VoicemailBox::EmailForward, nullptr, 4, 3},
    {Field::PhoneForward, "PhoneForward", "PhoneForward", FieldKind::Text, &VoicemailBox::PhoneForward, nullptr, 5, 4},
    {Field::PagerNumber, "PagerNumber", "PagerNumber", FieldKind::Text, &VoicemailBox::PagerNumber, nullptr, 6, 5},
    {Field::PagerMessage, "PagerMessage", "PagerMessage", FieldKind::Text, &VoicemailBox::PagerMessage, nullptr, 7, 6},
    {Field::OnReceive, "OnReceive", "OnReceive", FieldKind::Text, &VoicemailBox::OnReceive, nullptr, 8, 8},
    {Field::FtpUpload, "FtpUpload", "FtpUpload", FieldKind::Flag, nullptr, &VoicemailBox::FtpUpload, 9, -1},
    {Field::DeleteAfterForward, "DeleteAfterForward", "DeleteAfterForward", FieldKind::Flag, nullptr,
     &VoicemailBox::DeleteAfterForward, 10, -1},
}};

inline constexpr const BoxField& boxField(Field field) { return kBoxFields[static_cast<std::size_t>(field)]; }

// The fields in the order of a list file line, the Id first.
inline constexpr std::array<const BoxField*, kBoxFields.size()> kListOrder = [] {
    std::array<const BoxField*, kBoxFields.size()> order{};
    for (const BoxField& f : kBoxFields)
        order[static_cast<std::size_t>(f.listOrder)] = &f;
    return order;
}();

// The fields the window edits in its txtNewVmb text boxes, by the box's
// index there (the flags are check boxes of their own).
inline constexpr int kWindowTextFields = 9;
inline constexpr std::array<const BoxField*, kWindowTextFields> kWindowOrder = [] {
    std::array<const BoxField*, kWindowTextFields> order{};
    for (const BoxField& f : kBoxFields)
        if (f.windowField >= 0)
            order[static_cast<std::size_t>(f.windowField)] = &f;
    return order;
}();

constexpr bool rowsFollowFields()
{
    for (std::size_t i = 0; i < kBoxFields.size(); ++i) {
        const BoxField& f = kBoxFields[i];
        if (static_cast<std::size_t>(f.field) != i || (f.kind == FieldKind::Flag) != (f.flag != nullptr) ||
            (f.text == nullptr) == (f.flag == nullptr) || kListOrder[static_cast<std::size_t>(f.listOrder)] != &f)
            return false;
    }
    return kListOrder[0]->field == Field::Id;
}
static_assert(rowsFollowFields(), "one row per field, in enumerator order, each with its one member");
// Counted by index rather than by pointer: sanitizer builds do not take a
// pointer's comparison with null as a constant.
static_assert(
    [] {
        for (int box = 0; box < kWindowTextFields; ++box)
            if (std::count_if(kBoxFields.begin(), kBoxFields.end(), [box](const BoxField& f) {
                    return f.windowField == box && f.kind != FieldKind::Flag;
                }) != 1)
                return false;
        return true;
    }(),
    "every text box of the window shows one text field");

}  // namespace vm::mailbox
