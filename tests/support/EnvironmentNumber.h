#pragma once
// A number a test run takes from its environment: a seed, a count.

#include <QString>

namespace vm::test {

// The variable's value; `fallback` when it is unset or not a number.
inline quint64 environmentNumber(const char* name, quint64 fallback)
{
    bool ok = false;
    const quint64 value = qEnvironmentVariable(name).toULongLong(&ok);
    return ok ? value : fallback;
}

}  // namespace vm::test
