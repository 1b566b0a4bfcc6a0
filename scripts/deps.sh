#!/usr/bin/env bash
# Installs everything the build, the editor and the tests need on Debian 12.
# The one list of packages: both set-up commands call this script.
set -euo pipefail

APT_PACKAGES=(
    build-essential cmake ninja-build pkg-config git
    clang libclang-rt-14-dev clang-format-14
    qt6-base-dev qt6-base-dev-tools qt6-webengine-dev libgl-dev libxkbcommon-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    libgif-dev
    chromium
    fonts-dejavu-core
    desktop-file-utils appstream dpkg-dev file
    qt6-l10n-tools qt6-tools-dev
)

missing=()
for pkg in "${APT_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$pkg")
    fi
done
# Node.js may come from another source whose package already carries npm.
command -v node >/dev/null 2>&1 || missing+=(nodejs)
command -v npm >/dev/null 2>&1 || missing+=(npm)
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Front-end test packages from the lock file.
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -f "$root/package-lock.json" ]; then
    if [ ! -d "$root/node_modules" ] || [ "$root/package-lock.json" -nt "$root/node_modules/.package-lock.json" ]; then
        (cd "$root" && npm ci --no-audit --no-fund)
    fi
fi
