#!/bin/bash
# Saves that fail, in the real program: a file in a read-only folder, then a
# file on a full file system with AutoSaveData on. Whatever the user does
# after the failure (save again, New, a file handed over by a second start,
# exit), the program keeps running with the changes, and the file on disk is
# not touched; once there is room again, the changes are saved.
# Both folders are made in a user and mount namespace of the test's own: no
# privileges are needed, and not even root can write through them.
# Usage: test_failed_save.sh VELLUMOR VELLUMOR-CLI
set -u
if [ -z "${E2E_NAMESPACE:-}" ]; then
    if ! unshare -Urm true 2>/dev/null; then
        echo "SKIP: this machine allows no user namespaces"
        exit 77
    fi
    E2E_NAMESPACE=1 exec unshare -Urm bash "$0" "$@"
fi
VELLUMOR=$1 CLI=$2
. "$(dirname "$0")/common.sh"

services() { "$CLI" ls "$1" 2>&1 | LC_ALL=C sort | tr '\n' ' '; }

# The program still runs, still holds the change, and left file $1 as it was.
kept() {
    kill -0 "$program" 2>/dev/null || { echo "FAIL: the program ended $*"; exit 1; }
    cmp -s "$1" "$WORK/before.VLM" || fail "$1 was changed $*"
}

mkdir -p "$(dirname "$CONF")" "$WORK/ro" "$WORK/full"
printf '[1.0]\nAutoCheck=false\nViewTips=false\n' >"$CONF"
"$CLI" create "$WORK/other.VLM" --no-password >/dev/null || exit 1

# A read-only folder: Save, New, a hand-over and exit all meet the failure.
FILE="$WORK/ro/Shared.VLM"
"$CLI" create "$FILE" --no-password >/dev/null || exit 1
"$CLI" add "$FILE" Mail -u anna >/dev/null || exit 1
cp "$FILE" "$WORK/before.VLM"
mount --bind "$WORK/ro" "$WORK/ro" && mount -o remount,bind,ro "$WORK/ro" ||
    { echo "FAIL: no read-only folder"; exit 1; }
"$VELLUMOR" "$FILE" &
program=$!
main=$(wait_window '^Vellumor V1\.0\.0$' 15) || { echo "FAIL: no main window"; exit 1; }
add_record Marker zed pw-marker

keys "$main" ctrl+s
answer Return "the failure at Save"
kept "$FILE" "at Save"
keys "$main" ctrl+n
answer alt+y "save before New"
answer Return "the failure before New"
kept "$FILE" "at New"
"$VELLUMOR" "$WORK/other.VLM"
answer alt+y "save before the hand-over"
answer Return "the failure before the hand-over"
kept "$FILE" "at the hand-over"
keys "$main" alt+f e
answer alt+y "save before exit"
answer Return "the failure at exit"
kept "$FILE" "at exit"

# Save As elsewhere brings the changes out.
keys "$main" alt+f a
save_as "$WORK/Rescued.VLM" "no Save As dialog"
[ "$(services "$WORK/Rescued.VLM")" = "Mail Marker " ] ||
    fail "saved elsewhere: $(services "$WORK/Rescued.VLM")"
keys "$main" alt+f e
answer alt+y "exit"
ended $program

# A full file system, AutoSaveData on: the silent save at exit fails, and
# says so, and the program stays; with room made, Save works.
printf '[1.0]\nAutoCheck=false\nViewTips=false\nAutoSaveData=true\n' >"$CONF"
mount -t tmpfs -o size=256k tmpfs "$WORK/full" || { echo "FAIL: no small file system"; exit 1; }
FILE="$WORK/full/Shared.VLM"
cp "$WORK/before.VLM" "$FILE"
dd if=/dev/zero of="$WORK/full/filler" bs=4k 2>/dev/null
"$VELLUMOR" "$FILE" &
program=$!
main=$(wait_window '^Vellumor V1\.0\.0$' 15) || { echo "FAIL: no main window"; exit 1; }
add_record Marker zed pw-marker
keys "$main" alt+f e
answer Return "the failure of the silent save at exit"
kept "$FILE" "by the silent save at exit"
rm "$WORK/full/filler"
keys "$main" ctrl+s
keys "$main" alt+f e
answer alt+y "exit after saving"
ended $program
[ "$(services "$FILE")" = "Mail Marker " ] || fail "after making room: $(services "$FILE")"

umount "$WORK/full" "$WORK/ro"
[ $failures -eq 0 ] || exit 1
echo "PASS"
