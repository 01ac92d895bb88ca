#!/usr/bin/env bash
# Installs what is missing, checks that every C++ file follows .clang-format
# (scripts/check-format.sh), builds everything (benchmarks included) into
# build/ with GCC, runs clang-tidy over src/ (scripts/tidy.py) and every test
# through CTest, then builds the Debian package and checks its contents and
# hardening (scripts/check-package.sh, lintian included). Then, unless
# VM_QUICK=1:
#  - the whole test suite again, built with clang, AddressSanitizer (leaks
#    checked) and UndefinedBehaviorSanitizer (build-asan/);
#  - the tests of the code that shares work among threads (message listings)
#    under ThreadSanitizer (build-tsan/, only those test programs);
#  - each fuzz target for a while (scripts/fuzz.sh: VM_FUZZ_SECONDS, default
#    15) when clang is installed (build-fuzz/).
# Every build treats a compiler warning as an error (-DVM_WERROR=ON).
# Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
./scripts/check-format.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVM_WERROR=ON -DBUILD_TESTING=ON -DVM_BUILD_BENCH=ON
cmake --build build
./scripts/tidy.py build
ctest --test-dir build --output-on-failure -j2

echo "== Debian package"
rm -f build/*.deb
(cd build && cpack -G DEB)
./scripts/check-package.sh build/*.deb

if [[ "${VM_QUICK:-0}" == "1" ]]; then
  exit 0
fi

# A build folder configured with another compiler is made afresh.
configure_with() {
  local compiler=$1 dir=$2
  shift 2
  if [[ -f $dir/CMakeCache.txt ]]; then
    local cached
    cached=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$dir/CMakeCache.txt")
    [[ $(basename "$cached") == "$compiler" ]] || rm -rf "$dir"
  fi
  cmake -S . -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER="$compiler" -DVM_WERROR=ON "$@"
}

echo "== Sanitizer build (clang, AddressSanitizer + UndefinedBehaviorSanitizer)"
configure_with clang++ build-asan -DCMAKE_BUILD_TYPE=Debug -DVM_SANITIZE=ON -DBUILD_TESTING=ON -DVM_BUILD_BENCH=OFF
cmake --build build-asan
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j2

echo "== ThreadSanitizer build (the tests of the threaded message listings)"
threaded_tests=(mailbox_tests vmbox_tests)
# Line tables only and light optimisation: enough for its reports, and the
# cheapest build of the two test programs.
configure_with clang++ build-tsan -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1" -DVM_SANITIZE_THREAD=ON \
  -DBUILD_TESTING=ON -DVM_BUILD_BENCH=OFF
cmake --build build-tsan --target "${threaded_tests[@]}"
# Clang 14's ThreadSanitizer stops in its own check when a threaded program
# starts another one (fork from QProcess), so the forwarding tests, which start
# a mail server and a mail program, run in the other builds only.
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 GTEST_FILTER='-*Forward*' \
  ctest --test-dir build-tsan --output-on-failure -j2 -R "^($(IFS='|'; echo "${threaded_tests[*]}"))\$"

echo "== Fuzzing"
./scripts/fuzz.sh
