#!/bin/sh
# Installs the Debian 12 packages Vellumor needs to build, run and test.
# Skips apt-get when everything is already there.
set -eu
packages="cmake g++ clang libclang-rt-14-dev pkg-config qt6-base-dev libsodium-dev libxtst-dev
  xvfb xauth x11-xkb-utils fontconfig fonts-dejavu-core xdotool xclip trayer dbus-daemon python3
  desktop-file-utils appstream shared-mime-info xdg-utils libfile-mimeinfo-perl dpkg-dev man-db
  keepassxc"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends $missing
