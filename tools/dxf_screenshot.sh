#!/usr/bin/env bash
# Opens the README route's plan for CAD (hcurve route --dxf, stakes every 20 m with side points 5 m
# either side) in LibreCAD under Xvfb and openbox at 1280x1024, zooms in on the first curve with the
# wheel and photographs the screen into docs/dxf-librecad.png (the README shows it). LibreCAD's
# first start asks for its units: the script answers with Enter, in a home folder of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build --preset default -j2 --target hcurve >/dev/null
hcurve=$PWD/build/default/src/main/hcurve
out=$PWD/docs/dxf-librecad.png
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The README's route files.
readme=$PWD/tests/data/readme
cp "$readme/route.csv" "$work/route.csv"
"$hcurve" route "$work/route.csv" --dxf "$work/route.dxf" --interval 20 --left 5 --right 5
export HOME="$work/home"
mkdir -p "$HOME"
cat >"$work/shoot.sh" <<SHOOT
openbox >/dev/null 2>&1 &
sleep 1
librecad "$work/route.dxf" >/dev/null 2>&1 &
sleep 8
xdotool key Return
sleep 8
for w in \$(xdotool search --onlyvisible --name LibreCAD); do
    xdotool windowmove \$w 0 0
    xdotool windowsize \$w 1280 1000
done
sleep 2
# The command line: za, zoom to the whole drawing.
xdotool mousemove 1118 906 click 1
xdotool type --delay 100 za
xdotool key Return
sleep 3
# Then the wheel: on the first curve, twice closer in.
wheel() { xdotool mousemove \$1 \$2; sleep 0.5; for i in \$(seq \$3); do xdotool click 4; sleep 0.4; done; }
wheel 300 585 9
wheel 470 450 8
wheel 500 600 3
sleep 2
import -window root "$out"
SHOOT
xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" sh "$work/shoot.sh" 2>/dev/null
echo "$out"
