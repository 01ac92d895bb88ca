#pragma once
// Small helpers shared by the mailbox store's tests.

#include "mailbox/VmailLib.h"
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

// Makes the global table hold exactly `boxes` as entries 1..N.
inline void setTable(const std::vector<VoicemailBox>& boxes)
{
    VmbArray().resetToElementZero();
    for (const VoicemailBox& b : boxes)
        VmbArray().store(VmbArray().append(), b);
}

// One field of the global table's boxes 1..N.
inline QStringList column(QString VoicemailBox::*field)
{
    QStringList values;
    for (int i = 1; i <= VmbArray().upperBound(); ++i)
        values << VmbArray().at(i).*field;
    return values;
}

}  // namespace vm::test
