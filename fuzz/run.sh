#!/usr/bin/env bash
# Builds fuzz_file_reader if needed and fuzzes it for a bounded time.
#
#   fuzz/run.sh [BUILD_DIR] [extra libFuzzer options...]
#
# BUILD_DIR defaults to build-fuzz in the source tree and is configured with
# clang when it has no cache yet. FUZZ_SECONDS (default 60) bounds the run.
# The committed corpus is copied to a temporary folder first, so the run does
# not grow it. A crash leaves its input in fuzz/crashes/ and fails the script.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/.." && pwd)
# Nothing read or written outside folders of our own.
if [ -z "${VELLUMOR_ISOLATED:-}" ]; then
    VELLUMOR_ISOLATED=1 exec "$source_dir/tests/run-isolated.sh" "$here/run.sh" "$@"
fi
build_dir=${1:-$source_dir/build-fuzz}
[ $# -gt 0 ] && shift
seconds=${FUZZ_SECONDS:-60}

if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    CC=clang CXX=clang++ cmake -S "$source_dir" -B "$build_dir" -DVELLUMOR_FUZZ=ON \
        -DVELLUMOR_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build_dir" --target fuzz_file_reader
fuzzer=$build_dir/fuzz/fuzz_file_reader

root=$(mktemp -d "${TMPDIR:-/tmp}/vellumor-fuzz.XXXXXX")
crashes=$here/crashes
created_crashes=no
if [ ! -d "$crashes" ]; then
    mkdir -p "$crashes"
    created_crashes=yes
fi
cleanup() {
    rm -rf "$root"
    # Leave no empty folder behind when nothing was found.
    if [ "$created_crashes" = yes ]; then
        rmdir "$crashes" 2>/dev/null || true
    fi
}
trap cleanup EXIT INT TERM

mkdir -p "$root/corpus"
cp -R "$here/corpus/." "$root/corpus/"

# AddressSanitizer keeps every distinct allocation stack for good. Qt is built
# without frame pointers, so past Qt's frame the fast unwinder reads stale
# stack words and nearly every allocation inside Qt adds a new stack: about
# 400 bytes per input, 1.5 GB after a few minutes. Two frames (malloc and its
# caller) keep that bounded; for whole allocation stacks, run the fuzzer on
# the saved input alone. Options already in ASAN_OPTIONS come later and win.
export ASAN_OPTIONS="malloc_context_size=2${ASAN_OPTIONS:+:$ASAN_OPTIONS}"

status=0
"$fuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
    -artifact_prefix="$crashes/" "$@" "$root/corpus" || status=$?
if [ "$status" -ne 0 ]; then
    echo "fuzz/run.sh: the fuzzer stopped with status $status; see $crashes" >&2
fi
exit "$status"
