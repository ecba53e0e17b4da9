#!/bin/bash
# Locking under a desktop session of its own (a private D-Bus session bus):
# the screen saver's ActiveChanged signal locks the open file, after which no
# copy of a record's password or of the file password is left anywhere in the
# program's memory; a click on the list asks for the file password and
# brings the records back, and the program ends without questions about saving.
# Usage: test_lock.sh VELLUMOR VELLUMOR-CLI X11-CLOSE FIND-IN-MEMORY
set -u
if [ -z "${VELLUMOR_LOCK_BUS:-}" ]; then
    command -v dbus-run-session >/dev/null || { echo "FAIL: no dbus-run-session (scripts/install-deps.sh)"; exit 1; }
    VELLUMOR_LOCK_BUS=1 exec dbus-run-session -- "$0" "$@"
fi
VELLUMOR=$1 CLI=$2 CLOSE=$3 FIND=$4
. "$(dirname "$0")/common.sh"

# Distinctive enough that no other text in the process can hold it by chance.
MARKER=Qv7xMarkerPw39kT
FILE_PW="lock-$MARKER-file"
# A long record password: its memory is too large to be handed out again at
# once, so a copy freed without being wiped would still be there to find.
RECORD_PW="$MARKER$(printf 'x%.0s' {1..1500})"
FILE="$WORK/Locked.VLM"
printf '%s\n' "$FILE_PW" | "$CLI" create "$FILE" --kdf-ops 1 --kdf-mem 8 --password-stdin >/dev/null ||
    { echo "FAIL: no file"; exit 1; }
printf '%s\n%s\n' "$FILE_PW" "$RECORD_PW" |
    "$CLI" add "$FILE" Bank -u anna -p --password-stdin >/dev/null || { echo "FAIL: no record"; exit 1; }
printf '%s\nother-pw\n' "$FILE_PW" |
    "$CLI" add "$FILE" Mail -u bob -p --password-stdin >/dev/null || { echo "FAIL: no record"; exit 1; }
mkdir -p "$(dirname "$CONF")"
printf '[1.0]\nAutoCheck=false\nViewTips=false\nViewWizard=false\n' >"$CONF"

# Types the file password into the password question, which must come.
give_password() {
    local ask
    ask=$(wait_window '^Enter a password$' 15) || { fail "no password question ($1)"; return 1; }
    timeout 10 xdotool windowfocus --sync "$ask" type --delay 20 "$FILE_PW"
    timeout 5 xdotool windowfocus --sync "$ask" key Return
}

# 0: no copy of the marker in the program's memory, 1: some (listed in
# $WORK/found), 2: the memory could not be read.
scan_memory() {
    python3 "$FIND" "$program" "$MARKER" >"$WORK/found" 2>&1
}

"$VELLUMOR" "$FILE" &
program=$!
give_password "start" || exit 1
main=$(wait_window '^Vellumor V1\.0\.0$' 15) || { echo "FAIL: no main window"; exit 1; }
# Second row selected (sorted: Bank, Mail), and Bank copied for Paste as New.
xdotool mousemove --window "$main" 360 78 click 1
sleep 0.3
timeout 5 xdotool windowfocus --sync "$main" key ctrl+c
# Its password on the clipboard too (Edit > Copy Password).
timeout 5 xdotool windowfocus --sync "$main" key alt+e
sleep 0.3
xdotool key w
sleep 0.3
[ "$(xclip -o -selection clipboard 2>/dev/null)" = "$RECORD_PW" ] || fail "the password was not copied"
xdotool mousemove --window "$main" 360 94 click 1
sleep 0.5

memory_checked=0
if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP (memory): not root, and the program makes itself unreadable to other processes"
elif ldd "$VELLUMOR" | grep -q libasan; then
    # AddressSanitizer keeps freed memory unwiped in quarantine on purpose, and
    # reserves terabytes of address space: nothing to learn from a search.
    echo "SKIP (memory): a sanitizer build"
else
    scan_memory
    case $? in
    0) fail "the marker is not in memory while the file is open: the search finds nothing" ;;
    2) fail "memory not readable: $(cat "$WORK/found")" ;;
    *) memory_checked=1 ;;
    esac
fi

screen_saver_on() {
    dbus-send --session --type=signal /org/freedesktop/ScreenSaver \
        org.freedesktop.ScreenSaver.ActiveChanged boolean:true
}

# The record dialog open (a double-click edits): the lock waits until it closes.
xdotool mousemove --window "$main" 360 78 click --repeat 2 --delay 80 1
if record=$(wait_window '^Add Password$' 10); then
    screen_saver_on
    sleep 1
    [ "$(xdotool getwindowname "$main")" = "Vellumor V1.0.0" ] || fail "locked under an open dialog"
    timeout 5 xdotool windowfocus --sync "$record" key Escape
else
    fail "no record dialog"
    screen_saver_on
fi
wait_window '^Vellumor V1\.0\.0 - Locked\.VLM \(locked\)$' 10 >/dev/null ||
    fail "not locked by the screen saver"

# Every copy gone: store, grid, record dialog, the record kept for Paste as
# New, the clipboard's, the password typed; $1 says after what.
no_marker_left() {
    [ $memory_checked -eq 1 ] || return 0
    scan_memory
    [ $? -eq 0 ] || { fail "the password is still in memory $1:"; cat "$WORK/found"; }
}
no_marker_left "after locking"
[ -z "$(xclip -o -selection clipboard 2>/dev/null)" ] || fail "the copied password outlived the lock"

# Unlocking: a click on the grid asks for the password; the records come back.
xdotool mousemove --window "$main" 360 78 click 1
give_password "unlock"
wait_window '^Vellumor V1\.0\.0$' 10 >/dev/null || fail "still locked after the password"

# Locked again (the password was typed once more), the program ends with
# only the exit question.
screen_saver_on
wait_window '\(locked\)$' 10 >/dev/null || fail "not locked the second time"
no_marker_left "after locking again"
"$CLOSE" "$main"
answer Return "exit question"
ended $program
grep -q "^FileName=.*Locked.VLM$" "$CONF" || fail "the locked file is not kept as the last file"

[ $failures -eq 0 ] && echo "lock: all passed"
exit $((failures > 0))
