#!/bin/sh
# Installs the build into a temporary prefix and checks what lands there: the program (which
# answers --version), its copyright file, the desktop entry and the icon, and the program's Qt
# part, which the installed program finds and draws with. Arguments: build folder, 1 when built
# with the window.
set -eu
build=$1
with_window=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }
[ -x "$prefix/bin/hcurve" ] || fail "no program in bin"
grep -qx 'License: GPL-3+' "$prefix/share/doc/hcurve/copyright" || fail "no copyright file"
"$prefix/bin/hcurve" --version | grep -q '^hcurve [0-9]' || fail "--version"
[ "$with_window" = 1 ] || { echo "installed (console build)"; exit 0; }

entry="$prefix/share/applications/hcurve.desktop"
[ -f "$entry" ] || fail "no desktop entry"
grep -qx 'Name=平曲线计算' "$entry" || fail "desktop entry name"
grep -qx 'Categories=Science;Engineering;' "$entry" || fail "desktop entry categories"
grep -qx 'Exec=hcurve' "$entry" || fail "desktop entry command"
grep -qx 'Icon=hcurve' "$entry" || fail "desktop entry icon"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$entry" || fail "desktop entry does not validate"
fi
icon="$prefix/share/icons/hicolor/scalable/apps/hcurve.svg"
[ -f "$icon" ] || fail "no icon"
grep -q '<svg' "$icon" || fail "icon is not SVG"
# The Qt part, found by the installed program (its run path is relative to itself): the console
# draws a plan with it.
[ -f "$prefix/lib/hcurve/libhcurve-qt.so" ] || fail "no Qt part in lib/hcurve"
printf '1\n7\n\n12345.678\n\n3456789.123\n\n512345.678\n\n45.3015\n\n30.1530\n\n500\n\n200\n\n250\n\nn\n7\n%s\n3\n' \
    "$prefix/plan.svg" | env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/hcurve" --console |
    grep -qF "! 已保存平面图到文件“$prefix/plan.svg”。" || fail "the installed program cannot draw"
rm "$prefix/plan.svg"
echo "installed: $(cd "$prefix" && find . -type f | sort | tr '\n' ' ')"
