#!/usr/bin/env bash
# Installs the Debian packages Halvane builds and tests with. Idempotent:
# apt-get runs only when a package is missing, and the package lists are
# refreshed only then.
set -euo pipefail

PACKAGES=(
    build-essential cmake ninja-build pkg-config
    libirrlicht-dev liblua5.1-0-dev libopenal-dev libvorbis-dev
    zlib1g-dev libminizip-dev libbullet-dev
    libfreetype-dev libfontconfig-dev uuid-dev libx11-dev
    libpng-dev libjpeg62-turbo-dev libpugixml-dev
    libgtest-dev libgmock-dev libbenchmark-dev
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
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
