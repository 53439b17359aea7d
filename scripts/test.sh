#!/bin/sh
# Sets up, builds and runs every test: native, ThreadSanitizer, Address- and
# UndefinedBehaviorSanitizer, and the Windows build under Wine. Exits non-zero
# on the first failure.
set -e
cd "$(dirname "$0")/.."
scripts/setup.sh

for preset in native native-tsan native-asan windows; do
    echo "=== $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j 2
    ctest --preset "$preset"
done
echo "All tests passed."
