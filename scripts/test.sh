#!/usr/bin/env bash
# Installs what is missing, builds Zupfwerk and runs every test headless:
#  1. the whole program and its tests (windows on Qt's offscreen platform),
#  2. every test again, windows included, under AddressSanitizer and UndefinedBehaviorSanitizer,
#  3. the chord-table reader and the ChordPro reader under libFuzzer for a bounded time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
# The compiler cache makes the three builds below cheap when nothing changed, also in another clone.
export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=true
launcher=-DCMAKE_CXX_COMPILER_LAUNCHER=ccache

echo "== Build and test"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$launcher"
cmake --build "$root/build" -j "$jobs"
# The soak test runs once with its fixed seed and once with this one; a failure prints the seed and the
# steps to replay.
export ZW_SOAK_SEED=${ZW_SOAK_SEED:-$(date +%s)}
echo "Soak test seed: $ZW_SOAK_SEED"
ctest --test-dir "$root/build" --output-on-failure -j "$jobs"

echo "== Every test under AddressSanitizer and UndefinedBehaviorSanitizer"
# The vptr check gives up on objects whose second base lies megabytes in (the chord table).
sanitizers="-fsanitize=address,undefined -fno-sanitize=vptr -fno-sanitize-recover=all -fno-omit-frame-pointer"
# Set for the build too: the data generator and the desktop tools run while building.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0
cmake -S "$root" -B "$root/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug "$launcher" -DZW_MODEL_ONLY=OFF -DZW_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$sanitizers" -DCMAKE_EXE_LINKER_FLAGS="$sanitizers"
cmake --build "$root/build-asan" -j "$jobs"
# The soak runs shorter here; the longest model test sets the pace of this run anyway.
ZW_SOAK_SECONDS=30 ctest --test-dir "$root/build-asan" --output-on-failure -j "$jobs"
unset ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS

echo "== Fuzzing the chord-table reader and the ChordPro reader"
cmake -S "$root" -B "$root/build-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZW_MODEL_ONLY=ON "$launcher" \
    -DZW_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
cmake --build "$root/build-fuzz" -j "$jobs" --target zw_fuzz_laden zw_fuzz_korpus zw_fuzz_chordpro
ctest --test-dir "$root/build-fuzz" --output-on-failure -R fuzz
