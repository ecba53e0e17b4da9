#!/bin/sh
# Configures and builds one tree: build.sh DIR [cmake options...]
set -eu
dir=$1
shift
cmake -S "$(dirname "$0")/.." -B "$dir" "$@" >/dev/null
cmake --build "$dir" -j"$(nproc)"
