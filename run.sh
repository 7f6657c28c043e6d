#!/usr/bin/env bash
# Sets everything up, builds halvane (Release with debug info) and runs it on
# the given script, by default the bundled example. The script path and its
# arguments are taken from the caller's folder, where halvane runs.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
(
    cd "$here"
    ./tools/bootstrap.sh
    cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build/release
)
if [ "$#" -eq 0 ]; then
    set -- "$here/examples/hello/main.lua"
fi
exec "$here/build/release/app/halvane" "$@"
