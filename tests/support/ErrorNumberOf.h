#pragma once
#include "platform/RuntimeError.h"

namespace vm::test {

// The run-time error number `step` raises; 0 when it raises none.
inline int errorNumberOf(auto&& step)
{
    try {
        step();
    } catch (const platform::RuntimeError& e) {
        return e.number();
    }
    return 0;
}

}  // namespace vm::test
