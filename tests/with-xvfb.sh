#!/bin/sh
# Runs a command under an X server of its own, ended afterwards.
# Xvfb chooses a free display itself and reports it (-displayfd), so servers
# started at the same moment can never pick the same number, as they can when
# a number is guessed before the server starts.
# Usage: with-xvfb.sh COMMAND [ARG...]
set -eu
dir=$(mktemp -d "${TMPDIR:-/tmp}/vellumor-x.XXXXXX")
server=
cleanup() {
    if [ -n "$server" ]; then
        kill "$server" 2>/dev/null || true
        wait "$server" 2>/dev/null || true
    fi
    rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

# Only clients holding this cookie may connect. The server takes every entry of
# its file whatever the display; clients look for their own display's entry,
# added once the number is known.
cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
: >"$dir/auth"
xauth -q -f "$dir/auth" add :0 . "$cookie"
mkfifo "$dir/display"
# -noreset: by default the server starts over whenever its last client leaves,
# and a program connecting in that moment is turned away ("could not connect").
Xvfb -displayfd 3 -auth "$dir/auth" -nolisten tcp -noreset -screen 0 1024x768x24 \
    3>"$dir/display" >"$dir/log" 2>&1 &
server=$!
# The number arrives once the server accepts connections; nothing if it failed.
if ! read -r number <"$dir/display" || [ -z "$number" ]; then
    echo "with-xvfb.sh: Xvfb did not start:" >&2
    cat "$dir/log" >&2
    exit 1
fi
xauth -q -f "$dir/auth" add ":$number" . "$cookie"
status=0
DISPLAY=":$number" XAUTHORITY="$dir/auth" "$@" || status=$?
exit "$status"
