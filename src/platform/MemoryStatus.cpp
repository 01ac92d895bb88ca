#include "MemoryStatus.h"

#include <sys/resource.h>
#include <sys/sysinfo.h>

#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace vm::platform {

namespace {

// Whole small /proc file into `buf`; returns the byte count, 0 on failure.
std::size_t readProcFile(const char* path, char* buf, std::size_t size)
{
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    std::size_t total = 0;
    while (total < size - 1) {
        const ssize_t n = ::read(fd, buf + total, size - 1 - total);
        if (n <= 0)
            break;
        total += static_cast<std::size_t>(n);
    }
    ::close(fd);
    buf[total] = '\0';
    return total;
}

void fillPhysical(MemoryStatus& m)
{
    struct sysinfo si {};
    if (::sysinfo(&si) != 0)
        return;
    const std::uint64_t unit = si.mem_unit ? si.mem_unit : 1;
    m.totalPhysical = std::uint64_t(si.totalram) * unit;
    // The kernel's own estimate of memory available without swapping counts
    // reclaimable caches; without it, free plus buffers is the best guess.
    char buf[4096];
    const std::size_t n = readProcFile("/proc/meminfo", buf, sizeof buf);
    const long long available = memAvailableFromMeminfo(buf, n);
    m.availPhysical = available >= 0 ? std::uint64_t(available)
                                     : (std::uint64_t(si.freeram) + std::uint64_t(si.bufferram)) * unit;
    if (m.availPhysical > m.totalPhysical)
        m.availPhysical = m.totalPhysical;
    m.memoryLoad = memoryLoadPercent(m.totalPhysical, m.availPhysical);
    m.totalPageFile = m.totalPhysical + std::uint64_t(si.totalswap) * unit;
    m.availPageFile = m.availPhysical + std::uint64_t(si.freeswap) * unit;
}

// Size of the user address space when the process has no limit of its own:
// 47 bits on the usual 64-bit kernels, 3 GiB on 32-bit ones.
constexpr std::uint64_t kUserAddressSpace = sizeof(void*) == 8 ? (std::uint64_t(1) << 47) : (std::uint64_t(3) << 30);

void fillVirtual(MemoryStatus& m)
{
    struct rlimit lim {};
    m.totalVirtual = kUserAddressSpace;
    if (::getrlimit(RLIMIT_AS, &lim) == 0 && lim.rlim_cur != RLIM_INFINITY && lim.rlim_cur < kUserAddressSpace)
        m.totalVirtual = lim.rlim_cur;
    // First field of statm: pages of address space in use.
    char buf[256];
    if (readProcFile("/proc/self/statm", buf, sizeof buf) == 0)
        return;
    const std::uint64_t used = std::strtoull(buf, nullptr, 10) * std::uint64_t(::sysconf(_SC_PAGESIZE));
    m.availVirtual = used < m.totalVirtual ? m.totalVirtual - used : 0;
}

}  // namespace

std::uint32_t memoryLoadPercent(std::uint64_t total, std::uint64_t available)
{
    if (total == 0)
        return 0;
    if (available > total)
        available = total;
    return static_cast<std::uint32_t>((total - available) * 100 / total);
}

long long memAvailableFromMeminfo(const char* text, std::size_t length)
{
    static constexpr char kKey[] = "MemAvailable:";
    const std::size_t keyLength = sizeof kKey - 1;
    for (std::size_t i = 0; i + keyLength <= length; ++i) {
        if ((i == 0 || text[i - 1] == '\n') && std::memcmp(text + i, kKey, keyLength) == 0) {
            std::size_t p = i + keyLength;
            while (p < length && text[p] == ' ')
                ++p;
            long long kib = 0;
            bool digits = false;
            while (p < length && text[p] >= '0' && text[p] <= '9') {
                kib = kib * 10 + (text[p++] - '0');
                digits = true;
            }
            return digits ? kib * 1024 : -1;
        }
    }
    return -1;
}

MemoryStatus physicalMemoryStatus()
{
    MemoryStatus m;
    fillPhysical(m);
    return m;
}

MemoryStatus memoryStatus()
{
    MemoryStatus m;
    fillPhysical(m);
    fillVirtual(m);
    return m;
}

}  // namespace vm::platform
