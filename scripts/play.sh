#!/bin/sh
# Sets up, builds PebboPlay.exe and starts it (under Wine on Linux).
set -e
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j 2 --target PebboPlay
if [ -z "$DISPLAY" ]; then
    echo "No display: run this from a desktop session." >&2
    exit 1
fi
# Without address randomisation where the system allows it: a randomly placed
# heap now and then covers a page Wine maps at a fixed address, and the game
# would not start.
if setarch "$(uname -m)" -R true 2>/dev/null; then
    WINEDEBUG=-all exec setarch "$(uname -m)" -R wine build/windows/app/PebboPlay.exe
fi
WINEDEBUG=-all exec wine build/windows/app/PebboPlay.exe
