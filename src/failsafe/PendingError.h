#pragma once
// The pending run-time error, as the error block of a traced procedure hands
// it to fsERROR (number, line, description, source, help file and context).

#include "platform/RuntimeError.h"

#include <QString>

#include <cstdint>

namespace vm::failsafe {

struct PendingError {
    int number = 0;
    std::int32_t line = 0;
    QString description;
    QString source;
    QString helpFile;
    int helpContext = 0;

    void set(const platform::RuntimeError& e)
    {
        number = e.number();
        line = 0;
        description = e.description();
        source = e.source();
        helpFile.clear();
        helpContext = 0;
    }
    void clear() { *this = PendingError{}; }
};

PendingError& Err();

}  // namespace vm::failsafe
