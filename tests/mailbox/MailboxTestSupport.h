#pragma once
// Small helpers shared by the mailbox store's tests.

#include "mailbox/MailboxTable.h"
#include "support/ErrorNumberOf.h"

#include <QStringList>

#include <vector>

// Boxes are built with designated initializers; the fields left out are meant to be empty.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace vm::test {

inline mailbox::VoicemailBox boxWithId(const QString& id)
{
    mailbox::VoicemailBox b;
    b.Id = id;
    return b;
}

// Makes `table` hold exactly `boxes` as entries 1..N.
inline void setTable(mailbox::MailboxTable& table, const std::vector<mailbox::VoicemailBox>& boxes)
{
    table.resetToElementZero();
    for (const mailbox::VoicemailBox& b : boxes)
        table.store(table.append(), b);
}

// One field of the table's boxes 1..N.
inline QStringList column(const mailbox::MailboxTable& table, QString mailbox::VoicemailBox::*field)
{
    QStringList values;
    for (int i = 1; i <= table.upperBound(); ++i)
        values << table.at(i).*field;
    return values;
}

}  // namespace vm::test
