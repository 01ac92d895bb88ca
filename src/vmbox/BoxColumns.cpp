#include "BoxColumns.h"

#include <QStringList>

namespace vm::vmbox {

namespace {

struct ColumnNames {
    const char* column;
    const char* option;
};

constexpr std::array<ColumnNames, 11> kNames = {{
    {"Id", ""},
    {"Pin", "pin"},
    {"Description", "description"},
    {"Groups", "groups"},
    {"EmailForward", "email-forward"},
    {"PhoneForward", "phone-forward"},
    {"PagerNumber", "pager-number"},
    {"PagerMessage", "pager-message"},
    {"OnReceive", "on-receive"},
    {"FtpUpload", "ftp-upload"},
    {"DeleteAfterForward", "delete-after-forward"},
}};

const ColumnNames& namesOf(Column column) { return kNames[static_cast<std::size_t>(column)]; }

}  // namespace

QString columnName(Column column) { return QLatin1String(namesOf(column).column); }

QString optionName(Column column) { return QLatin1String(namesOf(column).option); }

QString allColumnNames()
{
    QStringList names;
    for (const Column c : kAllColumns)
        names << columnName(c);
    return names.join(QStringLiteral(", "));
}

std::optional<Column> columnNamed(QStringView name)
{
    const QStringView trimmed = name.trimmed();
    for (const Column c : kAllColumns) {
        if (trimmed.compare(QLatin1String(namesOf(c).column), Qt::CaseInsensitive) == 0)
            return c;
    }
    return std::nullopt;
}

std::optional<Column> columnOfOption(QStringView option)
{
    for (const Column c : kAllColumns) {
        if (c != Column::Id && option == QLatin1String(namesOf(c).option))
            return c;
    }
    return std::nullopt;
}

bool isFlag(Column column) { return column == Column::FtpUpload || column == Column::DeleteAfterForward; }

QString VoicemailBox::*textMember(Column column)
{
    switch (column) {
        case Column::Id: return &VoicemailBox::Id;
        case Column::Pin: return &VoicemailBox::Pin;
        case Column::Description: return &VoicemailBox::Description;
        case Column::Groups: return &VoicemailBox::Groups;
        case Column::EmailForward: return &VoicemailBox::EmailForward;
        case Column::PhoneForward: return &VoicemailBox::PhoneForward;
        case Column::PagerNumber: return &VoicemailBox::PagerNumber;
        case Column::PagerMessage: return &VoicemailBox::PagerMessage;
        case Column::OnReceive: return &VoicemailBox::OnReceive;
        case Column::FtpUpload:
        case Column::DeleteAfterForward: break;
    }
    return nullptr;
}

std::int16_t VoicemailBox::*flagMember(Column column)
{
    switch (column) {
        case Column::FtpUpload: return &VoicemailBox::FtpUpload;
        case Column::DeleteAfterForward: return &VoicemailBox::DeleteAfterForward;
        default: return nullptr;
    }
}

QString fieldText(const VoicemailBox& box, Column column)
{
    return isFlag(column) ? QString::number(box.*flagMember(column)) : box.*textMember(column);
}

}  // namespace vm::vmbox
