#!/bin/sh
# Which runs load Qt, as the system's loader tells it (LD_DEBUG=libs lists every library it
# initialises): none of --help, --version, hcurve route (its .dxf cross-section sheets too), the
# console (its .dxf plan too) and the console served where no display is reachable; the console's
# drawn plans and its PDF report do, and so do hcurve route's PDF sheets and the window shown
# offscreen, which shows that the check sees Qt where it is loaded. A program
# whose Qt part is missing says so and goes on without it.
# Usage: qt_loaded_only_to_draw.sh HCURVE SCRATCH_FOLDER
hcurve=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
scratch=$2
rm -rf "$scratch" && mkdir -p "$scratch" && cd "$scratch" || exit 2

printf '点号,X,Y,R,A1,A2,桩号\nBP,3456088.2656,511632.3766,,,,K11+345.678\nJD1,3456789.1230,512345.6780,500,200,250,\nJD2,3457084.2532,513508.8195,800,300,300,\nEP,3457814.5550,514034.8035,,,,\n' > route.csv
# A road with its template and two surveyed ground sections, for the cross-section sheets.
printf '点号,X,Y,R,A1,A2,桩号\nBP,0,0,,,,K1+000\nJD1,1000,0,300,150,150,\nEP,1000,1000,,,,\n\n变坡点桩号,高程,竖曲线半径\nK1+000,100,\nK2+800,100,\n\n侧,部件,宽度,横坡\n左,行车道,5,路拱\n右,行车道,5,路拱\n\n侧,类型,坡率,高度,平台宽\n左,填,1.5,,\n右,填,1.5,,\n左,挖,1,,\n右,挖,1,,\n' > road.csv
printf 'BEGIN,K1+020:1\n-20,98\n20,98\nBEGIN,K1+040:2\n-20,101\n20,101\n' > ground.txt
design='1\n7\n\n12345.678\n\n3456789.123\n\n512345.678\n\n45.3015\n\n30.1530\n\n500\n\n200\n\n250\n\nn\n'

failures=0
# run NAME EXPECTED (qt or none) EXPECTED_STATUS INPUT COMMAND...: the command with the input on
# standard input, the loader's list on standard error, where no display is reachable.
run() {
    name=$1 expected=$2 status=$3 input=$4
    shift 4
    printf "$input" | env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR LD_DEBUG=libs \
        "$@" > out 2> loader
    got=$?
    [ "$got" = "$status" ] || { echo "FAIL $name: status $got, expected $status"; failures=$((failures + 1)); }
    grep -q 'calling init: .*/libQt6' loader && loaded=qt || loaded=none
    [ "$loaded" = "$expected" ] ||
        { echo "FAIL $name: Qt loaded: $loaded, expected $expected"; grep 'calling init' loader | head -5; failures=$((failures + 1)); }
    grep -q 'calling init: ' loader ||
        { echo "FAIL $name: the loader listed nothing"; failures=$((failures + 1)); }
}
# said LINE: the last run wrote this line.
said() {
    grep -qxF "$1" out || { echo "FAIL $name: no line \"$1\""; failures=$((failures + 1)); }
}

run help none 0 '' "$hcurve" --help
run version none 0 '' "$hcurve" --version
run route none 0 '' "$hcurve" route route.csv --elements
run stakes none 0 '' "$hcurve" route route.csv --stakes --interval 20 --out stakes.gsi
run sheets-dxf none 0 '' "$hcurve" route road.csv ground.txt --section-sheets sheets.dxf
run sheets-pdf qt 0 '' "$hcurve" route road.csv ground.txt --section-sheets sheets.pdf
run console none 0 "${design}7\nplan.dxf\n3\n" "$hcurve" --console
said '! 已保存平面图到文件“plan.dxf”。'
run console-fallback none 0 "${design}3\n" "$hcurve"
run console-png qt 0 "${design}7\nplan.png\n3\n" "$hcurve" --console
said '! 已保存平面图到文件“plan.png”。'
run console-report qt 0 "${design}10\nreport.pdf\n3\n" "$hcurve" --console
said '! 已保存中桩成果报告到文件“report.pdf”（共 1 页）。'
# The window runs until it is closed: stopped after a while, by then Qt and the window are loaded.
run window qt 124 '' timeout 3 "$hcurve" -platform offscreen
grep -q 'calling init: .*/libhcurve-qt.so' loader ||
    { echo "FAIL window: the program's Qt part was not loaded"; failures=$((failures + 1)); }

# A program whose Qt part is missing says so: the plan's drawing and the PDF sheets refused with
# the reason, the .dxf files saved, and the window replaced by the console.
mkdir -p alone/bin && cp "$hcurve" alone/bin/hcurve
hcurve=$PWD/alone/bin/hcurve
missing='无法载入程序的绘图部分（libhcurve-qt.so: cannot open shared object file: No such file or directory）。'
run without-part-png none 0 "${design}7\nplan.png\n7\nplan2.dxf\n3\n" "$hcurve" --console
said "! $missing"
said '! 已保存平面图到文件“plan2.dxf”。'
run without-part-sheets none 1 '' "$hcurve" route road.csv ground.txt --section-sheets s.pdf
grep -qxF "hcurve: $missing" loader ||
    { echo "FAIL without-part-sheets: no word of the missing part"; failures=$((failures + 1)); }
[ ! -e s.pdf ] || { echo "FAIL without-part-sheets: a PDF was written"; failures=$((failures + 1)); }
run without-part-sheets-dxf none 0 '' "$hcurve" route road.csv ground.txt --section-sheets s.dxf
run without-part-window none 0 "${design}3\n" "$hcurve" -platform offscreen
grep -q '^hcurve: 无法载入程序的窗口部分（libhcurve-qt.so: .*），改用控制台界面。$' loader ||
    { echo "FAIL without-part-window: no word of the missing window"; failures=$((failures + 1)); }
said 'Text24	 3456837.445'

[ "$failures" = 0 ] && echo "Qt loaded only to draw and to show the window"
exit "$failures"
