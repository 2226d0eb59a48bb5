#!/usr/bin/env bash
# Renders 中桩成果表 and 平面图 after the right-hand example curve and a stake run with side points
# to docs/stake-table.png and docs/plan-view.png (or the two paths given), which the README shows.
# Runs on a virtual X screen when xvfb-run is installed, otherwise on Qt's offscreen platform.
set -euo pipefail
cd "$(dirname "$0")/.."
table=${1:-docs/stake-table.png}
plan=${2:-docs/plan-view.png}
cmake --build --preset default -j2 --target results_screenshot >/dev/null
tool=build/default/tests/window/results_screenshot
if command -v xvfb-run >/dev/null; then
    xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" env QT_QPA_PLATFORM=xcb "$tool" "$table" "$plan"
else
    QT_QPA_PLATFORM=offscreen "$tool" "$table" "$plan"
fi
echo "written: $table $plan"
