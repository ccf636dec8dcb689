#!/bin/bash
# Runs a 64-bit Windows program under wine64 with a prefix of its own in the
# build tree (the folder CTest runs the tests in), quietly.
#   wine-run.sh --prepare     creates the prefix and waits until it is ready
#   wine-run.sh PROGRAM ARGS  runs the program
set -euo pipefail

wine=$(command -v wine64 || true)
if [[ -z "$wine" && -x /usr/lib/wine/wine64 ]]; then wine=/usr/lib/wine/wine64; fi
if [[ -z "$wine" ]]; then wine=$(dpkg -L wine64 2>/dev/null | grep -m1 '/wine64$' || true); fi
if [[ -z "$wine" ]]; then
    echo "wine-run.sh: wine64 not found (install the wine64 package)" >&2
    exit 127
fi

export WINEPREFIX="${WINEPREFIX:-$PWD/wine-prefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

if [[ "${1:-}" == "--prepare" ]]; then
    "$wine" wineboot -i >/dev/null 2>&1 || true
    wineserver=$(dirname "$wine")/wineserver
    [[ -x "$wineserver" ]] || wineserver=$(command -v wineserver || true)
    [[ -n "$wineserver" ]] && "$wineserver" -w
    test -d "$WINEPREFIX/drive_c"
    exit
fi
exec "$wine" "$@"
