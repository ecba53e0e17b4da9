#!/bin/bash
# Runs every benchmark, each away from the user's files (run-isolated.sh), and
# prints their key=value lines: the store (open, save, merge), the grid, the
# tray menu and the main window. The tray menu is measured under an X server of
# its own with a tray host when Xvfb and trayer are at hand (real clicks on the
# icon), else offscreen.
# Usage: run-all.sh BUILD-DIR [RECORDS...]   (default 1000 10000 100000)
set -euo pipefail
build=$1
shift
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1000 10000 100000)
here=$(cd "$(dirname "$0")" && pwd)
isolated="$here/../tests/run-isolated.sh"

echo "# store"
"$isolated" "$build/bench/store_bench" --sizes "$(IFS=,; echo "${sizes[*]}")"
echo "# grid"
QT_QPA_PLATFORM=offscreen "$isolated" "$build/bench/grid_bench"
echo "# tray menu"
if command -v Xvfb >/dev/null && command -v trayer >/dev/null; then
    # shellcheck disable=SC2016 # expanded by the inner shell
    "$isolated" "$here/../tests/with-xvfb.sh" bash -c '
        trayer --edge top --align left --widthtype pixel --width 200 \
            --heighttype pixel --height 32 &
        host=$!
        status=0
        "$@" || status=$?
        kill "$host"
        exit "$status"' tray "$build/bench/tray_bench" --x11-tray "${sizes[@]}"
else
    QT_QPA_PLATFORM=offscreen "$isolated" "$build/bench/tray_bench" "${sizes[@]}"
fi
echo "# main window"
QT_QPA_PLATFORM=offscreen "$isolated" "$build/bench/window_bench" "${sizes[@]}"
