#!/usr/bin/env bash
# run.sh and tools/bootstrap.sh with stand-ins for the programs they call,
# in a folder of their own:
# - run.sh runs halvane in the caller's folder, so a script path relative
#   to it works, and the default script is the bundled example;
# - bootstrap.sh passes the front-end setting through sudo, and without root
#   or sudo says what to run as root.
set -u
source_dir="$(cd "$(dirname "$0")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# A copy of the repository's two scripts beside stand-ins.
repo="$work/repo"
mkdir -p "$repo/tools" "$repo/build/release/app" "$work/bin" "$work/caller"
cp "$source_dir/run.sh" "$repo/run.sh"
cp "$source_dir/tools/bootstrap.sh" "$repo/tools/bootstrap.sh"

# run.sh: bootstrap and cmake do nothing; halvane tells where it ran.
mv "$repo/tools/bootstrap.sh" "$repo/tools/bootstrap.real"
printf '#!/bin/sh\nexit 0\n' > "$repo/tools/bootstrap.sh"
printf '#!/bin/sh\nexit 0\n' > "$work/bin/cmake"
printf '#!/bin/sh\necho "cwd=$(pwd)"\necho "args=$*"\n' > "$repo/build/release/app/halvane"
chmod +x "$repo/tools/bootstrap.sh" "$work/bin/cmake" "$repo/build/release/app/halvane"
out="$(cd "$work/caller" && PATH="$work/bin:$PATH" bash "$repo/run.sh" main.lua x 2>&1)"
grep -qx "cwd=$work/caller" <<<"$out" || fail "run.sh: halvane runs in the caller's folder: $out"
grep -qx "args=main.lua x" <<<"$out" || fail "run.sh: arguments as given: $out"
out="$(cd "$work/caller" && PATH="$work/bin:$PATH" bash "$repo/run.sh" 2>&1)"
grep -qx "args=$repo/examples/hello/main.lua" <<<"$out" || fail "run.sh: the default example: $out"
mv "$repo/tools/bootstrap.real" "$repo/tools/bootstrap.sh"

# bootstrap.sh as a user: every package missing; sudo and apt-get note
# their arguments and environment.
log="$work/log"
cat > "$work/bin/id" <<'STUB'
#!/bin/sh
echo 1000
STUB
cat > "$work/bin/dpkg-query" <<'STUB'
#!/bin/sh
exit 1
STUB
cat > "$work/bin/sudo" <<STUB
#!/bin/sh
echo "sudo \$*" >> "$log"
# sudo's environment reset.
exec env -i PATH="\$PATH" "\$@"
STUB
cat > "$work/bin/apt-get" <<STUB
#!/bin/sh
echo "apt-get \$1 DEBIAN_FRONTEND=\${DEBIAN_FRONTEND:-}" >> "$log"
STUB
chmod +x "$work/bin/"*
PATH="$work/bin:$PATH" bash "$repo/tools/bootstrap.sh" >/dev/null 2>&1 || fail "bootstrap.sh with sudo failed"
grep -qx "apt-get install DEBIAN_FRONTEND=noninteractive" "$log" ||
    fail "bootstrap.sh: the front end reaches apt-get through sudo: $(cat "$log")"

# Without sudo: a clear message and a failure.
rm "$work/bin/sudo"
: > "$log"
nosudo="$work/nosudo"
mkdir -p "$nosudo"
for tool in bash dirname env cat grep; do ln -s "$(command -v "$tool")" "$nosudo/$tool"; done
out="$(PATH="$work/bin:$nosudo" bash "$repo/tools/bootstrap.sh" 2>&1)" && fail "bootstrap.sh without root or sudo succeeded"
grep -q "needs root" <<<"$out" || fail "bootstrap.sh without sudo says what to do: $out"
[ ! -s "$log" ] || fail "bootstrap.sh without sudo ran apt-get: $(cat "$log")"

if [ "$failures" -ne 0 ]; then
    echo "$failures failed" >&2
    exit 1
fi
echo "setup scripts: all passed"
