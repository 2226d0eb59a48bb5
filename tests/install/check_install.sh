#!/bin/sh
# Installs the build into a temporary prefix and checks what lands there: the program (which
# answers --version), its copyright file, the desktop entry and the icon. Arguments: build folder, 1 when built with
# the window.
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
echo "installed: $(cd "$prefix" && find . -type f | sort | tr '\n' ' ')"
