#!/usr/bin/env bash
# Installs the Debian packages Halvane builds and tests with. Idempotent:
# apt-get runs only when a package is missing, and the package lists are
# refreshed only then.
set -euo pipefail

PACKAGES=(
    build-essential cmake ninja-build pkg-config
    libirrlicht-dev libluajit-5.1-dev libopenal-dev libvorbis-dev
    zlib1g-dev libminizip-dev libbullet-dev
    libfreetype-dev libfontconfig-dev uuid-dev libx11-dev libgl-dev
    libpng-dev libjpeg62-turbo-dev libpugixml-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    # Debian's stock Lua 5.1 (library and interpreter): only the game-logic
    # benchmark runs on it, beside LuaJIT, which runs every script.
    liblua5.1-0-dev lua5.1
    xvfb xauth clang-format
    fonts-dejavu-core
)

missing=()
for package in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ "${#missing[@]}" -eq 0 ]; then
    exit 0
fi

echo "bootstrap: installing ${missing[*]}"
# sudo resets the environment, so the front end is passed on its command
# line.
apt=(env DEBIAN_FRONTEND=noninteractive apt-get)
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
        echo "bootstrap: these packages are missing and installing them needs root (no sudo here):" >&2
        echo "    apt-get install ${missing[*]}" >&2
        echo "bootstrap: run that as root, then run this again" >&2
        exit 1
    fi
    apt=(sudo "${apt[@]}")
fi
"${apt[@]}" update -q
"${apt[@]}" install -y -q --no-install-recommends "${missing[@]}"
