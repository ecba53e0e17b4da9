#!/bin/sh
# Runs one test with a HOME, XDG folders and TMPDIR of its own, removed afterwards,
# so no test reads or writes the real user's files.
set -eu
root=$(mktemp -d "${TMPDIR:-/tmp}/vellumor-test.XXXXXX")
trap 'rm -rf "$root"' EXIT INT TERM
mkdir -p "$root/home" "$root/config" "$root/data" "$root/cache" "$root/state" "$root/runtime" "$root/tmp"
chmod 700 "$root/runtime"
export HOME="$root/home" XDG_CONFIG_HOME="$root/config" XDG_DATA_HOME="$root/data" \
       XDG_CACHE_HOME="$root/cache" XDG_STATE_HOME="$root/state" XDG_RUNTIME_DIR="$root/runtime" \
       TMPDIR="$root/tmp"
"$@"
