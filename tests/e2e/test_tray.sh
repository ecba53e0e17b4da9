#!/bin/bash
# The program in the tray, under Xvfb with a tray host: the icon's menu lists
# the services, choosing one copies its password (read back by another X
# client), and a double-click on the icon opens the main window.
# Usage: test_tray.sh VELLUMOR VELLUMOR-CLI X11-CLOSE
set -u
VELLUMOR=$1 CLI=$2 CLOSE=$3
WORK=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$WORK"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

wait_window() {
    local i id
    for ((i = 0; i < $2 * 10; i++)); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
        if [ -n "$id" ]; then echo "$id"; return 0; fi
        sleep 0.1
    done
    return 1
}

FILE="$WORK/Tray.VLM"
"$CLI" create "$FILE" --no-password >/dev/null || exit 1
# No file password, so the one line read is the record's password.
printf 's3cret-pw\n' | "$CLI" add "$FILE" Mail --password-stdin -u anna -p >/dev/null || exit 1
mkdir -p "$XDG_CONFIG_HOME/Quorvan"
printf '[1.0]\nStartupType=2\nAutoCheck=false\nSysTrayPWDefault=2\n' >"$XDG_CONFIG_HOME/Quorvan/VLM.conf"

trayer --edge top --align left --widthtype pixel --width 200 --heighttype pixel --height 32 &
sleep 1
"$VELLUMOR" "$FILE" &
program=$!

# The icon: the program's only window, embedded in the tray host.
icon=
for ((i = 0; i < 100; i++)); do
    icon=$(xdotool search --name '^Vellumor$' 2>/dev/null | head -1)
    [ -n "$icon" ] && break
    sleep 0.1
done
[ -n "$icon" ] || { echo "FAIL: no tray icon"; exit 1; }
sleep 1
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
for ((i = 0; i < 100; i++)); do
    kill -0 $program 2>/dev/null || break
    sleep 0.1
done
kill -0 $program 2>/dev/null && { fail "program did not end"; kill $program; }

if [ $failures -ne 0 ]; then
    echo "$failures failure(s)"
    exit 1
fi
echo "PASS"
