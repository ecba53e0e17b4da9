#!/bin/sh
# Rebuilds the committed icon strips (strip-<n>.png) from strips.txt and the
# famfamfam Silk icons (Debian package famfamfam-silk). Run it after changing
# strips.txt and commit the PNGs; the build itself needs no icon package.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
icons=${SILK_ICONS:-/usr/share/icons/silk/16x16}
if [ ! -f "$icons/lock.png" ]; then
  echo "Silk icons not found in $icons (apt-get install famfamfam-silk, or set SILK_ICONS)" >&2
  exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# shellcheck disable=SC2046  # pkg-config prints several words on purpose
g++ -std=c++20 -O1 -fPIC -Wall -Wextra -o "$work/compose_strips" "$here/tools/compose_strips.cpp" \
  $(pkg-config --cflags --libs Qt6Gui)
"$work/compose_strips" "$here/strips.txt" "$icons" "$here"
