#include "VmMgrStub.h"

namespace vm {

void LogRunInfo(std::int16_t i, const QString& s)
{
    (void)i;
    (void)s;
}

void LogError(std::int16_t i, const QString& s)
{
    (void)i;
    (void)s;
}

}  // namespace vm
