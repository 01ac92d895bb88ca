#!/usr/bin/env bash
# Installs what is missing, checks that every C++ file follows .clang-format
# (scripts/check-format.sh), builds everything (benchmarks included) into
# build/, runs clang-tidy over src/ (scripts/tidy.py, about 2 minutes on two
# cores) and every test through CTest, then builds the Debian package
# and checks its contents (scripts/check-package.sh). Then, unless VM_QUICK=1:
#  - the whole test suite again, built with AddressSanitizer (leaks checked) and
#    UndefinedBehaviorSanitizer (build-asan/);
#  - each fuzz target for VM_FUZZ_SECONDS seconds (default 30) when clang
#    is installed (build-fuzz/).
# Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
./scripts/check-format.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON -DVM_BUILD_BENCH=ON
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

echo "== Sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVM_SANITIZE=ON -DBUILD_TESTING=ON -DVM_BUILD_BENCH=OFF
cmake --build build-asan
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j2

echo "== Fuzzing"
./scripts/fuzz.sh "${VM_FUZZ_SECONDS:-30}"
