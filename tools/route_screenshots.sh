#!/usr/bin/env bash
# Photographs, under Xvfb and openbox at 1024x768 and at 1280x1024, the route window of the
# README's route with its grade line (its stake table, its plan with the stakes and their side
# points, its profile; with a cross-section its 横断面 tab and the stake table's edges; with
# surveyed ground the profile's ground line and the stake table's 地面高程 and 填挖高) and the
# main window after a curve was changed under a stake run; and the first pages of the route
# report, the printed report (打印) and a stake report (with its second page), into docs/ (the
# README shows them).
# Needs: xvfb openbox poppler-utils imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build --preset default -j2 --target route_screenshot >/dev/null
tool=$PWD/build/default/tests/window/route_screenshot
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The README's route files.
readme=$PWD/tests/data/readme
# HCURVE_KEEP_SHOTS=folder keeps what is taken for a look only (the section's file).
keep=${HCURVE_KEEP_SHOTS:-}
cp "$readme/route.csv" "$work/route.csv"
cp "$readme/profile.csv" "$work/profile.csv"
# The README's cross-section.
cp "$readme/section.csv" "$work/section.csv"
# Surveyed ground every 20 m along the grade line (BEGIN sections at their 里程), rolling about
# the design so that the ground line crosses the grade line in fill and cut.
awk 'BEGIN {
    for (c = 11400; c <= 14400; c += 20) {
        t = c - 11400
        h = 101 + 0.004 * t + 4 * sin(t / 230) + 1.5 * sin(t / 61)
        printf "BEGIN,%d\n-20,%.3f\n-6,%.3f\n0,%.3f\n7,%.3f\n20,%.3f\n", c, h + 0.8, h + 0.3, h, h - 0.2, h - 0.9
    }
}' >"$work/ground.txt"
for size in 1024x768 1280x1024; do
    # Each size with settings of its own: the route window comes back at its last size.
    export HOME="$work/home-$size"
    mkdir -p "$HOME"
    xvfb-run -a -s "-screen 0 ${size}x24 -dpi 96" sh -c "
        openbox >/dev/null 2>&1 &
        sleep 1
        QT_QPA_PLATFORM=xcb '$tool' '$work/route.csv' '$work/profile.csv' $size '$work' '$work/section.csv' '$work/ground.txt'
    "
    for shot in route-window route-plan route-profile route-section route-edges main-window \
        route-profile-ground route-stakes-ground; do
        # A small palette keeps the picture small.
        convert "$work/$shot-$size.png" -colors 128 "docs/$shot-$size.png"
    done
done
if [ -n "$keep" ]; then cp "$work"/section-file-*.png "$keep"/; fi
pdftoppm -r 60 -png -f 1 -l 2 "$work/route.pdf" "$work/route-page"
pdftoppm -r 60 -png -f 1 -l 1 "$work/print.pdf" "$work/print-page"
pdftoppm -r 60 -png -f 1 -l 2 "$work/stakes.pdf" "$work/stake-page"
cp "$work"/route-page-*1.png docs/route-report-page1.png
cp "$work"/print-page-*1.png docs/print-report-page1.png
cp "$work"/stake-page-*1.png docs/stake-report-page1.png
cp "$work"/stake-page-*2.png docs/stake-report-page2.png
ls docs/route-*-{1024x768,1280x1024}.png docs/main-window-*.png docs/*-report-page*.png
