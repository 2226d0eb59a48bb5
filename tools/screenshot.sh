#!/usr/bin/env bash
# Renders the design area of the maximised main window after the right-hand example curve to a
# PNG (default build/window.png) and lists any caption or field text wider than its box. Runs the
# window on a virtual X screen when xvfb-run is installed, otherwise on Qt's offscreen platform.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/window.png}
cmake --build --preset default -j2 --target window_screenshot >/dev/null
tool=build/default/tests/window/window_screenshot
if command -v xvfb-run >/dev/null; then
    xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" env QT_QPA_PLATFORM=xcb "$tool" "$out"
else
    QT_QPA_PLATFORM=offscreen "$tool" "$out"
fi
echo "written: $out"
