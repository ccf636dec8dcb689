#!/bin/bash
# Checks that the run command leaves a fresh clone as it was cloned: clones
# this repository's committed tree (HEAD) into a temporary folder, runs
# scripts/run-example.sh there as the README says (the training flight,
# the same with --pictures, the network flight), and after each run
# requires `git status --porcelain` to print nothing, so the test command
# that follows finds the tree as cloned.
#
#   scripts/check-fresh-clone.sh
#
# Uncommitted changes of this work tree are not in the clone; the script
# says so when there are any.
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [[ -n "$(git status --porcelain --untracked-files=no)" ]]; then
    echo "== note: uncommitted changes of $PWD are not in the clone; it holds HEAD $(git rev-parse --short HEAD)"
fi
git clone --quiet --no-hardlinks "$PWD" "$work/clone"
clone=$work/clone

run() {
    echo "== scripts/run-example.sh $*"
    if ! (cd "$clone" && scripts/run-example.sh "$@") >"$work/run.log" 2>&1; then
        cat "$work/run.log"
        echo "scripts/run-example.sh $* failed in the fresh clone" >&2
        exit 1
    fi
    grep -E '^(== |   )' "$work/run.log" | sed 's/^/   /'
    local changed
    changed=$(cd "$clone" && git status --porcelain --ignored=no)
    if [[ -n "$changed" ]]; then
        echo "scripts/run-example.sh $* changed the fresh clone:" >&2
        echo "$changed" >&2
        exit 1
    fi
}

run
run --pictures
run examples/network
# Every output of the runs is under build/, nowhere else in the clone.
outside=$(cd "$clone" && git status --porcelain --ignored | grep -v '^!! build/$' || true)
if [[ -n "$outside" ]]; then
    echo "the runs left files outside build/ in the fresh clone:" >&2
    echo "$outside" >&2
    exit 1
fi
echo "fresh clone check passed: the run command left the clone as cloned, its outputs under build/"
