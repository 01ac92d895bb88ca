#!/usr/bin/env bash
# Checks that every tracked C++ file follows .clang-format; changes nothing.
#   scripts/check-format.sh
# Prints the offending lines and exits non-zero on any drift. To fix a file:
#   clang-format -i path/to/File.cpp
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
echo "check-format: every C++ file follows .clang-format"
