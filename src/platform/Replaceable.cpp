#include "Replaceable.h"

#include <atomic>

namespace vm::platform {

namespace {
std::atomic<std::int64_t> inForce{0};
}  // namespace

std::int64_t replacementsInForce() { return inForce.load(); }

void countReplacement(int delta) { inForce += delta; }

}  // namespace vm::platform
