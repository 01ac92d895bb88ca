// Placeholder until the system information report lands.
#include "FailSafe.h"

namespace vm::failsafe {
void fsSystemInfo(QString& report)
{
    report.clear();
}
}  // namespace vm::failsafe
