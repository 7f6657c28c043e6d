#!/usr/bin/env bash
# Fails when a tracked C++ file is not formatted with the committed
# .clang-format; prints the files and the first differences.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files --cached --others --exclude-standard '*.cpp' '*.h' 2>/dev/null || find . -name '*.cpp' -o -name '*.h' | grep -v '^./build/')
if [ "${#files[@]}" -eq 0 ]; then
    exit 0
fi
if ! clang-format --dry-run -Werror "${files[@]}"; then
    echo "check_format: run 'clang-format -i' on the files above" >&2
    exit 1
fi
