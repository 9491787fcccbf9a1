#!/usr/bin/env bash
# Installs what is missing, builds Zupfwerk and starts it with the bundled default chord table.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$root/build"
# The program finds its bundled chord table and keeps its settings beside itself.
exec "$root/build/bin/zupfwerk"
