#!/bin/bash
# A new user's first session with the main window, driven only by keys and
# clicks under the X server it is given: a new file gets a category and three
# records, is saved under a name, a record is copied and pasted as a new one,
# another is deleted, and the program is left with its questions answered. A
# second start opens the file, makes a new one and goes back through
# File > Reload. The file on disk is then read back with the command-line tool.
# Usage: test_main_window.sh VELLUMOR VELLUMOR-CLI
set -u
VELLUMOR=$1 CLI=$2
. "$(dirname "$0")/common.sh"
FILE="$WORK/My Passwords.VLM"

# The list of passwords due would follow every open, the tip of the day every
# first start: not what this session is about.
mkdir -p "$(dirname "$CONF")"
printf '[1.0]\nAutoCheck=false\nViewTips=false\n' >"$CONF"

# First start, no file: the New/Open dialog comes first; it is cancelled and
# File > New used instead.
"$VELLUMOR" &
program=$!
open=$(wait_window '^Open$' 15) || { echo "FAIL: no New/Open dialog at a first start"; exit 1; }
keys "$open" alt+c
wait_closed "$open" '^Open$' 10 || fail "the New/Open dialog did not close"
main=$(wait_window '^Vellumor V1\.0\.0$' 10) || { echo "FAIL: no main window"; exit 1; }
keys "$main" alt+f n

# Password > Category Edit: Enter adds the typed name, Esc closes.
keys "$main" alt+p c
if editor=$(wait_window '^Category Edit$' 10); then
    typed "$editor" 'Work'
    keys "$editor" Return
    sleep 0.3
    keys "$editor" Escape
    wait_closed "$editor" '^Category Edit$' 10 || fail "category editor did not close"
else
    fail "no category editor"
fi

# Down picks the first category, which unlocks the subcategory combo.
add_record Bank anna pw-bank-1 Down Tab
add_record Mail bob pw-mail-2
add_record Shop carl pw-shop-3

# A new file has no name yet: Save asks for one.
keys "$main" ctrl+s
save_as "$FILE" "no Save As dialog for a new file"
[ "$("$CLI" ls "$FILE" 2>&1 | LC_ALL=C sort)" = "$(printf 'Bank\nMail\nShop')" ] ||
    fail "saved file holds: $("$CLI" ls "$FILE" 2>&1 | tr '\n' ' ')"

# Copy the first row (Bank, sorted by service), paste it as a new record.
click_row 1
keys "$main" ctrl+c ctrl+v
if paste=$(wait_window '^Add Password$' 10); then
    # The service name starts empty; a name already in use is refused.
    # Five Tabs: user, password, category, subcategory, OK.
    typed "$paste" 'Mail'
    keys "$paste" Tab Tab Tab Tab Tab space
    answer Return "duplicate service name"
    keys "$paste" shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab ctrl+a
    typed "$paste" 'Bank copy'
    keys "$paste" Tab Tab Tab Tab Tab space
    wait_closed "$paste" '^Add Password$' 10 || fail "pasted record not accepted"
else
    fail "no record dialog for Paste as New"
fi

# Rows now: Bank, Bank copy, Mail, Shop. Delete Mail.
click_row 3
keys "$main" alt+p d
answer alt+y "delete Mail"

# File > Exit: save first (Yes), then the exit question (Yes).
keys "$main" alt+f e
answer alt+y "save before exit"
answer alt+y "exit"
ended $program
[ "$(conf_value FileName)" = "$FILE" ] ||
    fail "FileName is '$(conf_value FileName)' after the first session"

# Second start. Saving a new file does not put it in the recent list, opening
# it does: open it on the Existing page of the New/Open dialog, start a new
# file, then go back to the first through File > Reload.
"$VELLUMOR" &
program=$!
if open=$(wait_window '^Open$' 15); then
    # The "Existing" tab, second in the dialog's tab strip.
    xdotool mousemove --window "$open" 98 24 click 1
    sleep 0.3
    # The page starts in the file list; the path goes into the name field.
    keys "$open" alt+n
    typed "$open" "$FILE"
    keys "$open" Return
    wait_closed "$open" '^Open$' 10 || fail "the New/Open dialog did not close"
else
    fail "no New/Open dialog at the second start"
fi
main=$(wait_window '^Vellumor V1\.0\.0$' 10) ||
    { echo "FAIL: no main window at the second start"; exit 1; }
keys "$main" ctrl+n
sleep 0.3
keys "$main" alt+f r 1
sleep 0.3
# Nothing changed: the only question is the exit question.
keys "$main" alt+f e
answer alt+y "exit after reload"
ended $program
[ "$(conf_value FileName)" = "$FILE" ] ||
    fail "FileName is '$(conf_value FileName)': the reload did not open the file"
[ "$(conf_value File-1)" = "$FILE" ] || fail "File-1 is '$(conf_value File-1)'"

# Exactly what the session made, in the category where it was put.
[ "$("$CLI" ls "$FILE" 2>&1 | LC_ALL=C sort)" = "$(printf 'Bank\nBank copy\nShop')" ] ||
    fail "file holds: $("$CLI" ls "$FILE" 2>&1 | tr '\n' ' ')"
expected_tree=$(printf '%s\n' 'Work (2)' '  No SubCategory (2)' '    Bank' '    Bank copy' \
    'No Category (1)' '  Shop')
tree=$("$CLI" ls --tree "$FILE" 2>&1)
[ "$tree" = "$expected_tree" ] || fail "tree is:"$'\n'"$tree"
# The pasted record is the copied one under its new name.
copy=$("$CLI" show "$FILE" 'Bank copy' --show-password 2>&1)
for line in 'Category: Work' 'User name: anna' 'Password: pw-bank-1'; do
    grep -qx "$line" <<<"$copy" || fail "Bank copy lacks '$line'"
done

if [ $failures -ne 0 ]; then
    echo "$failures failure(s)"
    exit 1
fi
echo "PASS"
