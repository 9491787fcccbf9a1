#!/usr/bin/env bash
# Builds the Debian package in a folder of its own (Release, without tests and benchmarks, through the
# compiler cache) and lets lintian judge it: any error fails, and so does a missing manual page.
# Usage: package_test.sh <source> <package build folder>
set -euo pipefail
source=$1 build=$2
fail() { echo "FAIL: $*" >&2; exit 1; }

launcher=()
command -v ccache > /dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
export QT_QPA_PLATFORM=offscreen
cmake -S "$source" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZW_BENCH=OFF -DZW_TESTS=OFF \
    "${launcher[@]}" > "$build.configure.log" 2>&1 || { cat "$build.configure.log"; fail "configure"; }
cmake --build "$build" -j "$(nproc)" > "$build.build.log" 2>&1 || { tail -50 "$build.build.log"; fail "build"; }
rm -f "$build"/zupfwerk_*.deb
(cd "$build" && cpack -G DEB > cpack.log 2>&1) || { cat "$build/cpack.log"; fail "cpack"; }
deb=$(ls "$build"/zupfwerk_*.deb)

contents=$(dpkg-deb -c "$deb")
for f in ./usr/bin/zupfwerk ./usr/bin/zupfwerk-export ./usr/share/doc/zupfwerk/copyright \
         ./usr/share/doc/zupfwerk/changelog.Debian.gz ./usr/share/man/man1/zupfwerk.1.gz \
         ./usr/share/man/man1/zupfwerk-export.1.gz ./usr/share/man/de/man1/zupfwerk.1.gz; do
    grep -q " $f\$" <<< "$contents" || fail "not in the package: $f"
done

# lintian declines to check as root without being told.
report=$(lintian --allow-root --tag-display-limit 0 "$deb" 2>&1 || true)
echo "$report"
if grep -q '^E: ' <<< "$report"; then fail "lintian reports errors"; fi
if grep -Eq 'binary-without-manpage|manpage-has-' <<< "$report"; then fail "lintian: manual pages"; fi
echo "package $(basename "$deb") passes lintian"
