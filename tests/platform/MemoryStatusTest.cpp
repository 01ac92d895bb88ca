#include "platform/MemoryStatus.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace vm::platform;

TEST(MemoryStatus, LoadAvailableMemoryAndTheLiveFigures)
{
    const struct {
        std::uint64_t total, available;
        std::uint32_t load;
    } cases[] = {{0, 0, 0}, {100, 25, 75}, {3, 1, 66}, {3, 5, 0}, {8ULL << 30, 0, 100}};
    for (const auto& c : cases)
        EXPECT_EQ(vm::platform::memoryLoadPercent(c.total, c.available), c.load) << c.total << " " << c.available;

    // Available memory is read from its own line.
    const std::pair<const char*, long long> lines[] = {
        {"MemTotal: 9 kB\nMemAvailable:   12 kB\n", 12 * 1024},
        {"MemAvailable: 7 kB", 7 * 1024},
        {"XMemAvailable: 7 kB\n", -1},  // only at the start of a line
        {"MemAvailable: kB\n", -1},
        {"MemFree: 3 kB\n", -1},
    };
    for (const auto& [text, bytes] : lines)
        EXPECT_EQ(vm::platform::memAvailableFromMeminfo(text, std::strlen(text)), bytes) << text;

    const vm::platform::MemoryStatus live = vm::platform::memoryStatus();
    EXPECT_GT(live.totalPhysical, 0u);
    EXPECT_LE(live.availPhysical, live.totalPhysical);
    EXPECT_LE(live.memoryLoad, 100u);
    EXPECT_LE(live.availVirtual, live.totalVirtual);
}
