#!/usr/bin/env bash
# The layer check: which folders may include which, and where system calls
# of the operating system may be included. Prints every offending include as
# "file:line: reason" and fails; run from CTest on the whole tree.
#
#   tools/check_layers.sh [source folder]     (default: the repository)
set -euo pipefail
set -f # "*" in the rules is a word, never a file pattern
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
cd "$root"

# Who may include whom. A file belongs to the longest folder below that
# holds it; it may always include its own folder. An allowed folder covers
# its subfolders ("core" is every core/ folder); "*" allows everything.
RULES=(
    # folder            may include
    "platform           -"
    "core/events        platform"
    "core/foundation    core/events platform"
    "core/io            core/foundation core/events platform"
    "core/script/lua    core/foundation platform"
    "core/app           core/io core/foundation core/events platform"
    "core/world         core/io core/foundation platform"
    "core/script        core/app core/io core/foundation core/events core/script/lua platform"
    "script_api         core graphics gui physics sound world platform"
    "graphics           core gui world platform"
    "gui                core graphics platform"
    "physics/newton     -"
    "physics            core graphics physics/newton platform"
    "sound              core graphics platform"
    "world              core graphics physics sound platform"
    "lenscart           core script_api graphics gui physics sound world platform"
    "editlaunch         core/foundation platform"
    "app                *"
)

# Headers of the operating system (POSIX, Linux, X11): only our OS layer
# and the script runtime layer include them.
SYSTEM_HEADERS='^(unistd|fcntl|dirent|dlfcn|pthread|spawn|poll|termios|pwd|grp|semaphore|syslog|glob|fnmatch|wordexp|libgen|utime|sched|link|netdb|ifaddrs|ftw|fts|mqueue|aio|langinfo|ucontext|execinfo)\.h$|^(sys|X11|linux|asm|netinet|arpa|net)/'
SYSTEM_LAYERS=("platform" "core/script/lua")

declare -A allowed=()
folders=()
for rule in "${RULES[@]}"; do
    read -r folder rest <<<"$rule"
    folders+=("$folder")
    allowed["$folder"]="$rest"
done

# Sets LAYER to the longest rule folder that holds the path; empty when
# none does.
layer_of() {
    local path="$1" folder
    LAYER=""
    for folder in "${folders[@]}"; do
        if [[ "$path" == "$folder"/* && ${#folder} -gt ${#LAYER} ]]; then
            LAYER="$folder"
        fi
    done
}

may_include() {
    local from="$1" to="$2" entry
    [[ "$from" == "$to" ]] && return 0
    for entry in ${allowed[$from]}; do
        if [[ "$entry" == "*" || "$to" == "$entry" || "$to" == "$entry"/* ]]; then
            return 0
        fi
    done
    return 1
}

is_system_layer() {
    local layer="$1" entry
    for entry in "${SYSTEM_LAYERS[@]}"; do
        [[ "$layer" == "$entry" ]] && return 0
    done
    return 1
}

mapfile -t files < <(find . \( -path ./build -o -path ./tests -o -path ./bench -o -path ./tools -o -path ./examples \
    -o -path './.*' \) -prune -o -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.hpp' -o -name '*.c' \) -print |
    sed 's|^\./||' | sort)
checked=0
for file in "${files[@]}"; do
    layer_of "$file"
    [[ -n "$LAYER" ]] && checked=$((checked + 1))
done

failures=0
while IFS=: read -r file line text; do
    layer_of "$file"
    layer="$LAYER"
    [[ -z "$layer" ]] && continue
    if [[ "$text" =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]]; then
        target="${BASH_REMATCH[1]}"
        [[ "$target" != */* ]] && continue # beside the file itself
        layer_of "$target"
        target_layer="$LAYER"
        [[ -z "$target_layer" ]] && continue
        if ! may_include "$layer" "$target_layer"; then
            echo "$file:$line: $layer may not include $target_layer (\"$target\")" >&2
            failures=$((failures + 1))
        fi
    elif [[ "$text" =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<([^\>]+)\> ]]; then
        header="${BASH_REMATCH[1]}"
        if [[ "$header" =~ $SYSTEM_HEADERS ]] && ! is_system_layer "$layer"; then
            echo "$file:$line: <$header> belongs under platform/ (the OS layer), not $layer" >&2
            failures=$((failures + 1))
        fi
    fi
done < <(if [ "${#files[@]}" -gt 0 ]; then grep -nH '^[[:space:]]*#[[:space:]]*include' "${files[@]}" || true; fi)

if [ "$failures" -ne 0 ]; then
    echo "check_layers: $failures include(s) break the layers ($checked files checked)" >&2
    exit 1
fi
echo "check_layers: $checked files keep the layers"
