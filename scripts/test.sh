#!/usr/bin/env bash
# Installs what is missing, builds Zupfwerk and runs every test headless:
#  1. the whole program and its tests (windows on Qt's offscreen platform),
#  2. the model tests again under AddressSanitizer and UndefinedBehaviorSanitizer,
#  3. the chord-table reader under libFuzzer for a bounded time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

echo "== Build and test"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$root/build" -j "$jobs"
ctest --test-dir "$root/build" --output-on-failure -j "$jobs"

echo "== Model tests under AddressSanitizer and UndefinedBehaviorSanitizer"
# The vptr check gives up on objects whose second base lies megabytes in (the chord table).
sanitizers="-fsanitize=address,undefined -fno-sanitize=vptr -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S "$root" -B "$root/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZW_MODEL_ONLY=ON -DZW_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$sanitizers" -DCMAKE_EXE_LINKER_FLAGS="$sanitizers"
cmake --build "$root/build-asan" -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir "$root/build-asan" --output-on-failure -j "$jobs"

echo "== Fuzzing the chord-table reader"
cmake -S "$root" -B "$root/build-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZW_MODEL_ONLY=ON \
    -DZW_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
cmake --build "$root/build-fuzz" -j "$jobs" --target zw_fuzz_laden zw_fuzz_korpus
ctest --test-dir "$root/build-fuzz" --output-on-failure -R fuzz
