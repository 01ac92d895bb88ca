// Error sources passed on by other components: any text parses into at most
// the error record's slots without crashing.
#include "FuzzSupport.h"

#include "failsafe/RemoteChain.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vm;
    fuzz::fuzzFolder();
    const QString source = fuzz::latin1(data, size);
    if (failsafe::isRemoteSource(source)) {
        const auto frames = failsafe::parseRemoteChain(source);
        if (frames.size() >= static_cast<std::size_t>(failsafe::kErrorSlots))
            std::abort();
    }
    return 0;
}
