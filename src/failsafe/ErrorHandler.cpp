// Placeholder until error interception lands.
#include "FailSafe.h"
#include "PendingError.h"

namespace vm::failsafe {
std::optional<int> fsERROR(const QString&, const QString&)
{
    Err().clear();
    return 0;
}
}  // namespace vm::failsafe
