#!/bin/sh
# Keeps one Wine session per build folder: a virtual X display, a persistent
# wineserver and a prefix with a virtual desktop.
#   wine-session.sh ensure|start|stop STATE_DIR
# Everything is started with its output sent to /dev/null, so no background
# process holds on to CTest's output pipe.
set -e
action=$1
state=$2
mkdir -p "$state"
export WINEPREFIX="$state/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

alive() { [ -f "$1" ] && kill -0 "$(cat "$1")" 2>/dev/null; }

ensure() {
    exec 9>"$state/lock"
    flock 9
    fresh=
    if ! alive "$state/xvfb.pid"; then
        fresh=1
        rm -f "$state/display"
        Xvfb -displayfd 8 -screen 0 1280x1024x24 -nolisten tcp 8>"$state/display" 9>&- \
            </dev/null >/dev/null 2>&1 &
        echo $! >"$state/xvfb.pid"
        for _ in $(seq 100); do
            [ -s "$state/display" ] && break
            sleep 0.1
        done
    fi
    DISPLAY=:$(cat "$state/display")
    export DISPLAY
    wineserver -p </dev/null >/dev/null 2>&1 9>&- || true
    if [ ! -f "$WINEPREFIX/.pebbo-ready" ]; then
        wineboot -i </dev/null >/dev/null 2>&1 9>&-
        # A virtual desktop stands in for a window manager: without one, closing a
        # top-level window stalls for seconds.
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f </dev/null >/dev/null 2>&1 9>&-
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f \
            </dev/null >/dev/null 2>&1 9>&-
        touch "$WINEPREFIX/.pebbo-ready"
    elif [ -n "$fresh" ]; then
        # Wine's services start with the first program of a session and keep its
        # output open (CTest would wait for them): start them here, detached.
        wineboot </dev/null >/dev/null 2>&1 9>&-
    fi
}

case $action in
ensure | start) ensure ;;
stop)
    wineserver -k </dev/null >/dev/null 2>&1 || true
    if alive "$state/xvfb.pid"; then kill "$(cat "$state/xvfb.pid")"; fi
    rm -f "$state/xvfb.pid" "$state/display"
    ;;
*)
    echo "usage: $0 ensure|start|stop STATE_DIR" >&2
    exit 2
    ;;
esac
