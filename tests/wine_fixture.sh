#!/usr/bin/env bash
# Sets up and tears down the Wine prefixes that the end-to-end tests of setwin.exe run in: one
# for the user who runs the tests and, when that is root, one for "nobody", each with a
# persistent wineserver so that every case starts in well under a second.
#   wine_fixture.sh start|stop DIRECTORY WINE
set -euo pipefail
action=$1 directory=$2 wine=$3
wineserver="$(dirname "$wine")/wineserver"
export WINEDEBUG=-all

as_nobody() { setpriv --reuid=65534 --regid=65534 --clear-groups env HOME="$directory/nobody" "$@"; }

case "$action" in
start)
    rm -rf "$directory"
    mkdir -p "$directory/own"
    WINEPREFIX="$directory/own" "$wineserver" -p </dev/null >/dev/null 2>&1
    WINEPREFIX="$directory/own" "$wine" wineboot --init >/dev/null 2>&1
    if [ "$(id -u)" -eq 0 ]; then
        chmod 755 "$directory"
        mkdir -p "$directory/nobody"
        chown 65534:65534 "$directory/nobody"
        as_nobody WINEPREFIX="$directory/nobody" "$wineserver" -p </dev/null >/dev/null 2>&1
        as_nobody WINEPREFIX="$directory/nobody" "$wine" wineboot --init >/dev/null 2>&1
    fi
    ;;
stop)
    WINEPREFIX="$directory/own" "$wineserver" -k 2>/dev/null || true
    if [ -d "$directory/nobody" ]; then
        as_nobody WINEPREFIX="$directory/nobody" "$wineserver" -k 2>/dev/null || true
    fi
    rm -rf "$directory"
    ;;
esac
