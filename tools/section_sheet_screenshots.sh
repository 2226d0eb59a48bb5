#!/usr/bin/env bash
# Photographs, under Xvfb and openbox at 1024x768 and at 1280x1024, the route window's 横断面 tab
# of the README's route with its cross-section and five surveyed ground sections about K12+000
# (the ground line, the catch points and the areas), and turns the first of their cross-section
# sheets, saved as PDF, into a picture: docs/route-section-ground-SIZE.png and
# docs/route-section-sheet.png (the README shows them).
# Needs: xvfb openbox poppler-utils imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build --preset default -j2 --target route_screenshot >/dev/null
tool=$PWD/build/default/tests/window/route_screenshot
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The README's route files.
readme=$PWD/tests/data/readme
cp "$readme/route.csv" "$work/route.csv"
cp "$readme/profile.csv" "$work/profile.csv"
# The README's cross-section.
cp "$readme/section.csv" "$work/section.csv"
# Five sections about K12+000, from a fill into a cut (the README's first two).
cat >"$work/ground.txt" <<'GROUND'
BEGIN,K11+940:1
-40,106.10
-12,107.20
0,107.60
12,108.00
40,108.90
BEGIN,K11+960:2
-40,107.50
-15,108.40
0,108.90
10,109.60
40,111.20
BEGIN,K11+980:3
-40,109.10
-14,110.00
0,110.60
13,111.30
40,112.80
BEGIN,K12+000:4
-40,111.00
-16,111.90
0,112.40
14,113.20
40,114.90
BEGIN,K12+020:5
-40,112.60
-12,113.40
0,113.90
12,114.70
40,116.40
GROUND
for size in 1024x768 1280x1024; do
    export HOME="$work/home-$size"
    mkdir -p "$HOME"
    xvfb-run -a -s "-screen 0 ${size}x24 -dpi 96" sh -c "
        openbox >/dev/null 2>&1 &
        sleep 1
        QT_QPA_PLATFORM=xcb '$tool' '$work/route.csv' '$work/profile.csv' $size '$work' '$work/section.csv' '$work/ground.txt'
    "
    convert "$work/route-section-ground-$size.png" -colors 128 "docs/route-section-ground-$size.png"
done
pdftoppm -r 60 -png -f 1 -l 1 "$work/section-sheets.pdf" "$work/sheet-page"
convert "$work"/sheet-page-*1.png -colors 128 docs/route-section-sheet.png
# HCURVE_KEEP_SHOTS=folder keeps the PDF files for a look (the sheets, and the section shown as
# 保存横断面图… writes it).
if [ -n "${HCURVE_KEEP_SHOTS:-}" ]; then
    cp "$work/section-sheets.pdf" "$work/section-file.pdf" "$HCURVE_KEEP_SHOTS"/
fi
ls docs/route-section-ground-*.png docs/route-section-sheet.png
