#!/bin/sh
# Draws the program icon at the sizes of the desktop's hicolor theme into
# resources/app/hicolor/, the files that are installed. Run it again after
# changing draw-app-icon.cpp, and commit the pictures.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# shellcheck disable=SC2046
g++ -std=c++20 -fPIC -o "$work/draw" "$here/draw-app-icon.cpp" $(pkg-config --cflags --libs Qt6Gui)
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "$here/hicolor/${size}x${size}/apps"
    QT_QPA_PLATFORM=offscreen "$work/draw" "$here/hicolor/${size}x${size}/apps/vellumor.png" "$size"
done
