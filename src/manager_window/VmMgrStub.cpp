#include "VmMgrStub.h"

#include "failsafe/Traced.h"

namespace vm::manager_window {

namespace {

const QString kModule = QStringLiteral("VmMgrStub.bas");

// Both hooks log nothing themselves; being traced is what makes their texts
// visible, as the arguments of their trace lines.
void traceHook(const QString& procedure, std::int16_t i, const QString& s)
{
    using namespace vm::failsafe;
    runTraced(
        kModule, procedure,
        [&] {
            return argumentList({variantArg(QStringLiteral("i%"), i), variantArg(QStringLiteral("s$"), s)});
        },
        [] {});
}

}  // namespace

void LogRunInfo(std::int16_t i, const QString& s) { traceHook(QStringLiteral("Sub LogRunInfo"), i, s); }

void LogError(std::int16_t i, const QString& s) { traceHook(QStringLiteral("Sub LogError"), i, s); }

mailbox::LoadLog runLog()
{
    return {[](const QString& s) { LogRunInfo(0, s); }, [](const QString& s) { LogError(0, s); }};
}

}  // namespace vm::manager_window
