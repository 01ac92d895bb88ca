#pragma once
// Small helpers shared by the mailbox store's tests.

#include "mailbox/VmailLib.h"
#include "platform/RuntimeError.h"

#include <QStringList>

#include <functional>

namespace vm::test {

// The run-time error number `step` raises; 0 when it raises none.
inline int errorNumberOf(const std::function<void()>& step)
{
    try {
        step();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
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
