#!/usr/bin/env bash
# Runs the Windows build's programs under Wine for the tests, all in one session: a private Wine
# prefix, one Xvfb screen and one wineserver in the folder DIR, started by the first program and
# shared by every later one (a new prefix takes some 10 s to make, a new wineserver about 2 s).
#
#   wine_session.sh run DIR PROGRAM [ARGS...]  runs PROGRAM in the session, starting it if needed;
#                                              PROGRAM's exit code is this script's
#   wine_session.sh prefix DIR                 only makes the prefix (DIR/prefix)
#   wine_session.sh stop DIR                   ends the session
#
# A session ends by itself half a minute after its last program: the wineserver goes, and a
# watchdog ends Xvfb after it.
set -euo pipefail

usage() {
    echo "usage: $0 run DIR PROGRAM [ARGS...] | prefix DIR | stop DIR" >&2
    exit 2
}
[ $# -ge 2 ] || usage
action=$1
mkdir -p "$2"
dir=$(cd "$2" && pwd)
shift 2

wine=${QUORVANE_WINE:-/usr/lib/wine/wine64}
wineserver=$(dirname "$wine")/wineserver
export WINEPREFIX="$dir/prefix"
export WINEDEBUG=${WINEDEBUG:--all}
# No installer dialogs for Wine's .NET and HTML engines while the prefix is made.
export WINEDLLOVERRIDES="mscoree,mshtml="

xvfb_alive() {
    local pid
    pid=$(cat "$dir/xvfb.pid" 2>/dev/null) || return 1
    [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = Xvfb ]
}

# Makes the prefix if it is not there yet, or otherwise starts Wine's own background processes
# (services, the desktop): either way they run before any test program does.
make_prefix() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        "$wine" wineboot --init </dev/null >"$dir/wineboot.log" 2>&1 9>&-
    else
        "$wine" wineboot </dev/null >>"$dir/wineboot.log" 2>&1 9>&-
    fi
}

start_session() {
    if xvfb_alive && "$wineserver" -k0 2>/dev/null; then return 0; fi
    # What is left of a session is ended: a wineserver left from an earlier screen would hand its
    # programs that screen's desktop.
    "$wineserver" -k 2>/dev/null || true
    "$wineserver" -w 2>/dev/null || true
    if xvfb_alive; then kill "$(cat "$dir/xvfb.pid")"; fi
    rm -f "$dir/display"
    # What outlives this script does not inherit the lock (descriptor 9).
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dir/display" 9>&- \
        </dev/null >"$dir/xvfb.log" 2>&1 &
    local xvfb=$!
    echo $xvfb >"$dir/xvfb.pid"
    local tries=0
    until grep -q '^[0-9]' "$dir/display" 2>/dev/null; do
        tries=$((tries + 1))
        if [ $tries -gt 150 ] || ! xvfb_alive; then
            echo "wine_session: Xvfb did not start:" >&2
            cat "$dir/xvfb.log" >&2
            exit 1
        fi
        sleep 0.1
    done
    export DISPLAY=":$(head -n 1 "$dir/display")"
    "$wineserver" -p30 </dev/null >/dev/null 2>&1 9>&- || true
    setsid bash -c '"$0" -w; kill "$1" 2>/dev/null' "$wineserver" $xvfb </dev/null >/dev/null 2>&1 9>&- &
    make_prefix
}

case $action in
run)
    [ $# -ge 1 ] || usage
    (
        flock 9
        start_session
    ) 9>"$dir/lock"
    export DISPLAY=":$(head -n 1 "$dir/display")"
    # Wine starts helper processes that outlive the program and keep its output streams open, so
    # the program writes to files, which are passed on as they grow; the caller's own streams
    # close when the program ends.
    out="$dir/run-$$.out"
    err="$dir/run-$$.err"
    : >"$out"
    : >"$err"
    "$wine" "$@" </dev/null >"$out" 2>"$err" &
    pid=$!
    trap 'kill "$pid" 2>/dev/null' TERM INT
    tail -f -s 0.05 -n +1 --pid="$pid" "$out" &
    tail -f -s 0.05 -n +1 --pid="$pid" "$err" >&2 &
    code=0
    wait "$pid" || code=$?
    wait
    rm -f "$out" "$err"
    exit "$code"
    ;;
prefix)
    (
        flock 9
        (
            unset DISPLAY
            make_prefix
        )
        "$wineserver" -w
    ) 9>"$dir/lock"
    ;;
stop)
    (
        flock 9
        "$wineserver" -k 2>/dev/null || true
        "$wineserver" -w 2>/dev/null || true
        if xvfb_alive; then kill "$(cat "$dir/xvfb.pid")"; fi
        rm -f "$dir/xvfb.pid" "$dir/display"
    ) 9>"$dir/lock"
    ;;
*)
    usage
    ;;
esac
