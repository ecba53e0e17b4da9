#!/bin/bash
# Measures how often an idle Vellumor wakes up: starts the program under its
# own Xvfb with a file open, lets it settle, then counts the context switches
# of all its threads over a quiet period. An idle program should show none.
# Usage: idle-wakeups.sh BUILD-DIR [SECONDS]
set -eu
build=$1
seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
exec "$here/../tests/run-isolated.sh" "$here/../tests/with-xvfb.sh" bash -c '
    set -eu
    build=$1 seconds=$2
    file="$TMPDIR/Idle.VLM"
    "$build/src/cli/vellumor-cli" create "$file" --no-password >/dev/null
    "$build/src/app/vellumor" "$file" &
    pid=$!
    trap "kill $pid 2>/dev/null" EXIT
    for _ in $(seq 50); do
        xdotool search --onlyvisible --name "^Vellumor V" >/dev/null 2>&1 && break
        sleep 0.1
    done
    sleep 5
    switches() {
        local total=0 task v n
        for task in /proc/$pid/task/*; do
            v=$(sed -n "s/^voluntary_ctxt_switches:\s*//p" "$task/status")
            n=$(sed -n "s/^nonvoluntary_ctxt_switches:\s*//p" "$task/status")
            total=$((total + v + n))
        done
        echo $total
    }
    cpu() { awk "{print \$14 + \$15}" /proc/$pid/stat; }
    before=$(switches) cpu_before=$(cpu)
    sleep "$seconds"
    after=$(switches) cpu_after=$(cpu)
    echo "idle_seconds=$seconds"
    echo "threads=$(ls /proc/$pid/task | wc -l)"
    echo "wakeups=$((after - before))"
    echo "cpu_ticks=$((cpu_after - cpu_before))"
' idle "$build" "$seconds"
