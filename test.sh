#!/usr/bin/env bash
# Sets everything up, builds the test configuration (address and
# undefined-behaviour sanitizers) and runs every test headless.
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
cd build/test
ctest --output-on-failure -j "$(nproc)" "$@"
