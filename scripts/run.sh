#!/bin/sh
# Installs what is missing, builds Vellumor and starts it. Without a display
# (a server, a container) it runs under a virtual X server and says so.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
program="$root/build/src/app/vellumor"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: starting Vellumor under Xvfb (a virtual X server you cannot see)."
    echo "Stop it with Ctrl+C."
    exec xvfb-run -a -s "-screen 0 1280x800x24" "$program" "$@"
fi
exec "$program" "$@"
