#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a while.
#   scripts/fuzz.sh [SECONDS_PER_TARGET]
# The time per target is the argument, else $VM_FUZZ_SECONDS, else 15 seconds.
# The targets are those fuzz/CMakeLists.txt adds (vm_add_fuzzer).
# The seed corpus in fuzz/corpus/<target> is copied, never written to; new
# inputs go to build-fuzz/corpus. A finding leaves its input in build-fuzz/
# and makes the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-${VM_FUZZ_SECONDS:-15}}
if ! command -v clang++ >/dev/null; then
  echo "fuzz: clang++ not found, skipped"
  exit 0
fi
mapfile -t targets < <(sed -n 's/^vm_add_fuzzer(\([A-Za-z0-9_]*\) .*/\1/p' fuzz/CMakeLists.txt)
((${#targets[@]})) || { echo "fuzz: no vm_add_fuzzer in fuzz/CMakeLists.txt"; exit 1; }
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DVM_FUZZ=ON -DVM_WERROR=ON -DVM_BUILD_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz --target "${targets[@]}"
# Findings of an earlier run were reported then; start clean.
find build-fuzz -maxdepth 1 \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) -delete
for t in "${targets[@]}"; do
  work="build-fuzz/corpus/$t"
  mkdir -p "$work"
  echo "fuzz: $t for ${seconds}s"
  (cd build-fuzz && "fuzz/$t" "corpus/$t" "../fuzz/corpus/$t" -max_total_time="$seconds" -max_len=8192 \
      -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 2>&1 | grep -E '^(stat::number_of_executed_units|Done|==[0-9]+==ERROR|SUMMARY)' || true)
  findings=$(find build-fuzz -maxdepth 1 \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \))
  if [[ -n "$findings" ]]; then
    echo "fuzz: $t found a problem:"; echo "$findings"
    exit 1
  fi
done
echo "fuzz: no findings"
