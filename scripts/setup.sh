#!/bin/sh
# Installs what building and testing PebboPlay needs on Debian 12.
# Safe to run again: it only calls apt when a package is missing.
set -e

packages="cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev libgmock-dev
g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
wine wine64 xvfb x11-utils xdotool imagemagick fonts-wine fonts-liberation"

missing=""
for package in $packages; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" ||
        missing="$missing $package"
done
[ -z "$missing" ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing:$missing"
$sudo apt-get update -qq
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing >/dev/null
