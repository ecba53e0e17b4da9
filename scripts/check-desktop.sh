#!/bin/sh
# Checks what Vellumor gives the desktop, then its Debian package:
#   check-desktop.sh BUILD_DIR      (a configured and built tree)
# 1. the desktop entry, the AppStream data and the manual pages are valid;
# 2. installed into a temporary XDG data folder, ".VLM" files (by name and by
#    their first bytes) are of type application/x-vellumor, whose default
#    program is vellumor.desktop;
# 3. the package built by CPack installs with apt-get, both programs answer
#    from /usr/bin, the system's type database knows the type, and the
#    package is removed again.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

work=$(mktemp -d)
installed=""
cleanup() {
    if [ -n "$installed" ]; then
        DEBIAN_FRONTEND=noninteractive $sudo apt-get remove -y -q vellumor >/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "check-desktop: $*" >&2
    exit 1
}

expect() { # what, expected, actual
    [ "$2" = "$3" ] || fail "$1: expected \"$2\", got \"$3\""
}

desktop-file-validate "$root/resources/desktop/vellumor.desktop"
metainfo="$build/resources/desktop/example.quorvan.Vellumor.metainfo.xml"
appstreamcli validate --no-net "$metainfo"
grep -q "<release version=\"$version\" date=\"[0-9-]*\"/>" "$metainfo" || fail "no release $version in $metainfo"
for page in vellumor.1 vellumor-cli.1; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$build/resources/desktop/$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$page: $warnings"
    head -1 "$build/resources/desktop/$page" | grep -q "\"Vellumor $version\"" || fail "$page is not of $version"
done

# No desktop environment: xdg-mime answers from the XDG folders alone.
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID DISPLAY

# In a subshell, so that package scripts run later see the system's folders.
(
# Only the temporary folders count, none of the system's.
export XDG_CONFIG_HOME="$work/config" XDG_DATA_DIRS="$work/none"
export XDG_DATA_HOME="$work/prefix/share"
cmake --install "$build" --prefix "$work/prefix" >/dev/null
for size in 16 22 24 32 48 64 128 256; do
    [ -f "$XDG_DATA_HOME/icons/hicolor/${size}x${size}/apps/vellumor.png" ] || fail "no ${size}px icon"
done
update-mime-database "$XDG_DATA_HOME/mime"
update-desktop-database "$XDG_DATA_HOME/applications"

printf 'any text' >"$work/Passwords.VLM"
printf 'any text' >"$work/lower.vlm"
printf '\211VLM\r\n\032\n\001\000' >"$work/renamed-copy"
printf 'any text' >"$work/notes"
for file in Passwords.VLM lower.vlm renamed-copy; do
    expect "type of $file" application/x-vellumor "$(xdg-mime query filetype "$work/$file")"
done
[ "$(xdg-mime query filetype "$work/notes")" != application/x-vellumor ] || fail "every file is a password file"
expect "default program" vellumor.desktop "$(xdg-mime query default application/x-vellumor)"
)

# The package, from the same build tree.
(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null)
deb=$(ls "$work"/package/vellumor_"$version"_*.deb)
dpkg-deb --field "$deb" Package Version Architecture Depends Section Maintainer
installed=yes
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "$deb" >/dev/null
expect "installed vellumor" "vellumor $version" "$(/usr/bin/vellumor --version)"
expect "installed vellumor-cli" "vellumor-cli $version" "$(/usr/bin/vellumor-cli --version)"
# What a user of the installed package sees; an empty XDG_DATA_HOME hides
# anything left in the developer's own.
system() {
    XDG_DATA_HOME="$work/empty" XDG_CONFIG_HOME="$work/config" \
        XDG_DATA_DIRS=/usr/local/share:/usr/share xdg-mime query "$@"
}
expect "installed type" application/x-vellumor "$(system filetype "$work/renamed-copy")"
expect "installed default program" vellumor.desktop "$(system default application/x-vellumor)"
echo "check-desktop: all good"
