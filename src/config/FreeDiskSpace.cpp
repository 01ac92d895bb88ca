#include "FreeDiskSpace.h"

#include "platform/FileSystem.h"

#include <limits>

namespace vm::config {

std::int64_t GetFreeDiskSpace(const QString& root)
{
    const std::uint64_t bytes = platform::freeBytesForCaller(root);
    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    return static_cast<std::int64_t>(bytes > kMax ? kMax : bytes);
}

}  // namespace vm::config
