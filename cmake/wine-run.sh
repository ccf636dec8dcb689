#!/bin/bash
# Runs a Windows program under wine with a prefix of its own in the build
# tree (the folder CTest runs the tests in), quietly. 64-bit programs run
# under wine64; with KORVANE_WINE=win32 (wine32-run.sh) 32-bit programs run
# under 32-bit wine in a prefix of that architecture.
#   wine-run.sh --prepare     creates the prefix and waits until it is ready
#   wine-run.sh --stop        stops the prefix's wine server
#   wine-run.sh PROGRAM ARGS  runs the program
set -euo pipefail

# Neither launcher is on PATH in Debian: the package lists show where it is.
find_wine() {
    local name=$1 package=$2 found
    found=$(command -v "$name" || true)
    if [[ -z "$found" && -x /usr/lib/wine/$name ]]; then found=/usr/lib/wine/$name; fi
    if [[ -z "$found" ]]; then found=$(dpkg -L "$package" 2>/dev/null | grep -m1 "/$name\$" || true); fi
    echo "$found"
}

if [[ "${KORVANE_WINE:-win64}" == win32 ]]; then
    wine=$(find_wine wine wine32:i386)
    package="wine32:i386 (after dpkg --add-architecture i386)"
    export WINEARCH=win32
else
    wine=$(find_wine wine64 wine64)
    package=wine64
fi
if [[ -z "$wine" || ! -x "$wine" ]]; then
    echo "wine-run.sh: no wine launcher found (install $package)" >&2
    exit 127
fi

export WINEPREFIX="${WINEPREFIX:-$PWD/wine-prefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

wineserver() {
    local server
    server=$(dirname "$wine")/wineserver
    [[ -x "$server" ]] || server=$(command -v wineserver || true)
    [[ -n "$server" ]] && "$server" "$@"
}

case "${1:-}" in
--prepare)
    "$wine" wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    test -d "$WINEPREFIX/drive_c"
    ;;
--stop)
    wineserver -k 2>/dev/null || true
    ;;
*)
    exec "$wine" "$@"
    ;;
esac
