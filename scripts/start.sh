#!/usr/bin/env bash
# Installs what is missing, builds Zupfwerk and starts it with the bundled default chord table.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=true cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=true cmake --build "$root/build"
# The program finds its bundled chord table and keeps its settings beside itself.
exec "$root/build/bin/zupfwerk"
