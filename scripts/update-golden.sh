#!/bin/bash
# Records the golden traces in tests/golden again, after a change that was
# meant to change the module's calls (or the stand-in host's records), and
# after a merge that brought such a change in. Review what changed with
# `git diff tests/golden` and commit the traces with the change.
#
#   scripts/update-golden.sh            record every golden trace, then
#                                       check that each compares equal
#   scripts/update-golden.sh --help     this text
#
# The golden traces are the Linux build's (preset default, in build/default);
# the sanitizer and Windows builds compare with them in their own test runs.
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ $# -gt 0 ]]; then
    sed -n '2,/^set -euo/p' "$0" | sed '$d' | sed 's/^# \{0,1\}//'
    [[ $1 == --help || $1 == -h ]] && exit 0
    echo "update-golden.sh takes no arguments" >&2
    exit 2
fi

log=build/default/update-golden.log
cmake --preset default >/dev/null
cmake --build --preset default --target Korvane korvane-host
mkdir -p build/default

# golden_* are the tests that fly a flight and compare it with its golden
# trace; with KORVANE_RECORD_GOLDEN=1 each writes its trace in its place.
echo "== recording the golden traces (log: $log)"
if ! KORVANE_RECORD_GOLDEN=1 ctest --preset default -R '^golden_' >"$log" 2>&1; then
    cat "$log"
    echo "recording failed: the flights' output is above" >&2
    exit 1
fi
grep -o 'recorded .*' "$log" | sed 's/^/   /'

echo "== comparing again, with the trace that has a command moved on purpose"
if ! ctest --preset default -R 'golden_' >>"$log" 2>&1; then
    cat "$log"
    echo "a comparison still fails after recording: see above" >&2
    exit 1
fi
echo "== changes (git diff tests/golden shows them in full):"
git diff --stat -- tests/golden
git status --short -- tests/golden
