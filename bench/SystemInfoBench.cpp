// One complete system information report on this machine, as an error
// report builds it.
#include "failsafe/FailSafe.h"

#include <benchmark/benchmark.h>

namespace {

void BM_SystemInfo(benchmark::State& state)
{
    QString report;
    for (auto _ : state) {
        vm::failsafe::fsSystemInfo(report);
        benchmark::DoNotOptimize(report.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * report.size());
}
BENCHMARK(BM_SystemInfo)->Unit(benchmark::kMillisecond);

}  // namespace
