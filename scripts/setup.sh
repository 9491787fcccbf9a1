#!/usr/bin/env bash
# Installs the Debian packages Zupfwerk needs to build and test, when they are missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang libclang-rt-dev ccache
    qt6-base-dev libgl-dev fonts-liberation qt6-translations-l10n
    libgtest-dev libbenchmark-dev
    qt6-multimedia-dev
    qt6-svg-dev desktop-file-utils appstream shared-mime-info dpkg-dev lintian
    poppler-utils
    chordii xdg-utils
    xvfb xdotool x11-xkb-utils imagemagick python3 qt6-qpa-plugins
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi
