#!/bin/bash
# Runs a 32-bit Windows program under 32-bit wine (see wine-run.sh).
export KORVANE_WINE=win32
exec "$(dirname "$0")/wine-run.sh" "$@"
