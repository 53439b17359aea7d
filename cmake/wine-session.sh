#!/bin/bash
# Keeps one Wine session per build folder (a virtual X display, a prefix with
# a virtual desktop, a persistent wineserver with Wine's services) and runs
# programs in it for CTest.
#   wine-session.sh start|stop STATE_DIR
#   wine-session.sh run STATE_DIR PROGRAM [ARGS...]
# CTest waits until every holder of a test's output pipe has closed it, and
# Wine processes (the server, services, the desktop) outlive the program that
# started them. So no Wine process gets a descriptor of ours: the session's
# processes write to session.log, a program to files printed when it ends.
set -eE
# A step of our own that fails names itself: the session's processes write
# elsewhere, and a program that never ran leaves no output to go by.
trap 'echo "wine-session.sh: \"$BASH_COMMAND\" failed with status $? (line $LINENO)" >&2' ERR

# Wine maps a page of its own at a fixed address, which a randomly placed heap
# now and then covers already: that program then never starts ("failed to map
# the shared user data"). So every Wine process of the session, inheriting it
# from here, runs without address randomisation, where the system allows it.
if [ -z "${PEBBO_FIXED_LAYOUT:-}" ] && setarch "$(uname -m)" -R true 2>/dev/null; then
    PEBBO_FIXED_LAYOUT=1 exec setarch "$(uname -m)" -R "$0" "$@"
fi

action=$1
state=$(realpath -m "$2")
shift 2
mkdir -p "$state"
export WINEPREFIX="$state/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# Keep only standard input and output: anything more (CTest's log, a CI
# runner's pipes) would pass to the Wine processes. Bash reads this script
# through 255, which it does not pass on.
for fd in /proc/$$/fd/*; do
    fd=${fd##*/}
    case $fd in
    0 | 1 | 2 | 255) ;;
    *) eval "exec $fd>&-" ;;
    esac
done

alive() { [ -f "$1" ] && kill -0 "$(cat "$1")" 2>/dev/null; }

# Runs a command in a session of its own, with none of our descriptors.
detached() {
    setsid -w "$@" </dev/null >>"$state/session.log" 2>&1 9>&-
}

start_display() {
    rm -f "$state/display"
    setsid Xvfb -displayfd 8 -screen 0 1280x1024x24 -nolisten tcp 8>"$state/display" 9>&- \
        </dev/null >>"$state/session.log" 2>&1 &
    echo $! >"$state/xvfb.pid"
    for _ in $(seq 100); do
        [ -s "$state/display" ] && return
        sleep 0.1
    done
    echo "Xvfb did not start, see $state/session.log" >&2
    return 1
}

create_prefix() {
    detached wineboot -i
    # A virtual desktop stands in for a window manager: without one, closing
    # a top-level window stalls for seconds.
    detached wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
    detached wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f
    # Its processes started before the virtual desktop was set: end them, so
    # that every session starts alike.
    detached wineserver -k || true
    detached wineserver -w || true
    touch "$WINEPREFIX/.pebbo-ready"
}

# Starts what is missing; safe to call before every program. A server that
# has died is restarted here, with its services, and not by the next program
# (which would pass them its output).
ensure() {
    exec 9>"$state/lock"
    flock 9
    if ! alive "$state/xvfb.pid"; then
        # The old session's windows lived on the old display.
        detached wineserver -k || true
        detached wineserver -w || true
        start_display
    fi
    DISPLAY=:$(cat "$state/display")
    export DISPLAY
    if [ ! -f "$WINEPREFIX/.pebbo-ready" ]; then
        create_prefix
    fi
    # Exits with 0 when it started a server, 2 when one is running.
    server=0
    detached wineserver -p || server=$?
    case $server in
    0)
        # Wine's services start with the first program of a server: this one.
        detached wineboot
        ;;
    2) ;;
    *)
        echo "wineserver did not start, see $state/session.log" >&2
        return 1
        ;;
    esac
    exec 9>&-
}

# Runs a program in the session with its output sent to files, then prints
# them and passes on its exit code.
run() {
    ensure
    out=$(mktemp "$state/run.XXXXXX")
    status=0
    wine "$@" </dev/null >"$out" 2>"$out.err" || status=$?
    cat "$out"
    cat "$out.err" >&2
    if [ "$status" -ne 0 ] && [ ! -s "$out" ] && [ ! -s "$out.err" ]; then
        echo "wine-session.sh: wine ended with status $status and printed nothing" >&2
    fi
    rm -f "$out" "$out.err"
    exit "$status"
}

case $action in
start) ensure ;;
run) run "$@" ;;
stop)
    detached wineserver -k || true
    if alive "$state/xvfb.pid"; then kill "$(cat "$state/xvfb.pid")"; fi
    rm -f "$state/xvfb.pid" "$state/display"
    ;;
*)
    echo "usage: $0 start|stop STATE_DIR, or $0 run STATE_DIR PROGRAM [ARGS...]" >&2
    exit 2
    ;;
esac
