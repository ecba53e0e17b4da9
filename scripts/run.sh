#!/bin/sh
# Installs what is missing, builds Vellumor and starts it.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
exec "$root/build/src/cli/vellumor-cli" --help
