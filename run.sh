#!/usr/bin/env bash
# Sets everything up, builds halvane (Release with debug info) and runs it on
# the given script, by default the bundled example.
set -euo pipefail
cd "$(dirname "$0")"
./tools/bootstrap.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release
if [ "$#" -eq 0 ]; then
    set -- examples/hello/main.lua
fi
exec build/release/app/halvane "$@"
