#!/usr/bin/env bash
# Builds the benchmarks in Release (no sanitizers) and runs them, or only the
# named ones: tools/bench.sh bench_zip bench_events
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/bootstrap.sh
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DHALVANE_TESTS=ON >/dev/null
cmake --build build/bench
export ALSOFT_DRIVERS=null
# The benchmark programs are not beside the model reader.
export HALVANE_MESH_READER="$PWD/build/bench/app/halvane-meshreader"
if [ "$#" -eq 0 ]; then
    set -- $(cd build/bench/bench && ls bench_* | grep -v '\.' || true)
fi
for name in "$@"; do
    echo "== $name"
    build/bench/bench/"$name"
done
