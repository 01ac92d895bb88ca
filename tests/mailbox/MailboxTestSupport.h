#pragma once
// Small helpers shared by the mailbox store's tests.

#include "mailbox/MailboxTable.h"
#include "support/ErrorNumberOf.h"

#include <QStringList>

#include <vector>

// Boxes are built with designated initializers; the fields left out are meant to be empty.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace vm::test {

inline VoicemailBox boxWithId(const QString& id)
{
    VoicemailBox b;
    b.Id = id;
    return b;
}

// Makes `table` hold exactly `boxes` as entries 1..N.
inline void setTable(MailboxTable& table, const std::vector<VoicemailBox>& boxes)
{
    table.resetToElementZero();
    for (const VoicemailBox& b : boxes)
        table.store(table.append(), b);
}

// One field of the table's boxes 1..N.
inline QStringList column(const MailboxTable& table, QString VoicemailBox::*field)
{
    QStringList values;
    for (int i = 1; i <= table.upperBound(); ++i)
        values << table.at(i).*field;
    return values;
}

}  // namespace vm::test
