#!/usr/bin/env bash
# Installs everything the viewer, its tests and its benchmark need on Debian 12 (run as root).
set -euo pipefail
packages=(
    build-essential cmake pkg-config
    libwxgtk3.2-dev libpugixml-dev libgtest-dev
    clang libclang-rt-14-dev
    xvfb xauth xdotool openbox imagemagick x11-utils fonts-noto-cjk fonts-dejavu-core
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update
    apt-get install -y --no-install-recommends "${missing[@]}"
fi
