#!/bin/bash
# Two real starts of vellumor under one X server: the first holds the
# instance, a later one hands over its command line and ends at once. What
# the first received shows in the recent-file list it writes when it ends.
# Usage: test_single_instance.sh VELLUMOR VELLUMOR-CLI X11-CLOSE
set -u
VELLUMOR=$1 CLI=$2 CLOSE=$3
. "$(dirname "$0")/common.sh"
# The list of passwords due would follow every open, the tip of the day every
# first start: not what these starts are about.
mkdir -p "$(dirname "$CONF")"
printf '[1.0]\nAutoCheck=false\nViewTips=false\n' >"$CONF"

FIRST="$WORK/My Passwords.VLM"
OTHER="$WORK/Other File.VLM"
"$CLI" create "$FIRST" --no-password || exit 1
"$CLI" create "$OTHER" --no-password || exit 1

# Ends the first instance through its close box, answering the exit question.
close_first() {
    local main=$1 pid=$2
    "$CLOSE" "$main" || fail "close request not sent"
    local box
    if box=$(wait_window '^VLM$' 10); then
        xdotool windowfocus --sync "$box" key Return
    else
        fail "no exit question"
    fi
    local i
    for ((i = 0; i < 100; i++)); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then fail "first instance did not end"; kill "$pid"; fi
    wait "$pid" || fail "first instance exit status $?"
}

# Without a file to open, the New/Open dialog comes up first: closing it
# leaves the program running with no file.
dismiss_wizard() {
    local open
    if open=$(wait_window '^Open$' 15); then
        "$CLOSE" "$open"
        sleep 0.3
        [ -z "$(xdotool search --onlyvisible --name '^Open$' 2>/dev/null)" ] ||
            fail "the New/Open dialog did not close"
    else
        fail "no New/Open dialog at a start without file"
    fi
}

# Waits until a process has done its work: its CPU time stands still for a
# second (a hand-over is handled after the second start has ended).
settle() {
    local pid=$1 last= now i
    for ((i = 0; i < 60; i++)); do
        sleep 0.5
        now=$(awk '{print $14 + $15}' "/proc/$pid/stat" 2>/dev/null) || return 0
        if [ "$now" = "$last" ] && [ $i -ge 2 ]; then return 0; fi
        last=$now
    done
}

# No instance running: a quoted path opens, without its quotes.
"$VELLUMOR" "\"$FIRST\"" &
first=$!
main=$(wait_window '^Vellumor V1\.0\.0$' 15) || { echo "FAIL: no main window"; exit 1; }

# A second start without arguments only brings the first forward.
timeout 10 "$VELLUMOR"; rc=$?
[ $rc -eq 0 ] || fail "second start without argument: exit status $rc"
kill -0 $first 2>/dev/null || fail "first instance gone after an empty hand-over"
sleep 0.5
[ -z "$(xdotool search --onlyvisible --name '^VLM$' 2>/dev/null)" ] ||
    fail "an empty hand-over asked something"

# A second start with a quoted path: the first opens exactly that path.
timeout 10 "$VELLUMOR" "\"$OTHER\""; rc=$?
[ $rc -eq 0 ] || fail "second start with a path: exit status $rc"
settle $first
close_first "$main" $first

[ "$(conf_value File-1)" = "$OTHER" ] || fail "File-1 is '$(conf_value File-1)', not the handed-over path"
[ "$(conf_value File-2)" = "$FIRST" ] || fail "File-2 is '$(conf_value File-2)', not the start file"
[ "$(conf_value FileName)" = "$OTHER" ] || fail "FileName is '$(conf_value FileName)'"
[ "$(conf_value NumFiles)" = "2" ] || fail "NumFiles is '$(conf_value NumFiles)'"

# The lock is free again: the next start is a first instance of its own.
"$VELLUMOR" &
again=$!
dismiss_wizard
main=$(wait_window '^Vellumor V1\.0\.0$' 15) || fail "no main window after a restart"
kill -0 $again 2>/dev/null || fail "restart ended at once, as if another instance ran"
[ -n "$main" ] && close_first "$main" $again

# Sets one option in the settings file, in the section the program reads.
set_option() {
    sed -i "/^$1=/d" "$CONF"
    sed -i "/^\[1.0\]/a $1=$2" "$CONF"
}

# With AutoLoadData the last file opens and the command line is ignored.
set_option AutoLoadData true
set_option FileName "$OTHER"
"$VELLUMOR" "\"$FIRST\"" &
auto=$!
main=$(wait_window '^Vellumor V1\.0\.0$' 15) || fail "no main window with AutoLoadData"
[ -n "$main" ] && close_first "$main" $auto
[ "$(conf_value File-1)" = "$OTHER" ] || fail "AutoLoadData: File-1 is '$(conf_value File-1)'"
[ "$(conf_value File-2)" = "$FIRST" ] || fail "AutoLoadData: File-2 is '$(conf_value File-2)'"

# A remembered new, never saved file is not opened (no error box).
set_option FileName "<New VLM File>"
"$VELLUMOR" &
placeholder=$!
dismiss_wizard
main=$(wait_window '^Vellumor V1\.0\.0$' 15) || fail "no main window after a new file"
[ -z "$(xdotool search --onlyvisible --name '^VLM$' 2>/dev/null)" ] ||
    fail "the placeholder name was opened as a file"
[ -n "$main" ] && close_first "$main" $placeholder

# A protected start file: the password is asked before the main window opens.
set_option AutoLoadData false
LOCKED="$WORK/Locked.VLM"
printf 'pass phrase\npass phrase\n' |
    "$CLI" create "$LOCKED" --password-stdin --kdf-ops 1 --kdf-mem 8 >/dev/null || exit 1
"$VELLUMOR" "$LOCKED" &
locked=$!
if ask=$(wait_window '^Enter a password$' 15); then
    [ -z "$(xdotool search --onlyvisible --name '^Vellumor V' 2>/dev/null)" ] ||
        fail "main window shown before the password was given"
    xdotool windowfocus --sync "$ask" type --delay 20 'pass phrase'
    xdotool key Return
else
    fail "no password dialog for a protected start file"
fi
main=$(wait_window '^Vellumor V1\.0\.0$' 15) || fail "no main window after the password"
[ -n "$main" ] && close_first "$main" $locked
[ "$(conf_value File-1)" = "$LOCKED" ] || fail "protected file not opened: File-1 is '$(conf_value File-1)'"

if [ $failures -ne 0 ]; then
    echo "$failures failure(s)"
    exit 1
fi
echo "PASS"
