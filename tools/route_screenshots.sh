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
# HCURVE_KEEP_SHOTS=folder keeps what is taken for a look only (the section's file).
keep=${HCURVE_KEEP_SHOTS:-}
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
