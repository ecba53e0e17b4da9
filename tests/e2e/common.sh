# Shared by the end-to-end scripts (sourced): a scratch folder removed at the
# end with every program started, a failure count, and the wait for a window.
WORK=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$WORK"' EXIT
CONF=$XDG_CONFIG_HOME/Quorvan/VLM.conf
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Waits up to $2 seconds for a window whose name matches $1 and prints its id.
wait_window() {
    local i id
    for ((i = 0; i < $2 * 10; i++)); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
        if [ -n "$id" ]; then echo "$id"; return 0; fi
        sleep 0.1
    done
    return 1
}
