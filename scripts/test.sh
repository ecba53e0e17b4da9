#!/bin/sh
# Installs what is missing, builds Vellumor and runs every test:
#   1. the whole suite on a normal build, every benchmark once at its
#      smallest size, then the desktop files and the Debian package built
#      from it (installed, tried and removed again),
#   2. every test again under AddressSanitizer and UndefinedBehaviorSanitizer
#      (leak checks on the store, whose memory is ours alone; the GUI tests
#      would report the toolkit's own one-time allocations),
#   3. the file reader fuzzer for a bounded time.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"

"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
(cd "$root/build" && ctest --output-on-failure -j2)
# Every benchmark once at its smallest size, so that they keep building and running.
"$root/bench/run-all.sh" "$root/build" 1000
"$root/scripts/check-desktop.sh" "$root/build"

"$root/scripts/build.sh" "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DVELLUMOR_SANITIZE=ON \
  -DVELLUMOR_BENCH=OFF
(cd "$root/build-asan" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j2 -R '^test_(store|expiration$)')
(cd "$root/build-asan" && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j2 -E '^test_(store|expiration$)')

if [ -x "$root/fuzz/run.sh" ]; then
  "$root/fuzz/run.sh" "$root/build-fuzz"
fi
