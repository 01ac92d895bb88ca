#pragma once
// Work over many independent items shared among the machine's cores. Used
// where a benchmark shows it pays: listing a folder of 100,000 messages opens
// each file and makes each row on every core (BM_ListMessages/100000, its
// wall time against the floor).

#include <cstddef>
#include <functional>

namespace vm::platform {

// The threads worth starting for such work: the cores, at most 4.
int workerThreads();

// Calls `work(from, to)` for consecutive blocks of the items 0 .. count - 1,
// from `threads` threads at once (this one among them) and in no set order;
// every item is in exactly one block. An exception from `work` stops the
// hand-out of further blocks and is raised here once every thread has
// stopped. With `threads` at most 1, the blocks come one after another in
// order.
void parallelFor(std::size_t count, int threads, const std::function<void(std::size_t from, std::size_t to)>& work);

}  // namespace vm::platform
