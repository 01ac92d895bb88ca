#pragma once
// The global memory status of the machine and of this process, in the shape
// of the classic GlobalMemoryStatus figures: a load percentage, physical
// memory, the commit space (physical plus swap) and the address space of the
// process. Cheap enough to be called for every trace line.

#include <cstddef>
#include <cstdint>

namespace vm::platform {

struct MemoryStatus {
    std::uint32_t memoryLoad = 0;     // percent of physical memory in use, 0..100
    std::uint64_t totalPhysical = 0;  // bytes of RAM
    std::uint64_t availPhysical = 0;  // bytes of RAM available without swapping
    std::uint64_t totalPageFile = 0;  // commit space: RAM + swap
    std::uint64_t availPageFile = 0;  // available RAM + free swap
    std::uint64_t totalVirtual = 0;   // address space the process may use
    std::uint64_t availVirtual = 0;   // of which not yet mapped
};

// All figures. Values that cannot be read stay 0.
MemoryStatus memoryStatus();

// Load and physical figures only (the process address space is not read);
// this is what every trace line needs.
MemoryStatus physicalMemoryStatus();

// Pure parts, exposed for tests.
// Load percentage as the system reports it: the used share of physical
// memory, rounded down; 0 when the total is 0.
std::uint32_t memoryLoadPercent(std::uint64_t total, std::uint64_t available);
// "MemAvailable:" of a /proc/meminfo text in bytes, or -1 when missing.
long long memAvailableFromMeminfo(const char* text, std::size_t length);

}  // namespace vm::platform
