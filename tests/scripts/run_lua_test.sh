#!/usr/bin/env bash
# Runs one Lua test script with the real halvane program.
#
#   run_lua_test.sh <halvane> <script.lua> <work folder>
#
# Directives in the script's leading comment lines, one per line:
#   --! exit: N            expected exit code (default 0)
#   --! args: words...     arguments after the script (bash words, "" allowed)
#   --! env: NAME=value    extra environment (repeatable; $HALVANE_TEST_LIB
#                          in the value is the library folder)
#   --! stdout: text       standard output must contain the text (repeatable)
#   --! stderr: text       standard error must contain the text (repeatable)
#   --! not-stdout: text   standard output must not contain the text
#   --! not-stderr: text   standard error must not contain the text
#   --! xvfb               run under xvfb-run (real pixels)
# The work folder is emptied first and given to the script as
# HALVANE_TEST_WORK; check.lua lives in HALVANE_TEST_LIB.
set -u
halvane="$1"
script="$2"
work="$3"

rm -rf "$work"
mkdir -p "$work"
export HALVANE_TEST_WORK="$work"

expected_exit=0
args=()
stdout_needles=()
stderr_needles=()
stderr_forbidden=()
stdout_forbidden=()
use_xvfb=0
envs=()
while IFS= read -r line; do
    case "$line" in
        "--! exit:"*) expected_exit="${line#--! exit:}"; expected_exit="${expected_exit// /}" ;;
        "--! args:"*) eval "args=(${line#--! args:})" ;;
        "--! env:"*) value="${line#--! env:}"; envs+=("${value# }") ;;
        "--! stdout:"*) value="${line#--! stdout:}"; stdout_needles+=("${value# }") ;;
        "--! stderr:"*) value="${line#--! stderr:}"; stderr_needles+=("${value# }") ;;
        "--! not-stdout:"*) value="${line#--! not-stdout:}"; stdout_forbidden+=("${value# }") ;;
        "--! not-stderr:"*) value="${line#--! not-stderr:}"; stderr_forbidden+=("${value# }") ;;
        "--! xvfb"*) use_xvfb=1 ;;
        "--!"*) echo "unknown directive: $line" >&2; exit 99 ;;
        "--"*|"") ;;
        *) break ;;
    esac
done < "$script"

for assignment in "${envs[@]+"${envs[@]}"}"; do
    assignment="${assignment//\$HALVANE_TEST_LIB/$HALVANE_TEST_LIB}"
    export "${assignment?}"
done

command=("$halvane" "$script" "${args[@]+"${args[@]}"}")
if [ "$use_xvfb" -eq 1 ]; then
    command=(xvfb-run -a -s "-screen 0 1024x768x24 -noreset" "${command[@]}")
fi

"${command[@]}" >"$work/stdout.txt" 2>"$work/stderr.txt" </dev/null
status=$?

failed=0
if [ "$status" -ne "$expected_exit" ]; then
    echo "exit code $status, expected $expected_exit"
    failed=1
fi
for needle in "${stdout_needles[@]+"${stdout_needles[@]}"}"; do
    if ! grep -qF -- "$needle" "$work/stdout.txt"; then
        echo "standard output lacks: $needle"
        failed=1
    fi
done
for needle in "${stderr_needles[@]+"${stderr_needles[@]}"}"; do
    if ! grep -qF -- "$needle" "$work/stderr.txt"; then
        echo "standard error lacks: $needle"
        failed=1
    fi
done
for needle in "${stdout_forbidden[@]+"${stdout_forbidden[@]}"}"; do
    if grep -qF -- "$needle" "$work/stdout.txt"; then
        echo "standard output contains: $needle"
        failed=1
    fi
done
for needle in "${stderr_forbidden[@]+"${stderr_forbidden[@]}"}"; do
    if grep -qF -- "$needle" "$work/stderr.txt"; then
        echo "standard error contains: $needle"
        failed=1
    fi
done
if [ "$failed" -ne 0 ]; then
    echo "----- stdout"; cat "$work/stdout.txt"
    echo "----- stderr"; cat "$work/stderr.txt"
fi
exit "$failed"
