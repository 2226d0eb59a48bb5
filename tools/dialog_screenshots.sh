#!/usr/bin/env bash
# Photographs the window with the confirmation of the JD's X open, at 1280x1024 and at 1024x768,
# on a virtual X screen under the openbox window manager, and checks that the dialog covers no
# field. Writes docs/dialog-1280x1024.png and docs/dialog-1024x768.png.
# Needs: xvfb openbox imagemagick (apt-get install xvfb openbox imagemagick).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build --preset default -j2 --target dialog_screenshot >/dev/null
tool=$PWD/build/default/tests/window/dialog_screenshot
for size in 1280x1024 1024x768; do
    out=docs/dialog-$size.png
    xvfb-run -a -s "-screen 0 ${size}x24 -dpi 96" sh -c "
        openbox >/dev/null 2>&1 &
        sleep 1
        QT_QPA_PLATFORM=xcb '$tool' '$out.full.png'"
    # A small palette keeps the picture small.
    convert "$out.full.png" -colors 64 "$out"
    rm "$out.full.png"
    echo "written: $out"
done
