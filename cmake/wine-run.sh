#!/bin/sh
# CTest's emulator for the Windows build: runs one program under the build's Wine session.
#   wine-run.sh STATE_DIR PROGRAM [ARGS...]
state=$1
shift
"$(dirname "$0")/wine-session.sh" ensure "$state" || exit 1
export WINEPREFIX="$state/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
DISPLAY=:$(cat "$state/display")
export DISPLAY
exec wine "$@"
