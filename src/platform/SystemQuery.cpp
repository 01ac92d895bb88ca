#include "SystemQuery.h"

namespace vm::platform {

Replaceable<DisplayInfoProvider>& displayInfoProvider()
{
    static Replaceable<DisplayInfoProvider> inForce;
    return inForce;
}

std::optional<DisplayInfo> currentDisplayInfo()
{
    const DisplayInfoProvider& provider = displayInfoProvider().get();
    if (!provider)
        return std::nullopt;
    try {
        return provider();
    } catch (...) {
        return std::nullopt;
    }
}

Replaceable<const SystemQuery*>& systemQuerySource()
{
    static const std::unique_ptr<SystemQuery> platform = createPlatformSystemQuery();
    static Replaceable<const SystemQuery*> inForce(platform.get());
    return inForce;
}

const SystemQuery& systemQuery() { return *systemQuerySource().get(); }

}  // namespace vm::platform
