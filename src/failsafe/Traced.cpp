#include "Traced.h"

#include "FailSafe.h"
#include "FailSafeHooks.h"
#include "FailSafeState.h"
#include "PendingError.h"

#include "platform/RuntimeError.h"

#include <optional>

namespace vm::failsafe {

namespace {

enum class Next { RunAgain, Leave };

QString argumentText(const std::function<QString()>& arguments)
{
    QString text;
    platform::ignoreErrors([&] { text = arguments(); });
    return text;
}

std::optional<int> handleError(const QString& module, const QString& procedure, std::exception_ptr failure)
{
    std::optional<int> result;
    platform::ignoreErrors([&] {
        Err().set(platform::toRuntimeError(failure));
        result = fsERROR(module, procedure);
    });
    return result;
}

Next actOn(std::optional<int> result)
{
    switch (result.value_or(0)) {
        case 1: return Next::RunAgain;
        case 5: platform::ignoreErrors(debuggerStop); return state().devEnvironment ? Next::RunAgain : Next::Leave;
        default:  // 2 continues after the failing part, which is the exit path here
            return Next::Leave;
    }
}

}  // namespace

void runTraced(const QString& module, const QString& procedure, const std::function<QString()>& arguments,
               const std::function<void()>& body)
{
    fsPUSH(module, procedure, argumentText(arguments));
    for (int attempt = 0;; ++attempt) {
        try {
            body();
            break;
        } catch (...) {
            const Next next = actOn(handleError(module, procedure, std::current_exception()));
            if (next == Next::Leave || attempt >= kMaxRetries)
                break;
        }
    }
    fsPOP(module, procedure, argumentText(arguments));
}

}  // namespace vm::failsafe
