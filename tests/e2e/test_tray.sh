#!/bin/bash
# The program in the tray, under Xvfb with a tray host: the icon's menu lists
# the services, choosing one copies its password (read back by another X
# client), and a double-click on the icon opens the main window. Started again
# to send instead, choosing the service types the user name and password into
# the login form of another program that was active when the menu opened,
# even when another window has taken the focus meanwhile.
# Usage: test_tray.sh VELLUMOR VELLUMOR-CLI X11-CLOSE LOGIN-TARGET
set -u
VELLUMOR=$1 CLI=$2 CLOSE=$3 LOGIN=$4
. "$(dirname "$0")/common.sh"

FILE="$WORK/Tray.VLM"
"$CLI" create "$FILE" --no-password >/dev/null || exit 1
# No file password, so the one line read is the record's password.
printf 's3cret-pw\n' | "$CLI" add "$FILE" Mail --password-stdin -u anna -p >/dev/null || exit 1
mkdir -p "$XDG_CONFIG_HOME/Quorvan"

# Starts the program in the tray with the service action given; sets program
# and icon (the program's only window, embedded in the tray host).
start_in_tray() {
    printf '[1.0]\nStartupType=2\nAutoCheck=false\nSysTrayPWDefault=%s\nKeyBeforeCB=8\nKeyAfterCB=13\n' \
        "$1" >"$XDG_CONFIG_HOME/Quorvan/VLM.conf"
    "$VELLUMOR" "$FILE" &
    program=$!
    icon=
    for ((i = 0; i < 100; i++)); do
        icon=$(xdotool search --name '^Vellumor$' 2>/dev/null | head -1)
        [ -n "$icon" ] && break
        sleep 0.1
    done
    [ -n "$icon" ] || { echo "FAIL: no tray icon"; exit 1; }
    sleep 1
}

wait_exit() {
    for ((i = 0; i < 100; i++)); do
        kill -0 "$1" 2>/dev/null || return 0
        sleep 0.1
    done
    return 1
}

trayer --edge top --align left --widthtype pixel --width 200 --heighttype pixel --height 32 &
sleep 1
start_in_tray 2
[ -z "$(xdotool search --onlyvisible --name '^Vellumor V' 2>/dev/null)" ] ||
    fail "a main window showed at a start in the tray"

# Right-click, first item (the service), Enter: its password is copied.
xdotool mousemove --window "$icon" 8 8 click 3
sleep 1
xdotool key Down Return
sleep 1
copied=$(xclip -o -selection clipboard 2>/dev/null)
[ "$copied" = "s3cret-pw" ] || fail "clipboard holds '$copied', not the service's password"
xclip -o -selection clipboard -t TARGETS 2>/dev/null | grep -q x-kde-passwordManagerHint ||
    fail "the copied password is not marked as a secret"

# A double-click on the icon opens the main window.
xdotool mousemove --window "$icon" 8 8 click --repeat 2 --delay 80 1
if main=$(wait_window '^Vellumor V1\.0\.0$' 15); then
    "$CLOSE" "$main"
    if box=$(wait_window '^VLM$' 10); then
        xdotool windowfocus --sync "$box" key Return
    else
        fail "no exit question"
    fi
else
    fail "no main window after a double-click on the icon"
fi
wait_exit $program || { fail "program did not end"; kill $program; }

# Send User/Password: the form that was active when the menu opened gets the
# keys, not the window that took the focus while the menu was open.
start_in_tray 6
# Each form says "ready" once it has the focus; the second one takes it.
form_window() {
    local i
    for ((i = 0; i < 100; i++)); do
        [ -s "$WORK/$1.out" ] && break
        sleep 0.1
    done
    xdotool search --onlyvisible --pid "$2" 2>/dev/null | head -1
}
"$LOGIN" >"$WORK/form.out" 2>/dev/null &
form=$!
formwindow=$(form_window form $form)
"$LOGIN" >"$WORK/other.out" 2>/dev/null &
other=$!
otherwindow=$(form_window other $other)
[ -n "$formwindow" ] && [ -n "$otherwindow" ] || fail "the login forms did not show"
# Off the tray host, which they would cover without a window manager.
xdotool windowmove "$formwindow" 300 200 windowmove "$otherwindow" 300 400
xdotool windowfocus --sync "$formwindow"
xdotool mousemove --window "$icon" 8 8 click 3
sleep 1
# The menu holds the keyboard: the service is chosen with the mouse, just
# below and right of where the menu opened.
xdotool windowfocus "$otherwindow"
xdotool mousemove_relative 30 12 click 1
wait_exit $form || fail "the form got no Enter"
hex() { printf %s "$1" | od -An -tx1 | tr -d ' \n'; }
expected="fields $(hex anna) $(hex s3cret-pw)"
[ "$(tail -1 "$WORK/form.out")" = "$expected" ] ||
    fail "the form holds '$(tail -1 "$WORK/form.out")', not '$expected'"
[ "$(cat "$WORK/other.out")" = "ready" ] || fail "keys went to the window that took the focus"
kill $other 2>/dev/null
kill $program 2>/dev/null

if [ $failures -ne 0 ]; then
    echo "$failures failure(s)"
    exit 1
fi
echo "PASS"
