#include "BoxColumns.h"

#include <QStringList>

namespace vm::vmbox {

QString columnName(Column column) { return QLatin1String(mailbox::boxField(column).column); }

QString optionName(Column column)
{
    if (column == Column::Id)
        return {};
    // "DeleteAfterForward" gives "delete-after-forward".
    QString option;
    for (const QChar c : columnName(column)) {
        if (c.isUpper() && !option.isEmpty())
            option += u'-';
        option += c.toLower();
    }
    return option;
}

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
        if (trimmed.compare(QLatin1String(mailbox::boxField(c).column), Qt::CaseInsensitive) == 0)
            return c;
    }
    return std::nullopt;
}

std::optional<Column> columnOfOption(QStringView option)
{
    for (const Column c : kAllColumns) {
        if (c != Column::Id && option == optionName(c))
            return c;
    }
    return std::nullopt;
}

QString fieldText(const mailbox::VoicemailBox& box, Column column)
{
    return isFlag(column) ? QString::number(box.*flagMember(column)) : box.*textMember(column);
}

}  // namespace vm::vmbox
