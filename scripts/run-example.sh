#!/bin/bash
# Flies the training flight of examples/training in the stand-in host and
# shows what happened. On a fresh machine run it as root: it installs the
# packages the build needs first.
#
#   scripts/run-example.sh                      the training flight
#   scripts/run-example.sh examples/other ...   another flight directory,
#                                               further arguments to korvane-host
#
# Builds only the module and korvane-host (preset default, in build/default
# or the folder KORVANE_BUILD_DIR names), then runs korvane-host with a
# trace and a timeline in build/example/.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh

packages=(cmake make g++ libgtest-dev googletest nlohmann-json3-dev libcli11-dev libstb-dev fonts-dejavu-core)

install_packages "${packages[@]}"

flight=${1:-examples/training}
[[ $# -gt 0 ]] && shift

build=${KORVANE_BUILD_DIR:-build/default}
cmake --preset default -B "$build" >/dev/null
cmake --build "$build" -j2 --target Korvane korvane-host

out=build/example
mkdir -p "$out"
echo "== korvane-host $flight"
status=0
"$build/korvane-host" --trace "$out/trace.jsonl" --timeline "$out/timeline.json" "$@" "$flight" || status=$?
echo "== exit status $status"
echo "   trace:       $out/trace.jsonl ($(wc -l <"$out/trace.jsonl") records)"
echo "   timeline:    $out/timeline.json (open it in Perfetto or chrome://tracing)"
shots=$(find "$flight/screenshots" -type f 2>/dev/null | sort | tr '\n' ' ' || true)
[[ -n "$shots" ]] && echo "   screenshots: $shots"
exit $status
