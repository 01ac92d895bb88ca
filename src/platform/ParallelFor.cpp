#include "ParallelFor.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace vm::platform {

namespace {

// Few enough hand-outs to cost nothing, small enough to keep the threads
// equally busy to the end.
constexpr std::size_t kBlock = 256;

}  // namespace

int workerThreads() { return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1U, 4U)); }

void parallelFor(std::size_t count, int threads, const std::function<void(std::size_t from, std::size_t to)>& work)
{
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    std::exception_ptr failure;
    std::mutex failureLock;
    const auto share = [&] {
        try {
            for (std::size_t from = next.fetch_add(kBlock); !failed && from < count; from = next.fetch_add(kBlock))
                work(from, std::min(from + kBlock, count));
        } catch (...) {
            const std::lock_guard lock(failureLock);
            if (!failure)
                failure = std::current_exception();
            failed = true;
        }
    };
    {
        std::vector<std::jthread> helpers;
        try {
            for (int t = 1; t < threads && static_cast<std::size_t>(t) * kBlock < count; ++t)
                helpers.emplace_back(share);
        } catch (const std::system_error&) {
            // Fewer threads than asked still do every block.
        }
        share();
    }
    if (failure)
        std::rethrow_exception(failure);
}

}  // namespace vm::platform
