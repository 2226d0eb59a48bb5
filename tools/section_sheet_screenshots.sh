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
cat >"$work/route.csv" <<'ROUTE'
点号,X,Y,R,A1,A2,桩号
BP,3456088.2656,511632.3766,,,,K11+345.678
JD1,3456789.1230,512345.6780,500,200,250,
JD2,3457084.2532,513508.8195,800,300,300,
EP,3457814.5550,514034.8035,,,,

断链前桩号,断链后桩号
K12+800,K12+780
ROUTE
cat >"$work/profile.csv" <<'PROFILE'
变坡点桩号,高程,竖曲线半径
K11+400,100.000,
K12+000,112.000,8000
K12+700,105.000,12000
13500,117.000,10000
14400,112.000,
PROFILE
# The README's cross-section.
cat >"$work/section.csv" <<'SECTION'
侧,部件,宽度,横坡
左,中央分隔带,1.0,-2
左,行车道,7.5,路拱
左,硬路肩,2.5,路拱
左,土路肩,0.75,-4
右,中央分隔带,1.0,-2
右,行车道,7.5,路拱
右,硬路肩,2.5,路拱
右,土路肩,0.75,-4

路拱横坡,旋转轴
2,中线

交点,超高横坡,加宽,超高渐变长度,加宽过渡
JD1,6,0.8,,高次
JD2,4,0.4,,

侧,类型,坡率,高度,平台宽
左,填,1.5,8,2
左,填,1.75,,
右,填,1.5,,
左,挖,0.75,10,1.5
左,挖,1,,
右,挖,1,,

侧,边沟底宽,边沟深,内坡率,外坡率
左,0.6,0.6,1,1
右,0.6,0.6,1,1
SECTION
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
