#!/bin/sh
# Runs a Windows program under Wine as the tests need it: headless (no display is used, none need
# exist), quiet, in a Wine prefix of its own inside the build folder, which is created on first use
# (that takes half a minute). Standard streams and the exit status are the program's.
# Usage: wine-run.sh PROGRAM.exe ARGUMENTS...
#        wine-run.sh --serve BUILD_DIR   make the prefix if need be and start a Wine server that
#                                        stays until --stop (the test suite's set-up)
#        wine-run.sh --stop BUILD_DIR    end that server and every Wine process of the prefix
# WINEPREFIX may name another prefix; by default it is wine-prefix beside the program's build tree
# (the folder holding CMakeCache.txt above the program).
mode=run
case $1 in --serve | --stop) mode=${1#--} && shift ;; esac
if [ -z "$WINEPREFIX" ]; then
    if [ "$mode" = run ]; then start=$(cd "$(dirname "$1")" && pwd); else start=$(cd "$1" && pwd); fi
    dir=$start
    while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
    [ "$dir" = / ] && dir=$start
    WINEPREFIX=$dir/wine-prefix
fi
export WINEPREFIX
export WINEDEBUG=-all
# No Mono or Gecko installer dialogs, and no window of any kind.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
server=${wine%64}server

if [ "$mode" = stop ]; then
    "$server" -k 2>/dev/null
    "$server" -w 2>/dev/null
    exit 0
fi

# The prefix is ready once wineboot has made it and its server has ended, saving the registry. The
# registry file is no sign of it: the server writes it as it ends, and a program started then may
# meet a server that is closing ("recvmsg: Connection reset by peer").
ready=$WINEPREFIX/.made-by-wineboot
if [ ! -f "$ready" ]; then
    mkdir -p "$WINEPREFIX"
    # Several tests may start at once: one makes the prefix, the others wait until it is ready.
    # Wine's own processes must not inherit the lock, or it would stay held as long as they run.
    (
        flock 9
        if [ ! -f "$ready" ]; then
            "$wine" wineboot --init >/dev/null 2>&1 </dev/null 9>&-
            "$server" -w 2>/dev/null 9>&- || true
            touch "$ready"
        fi
    ) 9>"$WINEPREFIX.lock"
fi

if [ "$mode" = serve ]; then
    # A server that outlives every program of the run, with Wine's own services started here, away
    # from the tests. Otherwise the first program of a run starts the services, they keep its output
    # open, and its test lasts until Wine ends them: at the first idle moment, when the server
    # shuts down, and a program that connects in that moment is refused.
    "$server" -k 2>/dev/null
    "$server" -w 2>/dev/null
    "$server" -p </dev/null >/dev/null 2>&1 || exit
    exec "$wine" wineboot </dev/null >/dev/null 2>&1
fi
exec "$wine" "$@"
