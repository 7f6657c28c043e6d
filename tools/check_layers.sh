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
    "irrlicht           core/io core/foundation"
    "gui                core/app core/io core/foundation core/events irrlicht platform"
    "graphics           core/app core/world core/io core/foundation core/events irrlicht gui platform"
    "physics/newton     -"
    "physics            core/app core/world core/io core/foundation core/events graphics physics/newton"
    "sound              core/app core/world core/io core/foundation core/events platform"
    "world              core/app core/world core/io core/foundation core/events graphics physics sound platform"
    "script_api         core graphics gui physics sound world platform"
    "lenscart           core/app core/world core/events core/foundation script_api graphics gui physics"
    "editlaunch         core/foundation platform"
    "app                *"
    "bench              core script_api irrlicht graphics gui physics sound world platform app lenscart"
)

# Tests are checked by the rule of the folder they mirror (tests/gui/ by
# gui's), and may include beyond it their shared support, the composition
# root (app) for tests of the whole program, and what this table adds: what
# the tests of a folder use to host or drive it. A header found under tests/
# is a test header of the folder it mirrors.
TEST_RULES=(
    # folder under tests/ may also include
    "support            *"
    "app                *"
    "core/events        core/foundation"
    "core/foundation    core/io core/app"
    "core/io            core/app"
    "platform           core/app"
    "graphics           core/script core/script/lua"
    "gui                graphics sound"
    "sound              graphics"
    "lenscart           core/script world"
)

# Headers of the operating system (POSIX, Linux, X11): only our OS layer
# and the script runtime layer include them.
SYSTEM_HEADERS='^(unistd|fcntl|dirent|dlfcn|pthread|spawn|poll|termios|pwd|grp|semaphore|syslog|glob|fnmatch|wordexp|libgen|utime|sched|link|netdb|ifaddrs|ftw|fts|mqueue|aio|langinfo|ucontext|execinfo)\.h$|^(sys|X11|linux|asm|netinet|arpa|net)/'
SYSTEM_LAYERS=("platform" "core/script/lua")

# Irrlicht's headers: core/ stays free of them (irrlicht/ adapts the
# engine's types to Irrlicht's).
IRRLICHT_HEADERS='^(irrlicht/)?(irrlicht|irr[A-Z][A-Za-z]*|irrpack|irrunpack|Irr[A-Za-z]*|I[A-Z][A-Za-z0-9]*|S[A-Z0-9][A-Za-z0-9]*|SceneParameters|E[A-Z][A-Za-z]*|C[A-Z][A-Za-z]*Buffer|Keycodes|aabbox3d|coreutil|dimension2d|driverChoice|fast_atof|heapsort|line[23]d|matrix4|path|plane3d|position2d|quaternion|rect|triangle3d|vector[23]d)\.h$'

declare -A allowed=()
folders=()
for rule in "${RULES[@]}"; do
    read -r folder rest <<<"$rule"
    folders+=("$folder")
    allowed["$folder"]="$rest"
done
for rule in "${TEST_RULES[@]}"; do
    read -r folder rest <<<"$rule"
    [[ -z "${allowed[$folder]+set}" ]] && folders+=("$folder")
    allowed["tests/$folder"]="support app ${allowed[$folder]:-} $rest"
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

# The layer a file of the tests checks by: "tests/<mirrored folder>", where
# a folder without a table row of its own keeps the mirrored rule alone.
test_layer_of() {
    layer_of "${1#tests/}"
    [[ -n "$LAYER" ]] || return 0
    if [[ -n "${allowed[tests/$LAYER]+set}" ]]; then
        LAYER="tests/$LAYER"
    else
        allowed["tests/$LAYER"]="support app ${allowed[$LAYER]}"
        LAYER="tests/$LAYER"
    fi
}

# The layer an include names: a test header (found under tests/) is
# support or mirrors a folder; anything else names an engine folder.
include_layer_of() {
    local from="$1" target="$2"
    if [[ "$from" == tests/* && -f "tests/$target" ]]; then
        if [[ "$target" == support/* ]]; then
            LAYER="support"
        else
            layer_of "$target"
        fi
    else
        layer_of "$target"
    fi
}

may_include() {
    local from="$1" to="$2" entry
    [[ "$from" == "$to" || "$from" == "tests/$to" ]] && return 0
    [[ "$to" == "support" && "$from" == tests/* ]] && return 0
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

mapfile -t files < <(find . \( -path ./build -o -path ./tests/scripts -o -path ./tools -o -path ./examples \
    -o -path './.*' \) -prune -o -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.hpp' -o -name '*.c' \) -print |
    sed 's|^\./||' | sort)
checked=0
# Sets LAYER to the layer the file is checked by; empty when none.
file_layer_of() {
    if [[ "$1" == tests/support/* ]]; then
        LAYER="tests/support"
    elif [[ "$1" == tests/* ]]; then
        test_layer_of "$1"
    else
        layer_of "$1"
    fi
}

for file in "${files[@]}"; do
    file_layer_of "$file"
    [[ -n "$LAYER" ]] && checked=$((checked + 1))
done

failures=0
while IFS=: read -r file line text; do
    file_layer_of "$file"
    layer="$LAYER"
    [[ -z "$layer" ]] && continue
    if [[ "$text" =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]]; then
        target="${BASH_REMATCH[1]}"
        [[ "$target" != */* ]] && continue # beside the file itself
        include_layer_of "$file" "$target"
        target_layer="$LAYER"
        [[ -z "$target_layer" ]] && continue
        if ! may_include "$layer" "$target_layer"; then
            echo "$file:$line: $layer may not include $target_layer (\"$target\")" >&2
            failures=$((failures + 1))
        fi
    elif [[ "$text" =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<([^\>]+)\> ]]; then
        header="${BASH_REMATCH[1]}"
        # Tests and benchmarks make their own files, processes and windows.
        if [[ "$header" =~ $SYSTEM_HEADERS ]] && ! is_system_layer "$layer" &&
            [[ "$layer" != tests/* && "$layer" != bench ]]; then
            echo "$file:$line: <$header> belongs under platform/ (the OS layer), not $layer" >&2
            failures=$((failures + 1))
        fi
        if [[ "$layer" == core/* && "$header" =~ $IRRLICHT_HEADERS ]]; then
            echo "$file:$line: <$header> is Irrlicht's, which $layer does not include (irrlicht/ adapts it)" >&2
            failures=$((failures + 1))
        fi
    fi
done < <(if [ "${#files[@]}" -gt 0 ]; then grep -nH '^[[:space:]]*#[[:space:]]*include' "${files[@]}" || true; fi)

if [ "$failures" -ne 0 ]; then
    echo "check_layers: $failures include(s) break the layers ($checked files checked)" >&2
    exit 1
fi
echo "check_layers: $checked files keep the layers"
