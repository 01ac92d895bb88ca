#include "BoxListing.h"

#include "BoxColumns.h"
#include "CsvWriter.h"
#include "JsonText.h"
#include "SafeText.h"

#include "platform/AnsiText.h"

#include <algorithm>
#include <array>
#include <vector>

namespace vm::vmbox {

namespace {

// Entries that hold a box, in table order.
template <class Each>
void forEachBox(const mailbox::MailboxTable& table, Each&& each)
{
    const int n = table.upperBound();
    for (int i = 1; i <= n; ++i) {
        const mailbox::VoicemailBox& box = table.at(i);
        if (!box.Id.isEmpty())
            each(box);
    }
}

}  // namespace

QByteArray boxesAsCsv(const mailbox::MailboxTable& table)
{
    QString text;
    text.reserve(64 + table.upperBound() * 96);
    QStringList fields;
    for (const Column c : kAllColumns)
        fields << columnName(c);
    appendCsvRecord(text, fields);
    forEachBox(table, [&](const mailbox::VoicemailBox& box) {
        fields.clear();
        for (const Column c : kAllColumns)
            fields << fieldText(box, c);
        appendCsvRecord(text, fields);
    });
    return platform::encodeAnsi(text);
}

QByteArray boxesAsJson(const mailbox::MailboxTable& table)
{
    QString text = QStringLiteral("[");
    bool first = true;
    forEachBox(table, [&](const mailbox::VoicemailBox& box) {
        text += first ? QStringLiteral("\n  {") : QStringLiteral(",\n  {");
        first = false;
        for (const Column c : kAllColumns) {
            if (c != Column::Id)
                text += QStringLiteral(", ");
            appendJsonString(text, columnName(c));
            text += QStringLiteral(": ");
            if (isFlag(c))
                text += fieldText(box, c);
            else
                appendJsonString(text, box.*textMember(c));
        }
        text += u'}';
    });
    text += first ? QStringLiteral("]\n") : QStringLiteral("\n]\n");
    return text.toUtf8();
}

QByteArray boxesAsTable(const mailbox::MailboxTable& table)
{
    // Shown as the operator's terminal must show them: control characters escaped.
    std::vector<std::array<QString, 3>> rows;
    qsizetype idWidth = 2;
    qsizetype pinWidth = 3;
    forEachBox(table, [&](const mailbox::VoicemailBox& box) {
        rows.push_back(
            {withControlsEscaped(box.Id), withControlsEscaped(box.Pin), withControlsEscaped(box.Description)});
        idWidth = std::max(idWidth, rows.back()[0].size());
        pinWidth = std::max(pinWidth, rows.back()[1].size());
    });
    QString text;
    const auto row = [&](const QString& id, const QString& pin, const QString& comments) {
        text += id.leftJustified(idWidth + 2) + pin.leftJustified(pinWidth + 2) + comments;
        // Trailing blanks of an empty last column help nobody.
        while (text.endsWith(u' '))
            text.chop(1);
        text += u'\n';
    };
    row(QStringLiteral("ID"), QStringLiteral("PIN"), QStringLiteral("Comments"));
    for (const auto& [id, pin, description] : rows)
        row(id, pin, description);
    return text.toUtf8();
}

}  // namespace vm::vmbox
