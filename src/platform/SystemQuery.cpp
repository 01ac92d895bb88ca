#include "SystemQuery.h"

namespace vm::sys {

namespace {
DisplayInfoProvider& providerStore()
{
    static DisplayInfoProvider provider;
    return provider;
}
const SystemQuery* g_override = nullptr;
}  // namespace

void setDisplayInfoProvider(DisplayInfoProvider provider) { providerStore() = std::move(provider); }

std::optional<DisplayInfo> currentDisplayInfo()
{
    const DisplayInfoProvider& provider = providerStore();
    if (!provider)
        return std::nullopt;
    try {
        return provider();
    } catch (...) {
        return std::nullopt;
    }
}

const SystemQuery& systemQuery()
{
    if (g_override)
        return *g_override;
    static const std::unique_ptr<SystemQuery> platform = createPlatformSystemQuery();
    return *platform;
}

void setSystemQueryOverride(const SystemQuery* query) { g_override = query; }

}  // namespace vm::sys
