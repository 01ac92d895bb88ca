// Placeholder until call tracking lands.
#include "FailSafe.h"

namespace vm::failsafe {
void fsSTART() {}
void fsPUSH(const QString&, const QString&, const QString&) {}
void fsPOP(const QString&, const QString&, const QString&) {}
}  // namespace vm::failsafe
