# Shared by the end-to-end scripts (sourced): a scratch folder removed at the
# end with every program started, a failure count, and the user's means:
# waiting for windows, keys, message boxes, the record dialog.
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

# Waits up to $3 seconds until window $1, named as $2 matches, is no longer shown.
wait_closed() {
    local i
    for ((i = 0; i < $3 * 10; i++)); do
        xdotool search --onlyvisible --name "$2" 2>/dev/null | grep -qx "$1" || return 0
        sleep 0.1
    done
    return 1
}

# Sends keys to a window, or types text into it. There is no window manager
# to hand out the focus, so each window is given it first; a window that
# cannot take it must not hang the test.
keys() {
    local window=$1
    shift
    timeout 5 xdotool windowfocus --sync "$window" key --delay 30 "$@" || fail "keys $* not sent"
}

typed() {
    timeout 10 xdotool windowfocus --sync "$1" type --delay 20 "$2" || fail "'$2' not typed"
}

# Answers the next "VLM" message box with key $1; $2 names the question.
answer() {
    local box
    if ! box=$(wait_window '^VLM$' 10); then
        fail "no message box: $2"
        return 1
    fi
    keys "$box" "$1"
    wait_closed "$box" '^VLM$' 10 || fail "message box still open: $2"
}

# Clicks row $1 (from 1) of the grid of main window $main: rows are 16 pixels
# high under the grid's header; the click lands in the user name column.
click_row() {
    xdotool mousemove --window "$main" 360 $((62 + 16 * $1)) click 1
    sleep 0.3
}

# In main window $main: Password > Add, then service $1, user $2, password
# $3. The keys after that are given on the category combo; Tab then reaches OK.
add_record() {
    local dialog
    keys "$main" alt+p a
    dialog=$(wait_window '^Add Password$' 10) || { fail "no record dialog for $1"; return 1; }
    typed "$dialog" "$1"
    keys "$dialog" Tab
    typed "$dialog" "$2"
    keys "$dialog" Tab
    typed "$dialog" "$3"
    shift 3
    keys "$dialog" Tab "$@" Tab space
    wait_closed "$dialog" '^Add Password$' 10 || fail "record dialog did not close"
}

# Waits up to 10 seconds for process $1 to end and checks its exit status.
ended() {
    local i
    for ((i = 0; i < 100; i++)); do
        kill -0 "$1" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$1" 2>/dev/null; then
        fail "program did not end"
        kill "$1"
    fi
    wait "$1" || fail "program exit status $?"
}

# Answers the Save As dialog with path $1; $2 is the failure when none shows.
save_as() {
    local saveas
    if saveas=$(wait_window '^Save Password File As' 10); then
        typed "$saveas" "$1"
        keys "$saveas" Return
        wait_closed "$saveas" '^Save Password File As' 10 || fail "Save As dialog did not close"
    else
        fail "$2"
    fi
}

# A value of the settings file.
conf_value() { sed -n "s/^$1=//p" "$CONF" | head -1; }
