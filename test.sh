#!/usr/bin/env bash
# Sets everything up, builds the test configuration (address and
# undefined-behaviour sanitizers) and runs every test headless, then builds
# the Release configuration and runs the suite again on it: a fault that
# only one allocator or optimiser shows must not pass unseen.
set -euo pipefail
cd "$(dirname "$0")"
./tools/bootstrap.sh
./tools/check_format.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DHALVANE_TESTS=ON -DHALVANE_SANITIZE=ON -DHALVANE_WARNINGS_AS_ERRORS=ON >/dev/null
cmake --build build/test
export ALSOFT_DRIVERS=null
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
(cd build/test && ctest --output-on-failure -j "$(nproc)" "$@")

cmake -S . -B build/test-release -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DHALVANE_TESTS=ON -DHALVANE_WARNINGS_AS_ERRORS=ON >/dev/null
cmake --build build/test-release
# The checks of the sources themselves (layers, set-up scripts) ran above.
cd build/test-release
ctest --output-on-failure -j "$(nproc)" -E '^(layers|layers/self_test|tools/setup_scripts)$' "$@"
