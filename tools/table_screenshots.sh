#!/usr/bin/env bash
# Photographs 中桩成果表 and the route window's 中桩表 with 100000 stakes and two side points each
# way under Xvfb and openbox, at 1280x1024 and 1024x768: each table at its top, scrolled to its
# end, sorted (中桩成果表) and with rows selected and copied. The pictures, the copied texts and
# the opening times go to the folder given (default: a new one under /tmp).
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-$(mktemp -d /tmp/table-screenshots.XXXXXX)}
cmake --build --preset default -j1 --target table_screenshot >/dev/null
tool=$PWD/build/default/tests/window/table_screenshot
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/route.csv" <<'ROUTE'
点号,X,Y,R,A1,A2,桩号
BP,0,0,,,,K1+000
JD1,1000,0,300,100,100,
JD2,1000,1000,300,0,0,
EP,2300,1000,,,,

断链前桩号,断链后桩号
K1+500,K1+490
ROUTE
export HOME="$work/home"
mkdir -p "$HOME"
for size in 1280x1024 1024x768; do
    mkdir -p "$out/$size"
    xvfb-run -a -s "-screen 0 ${size}x24 -dpi 96" sh -c "
        openbox >/dev/null 2>&1 &
        sleep 1
        QT_QPA_PLATFORM=xcb '$tool' '$work/route.csv' '$out/$size'
    "
done
echo "written: $out"
