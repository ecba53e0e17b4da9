#!/bin/bash
# A copied password does not stay on the clipboard: it is gone after the
# delay of the ClipboardClearSeconds option, unless something else was copied
# meanwhile, and it is taken off when the program ends, so that a clipboard
# manager asked to keep the clipboard then keeps no password. A copied link
# stays, and shows that the manager used here does keep what it is given.
# Usage: test_clipboard.sh VELLUMOR VELLUMOR-CLI CLIPBOARD-KEEPER
set -u
VELLUMOR=$1 CLI=$2 KEEPER=$3
. "$(dirname "$0")/common.sh"

FILE="$WORK/Clip.VLM"
PASSWORD=s3cret-pw URL=www.example.com
"$CLI" create "$FILE" --no-password >/dev/null || exit 1
printf '%s\n' "$PASSWORD" | "$CLI" add "$FILE" Mail --password-stdin -u anna -p --url "$URL" \
    >/dev/null || exit 1
mkdir -p "$(dirname "$CONF")"

clip() { xclip -o -selection clipboard 2>/dev/null; }
now_ms() { date +%s%3N; }
hex() { printf %s "$1" | od -An -tx1 | tr -d ' \n'; }

# Waits up to $2 seconds for the clipboard to hold $1.
wait_clip() {
    local deadline=$(($(now_ms) + $2 * 1000))
    while [ "$(now_ms)" -lt $deadline ]; do
        [ "$(clip)" = "$1" ] && return 0
        sleep 0.1
    done
    return 1
}

# Fails if the clipboard stops holding $1 before the time $2 (ms) has come.
holds_until() {
    while [ "$(now_ms)" -lt "$2" ]; do
        [ "$(clip)" = "$1" ] || { fail "'$1' replaced by '$(clip)' $3"; return 1; }
        sleep 0.1
    done
}

keys() { timeout 5 xdotool windowfocus --sync "$main" key --delay 30 "$@" || fail "keys $* not sent"; }

# Starts the program on the file with the delay $1, its record selected.
start() {
    printf '[1.0]\nAutoCheck=false\nViewTips=false\nClipboardClearSeconds=%s\n' "$1" >"$CONF"
    "$VELLUMOR" "$FILE" &
    program=$!
    main=$(wait_window '^Vellumor V' 15) || { echo "FAIL: no main window"; exit 1; }
    xdotool mousemove --window "$main" 360 78 click 1
    sleep 0.3
}

# Edit > Copy Password, or Copy URL (the second entry whose mnemonic is U).
copy_password() { keys alt+e w; }
copy_url() { keys alt+e u u Return; }

# File > Exit, the exit question answered; waits for the end.
leave() {
    local box i
    keys alt+f e
    answer alt+y "exit question"
    ended $program
}

"$KEEPER" >"$WORK/keeper.out" &
for ((i = 0; i < 50; i++)); do
    grep -qx ready "$WORK/keeper.out" && break
    sleep 0.1
done
grep -qx ready "$WORK/keeper.out" || { echo "FAIL: no clipboard manager"; exit 1; }

start 2
copy_password
wait_clip "$PASSWORD" 5 || fail "the password was not copied"
wait_clip "" 7 || fail "the password is still there 7 s after a copy with a 2 s delay"

# Copied over by another program: left as it is, past the delay and beyond.
copy_password
wait_clip "$PASSWORD" 5 || fail "the password was not copied again"
due=$(($(now_ms) + 3500))
printf mine | xclip -selection clipboard -quiet 2>/dev/null &
other=$!
wait_clip mine 5 || fail "xclip did not take the clipboard"
holds_until mine $due "after a password copy"
kill $other 2>/dev/null

# A link copied over the password stays, also when the program ends: the
# manager is asked to keep it, and does.
copy_password
wait_clip "$PASSWORD" 5 || fail "the password was not copied a third time"
due=$(($(now_ms) + 3500))
copy_url
wait_clip "$URL" 5 || fail "the link was not copied"
holds_until "$URL" $due "(a link)"
leave
[ "$(grep ^kept "$WORK/keeper.out")" = "kept $(hex "$URL")" ] ||
    fail "the manager kept '$(grep ^kept "$WORK/keeper.out")', not the link"
[ "$(clip)" = "$URL" ] || fail "after the end, the clipboard holds '$(clip)', not the link"

# A password still on the clipboard at the end, long before its delay: the
# manager that takes the clipboard over must not get it.
start 600
copy_password
wait_clip "$PASSWORD" 5 || fail "the password was not copied with a long delay"
leave
grep -q "$(hex "$PASSWORD")" "$WORK/keeper.out" && fail "the manager kept the password"
[ "$(clip)" = "" ] || fail "after the end, the clipboard holds '$(clip)'"

# vellumor-cli clip: the same clearing from the command line; the process
# holds the clipboard until then.
"$CLI" clip "$FILE" MAIL --timeout 2 >"$WORK/clip.out" &
cli=$!
wait_clip "$PASSWORD" 5 || fail "clip did not copy the password"
wait_clip "" 6 || fail "clip left the password past its timeout"
wait $cli || fail "clip ended with status $?"
grep -qx 'Password of "Mail" on the clipboard for 2 seconds.' "$WORK/clip.out" ||
    fail "clip said '$(cat "$WORK/clip.out")'"

# --user joins as the copy command does (a backspace character by default);
# Ctrl+C still clears.
"$CLI" clip "$FILE" Mail --user --timeout 60 >/dev/null &
cli=$!
wait_clip "anna"$'\b'"$PASSWORD" 5 || fail "clip --user copied '$(clip | od -c | head -2)'"
kill -INT $cli
wait $cli || fail "clip ended with status $? after Ctrl+C"
[ "$(clip)" = "" ] || fail "after Ctrl+C, the clipboard holds '$(clip)'"

# Copied over by another program: clip ends at once and leaves it.
"$CLI" clip "$FILE" Mail --timeout 60 >/dev/null &
cli=$!
wait_clip "$PASSWORD" 5 || fail "clip did not copy the password again"
printf mine | xclip -selection clipboard -quiet 2>/dev/null &
other=$!
wait_clip mine 5 || fail "xclip did not take the clipboard from clip"
for ((i = 0; i < 50; i++)); do
    kill -0 $cli 2>/dev/null || break
    sleep 0.1
done
kill -0 $cli 2>/dev/null && fail "clip still waits after another copy"
[ "$(clip)" = mine ] || fail "clip took '$(clip)' off instead of leaving it"
kill $other $cli 2>/dev/null
grep -q "$(hex "$PASSWORD")" "$WORK/keeper.out" && fail "the manager kept a password from clip"

if [ $failures -ne 0 ]; then
    echo "$failures failure(s)"
    exit 1
fi
echo "PASS"
