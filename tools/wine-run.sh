#!/bin/sh
# Runs a Windows program under Wine as the tests need it: headless (no display is used, none need
# exist), quiet, in a Wine prefix of its own inside the build folder, which is created on first use
# (that takes half a minute). Standard streams and the exit status are the program's.
# Usage: wine-run.sh PROGRAM.exe ARGUMENTS...
# WINEPREFIX may name another prefix; by default it is wine-prefix beside the program's build tree
# (the folder holding CMakeCache.txt above the program).
if [ -z "$WINEPREFIX" ]; then
    dir=$(cd "$(dirname "$1")" && pwd)
    while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
    [ "$dir" = / ] && dir=$(cd "$(dirname "$1")" && pwd)
    WINEPREFIX=$dir/wine-prefix
fi
export WINEPREFIX
export WINEDEBUG=-all
# No Mono or Gecko installer dialogs, and no window of any kind.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    # Several tests may start at once: one creates the prefix, the others wait for it.
    (
        flock 9
        [ -f "$WINEPREFIX/system.reg" ] || "$wine" wineboot --init >/dev/null 2>&1 </dev/null
        "${wine%64}server" -w 2>/dev/null || true
    ) 9>"$WINEPREFIX.lock"
fi
exec "$wine" "$@"
