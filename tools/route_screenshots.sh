#!/usr/bin/env bash
# Photographs the route window of the README's route at 1024x768 under Xvfb and openbox (its
# stake table and its plan), and the first pages of the route report and of a stake report, into
# docs/ (the README shows them).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build --preset default -j2 --target route_screenshot >/dev/null
tool=$PWD/build/default/tests/window/route_screenshot
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/route.csv" <<'ROUTE'
点号,X,Y,R,A1,A2,桩号
BP,3456088.2656,511632.3766,,,,K11+345.678
JD1,3456789.1230,512345.6780,500,200,250,
JD2,3457084.2532,513508.8195,800,300,300,
EP,3457814.5550,514034.8035,,,,

断链前桩号,断链后桩号
K12+800,K12+780
ROUTE
export HOME="$work/home"
mkdir -p "$HOME"
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" sh -c "
    openbox >/dev/null 2>&1 &
    sleep 1
    QT_QPA_PLATFORM=xcb '$tool' '$work/route.csv' docs/route-window-1024x768.png \
        docs/route-plan-1024x768.png '$work/route.pdf' '$work/stakes.pdf' \
        docs/main-window-1024x768.png
"
pdftoppm -r 60 -png -f 1 -l 2 "$work/route.pdf" "$work/route-page"
pdftoppm -r 60 -png -f 1 -l 2 "$work/stakes.pdf" "$work/stake-page"
cp "$work"/route-page-*1.png docs/route-report-page1.png
cp "$work"/stake-page-*2.png docs/stake-report-page2.png
cp "$work"/stake-page-*1.png docs/stake-report-page1.png
echo "written: docs/route-window-1024x768.png docs/route-plan-1024x768.png" \
    "docs/route-report-page1.png docs/stake-report-page1.png docs/stake-report-page2.png"
