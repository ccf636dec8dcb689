#!/bin/bash
# Flies the training flight of examples/training in the stand-in host and
# shows what happened. On a fresh machine run it as root: it installs the
# packages the build needs first.
#
#   scripts/run-example.sh                      the training flight
#   scripts/run-example.sh examples/network     another flight directory
#   scripts/run-example.sh [FLIGHT_DIR] --pictures [DIR] [OPTION...]
#                                               also the loading screens as
#                                               pictures; further options go
#                                               to korvane-host
#
# Builds only the module and korvane-host (preset default, in build/default
# or the folder KORVANE_BUILD_DIR names, relative to the project). Every
# file the run writes lands under build/example/, made afresh each run:
# trace.jsonl, timeline.json, screenshots/ (the module's screenshots) and,
# with --pictures and no folder, pictures/. The source tree is left as it
# was. A FLIGHT_DIR is taken from where the script is run, else from the
# project's folder; so are the paths of further options.
set -euo pipefail
caller=$PWD
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/packages.sh

packages=(cmake make g++ libgtest-dev googletest nlohmann-json3-dev libcli11-dev libstb-dev fonts-dejavu-core)

install_packages "${packages[@]}"

flight=examples/training
if [[ $# -gt 0 && "$1" != -* ]]; then
    flight=$1
    shift
fi
if [[ "$flight" != /* ]]; then
    if [[ -d "$caller/$flight" ]]; then
        flight=$(cd "$caller/$flight" && pwd)
    elif [[ -d "$root/$flight" ]]; then
        flight=$(cd "$root/$flight" && pwd)
    fi
fi

out=$root/build/example
# --pictures without a folder: the run's own pictures folder.
args=()
pictures=
while [[ $# -gt 0 ]]; do
    if [[ "$1" == --pictures && ($# -eq 1 || "$2" == -*) ]]; then
        pictures=$out/pictures
        args+=(--pictures "$pictures")
    else
        [[ "$1" == --pictures ]] && pictures=$2
        args+=("$1")
    fi
    shift
done

build=${KORVANE_BUILD_DIR:-build/default}
cmake --preset default -B "$build" >/dev/null
cmake --build "$build" -j2 --target Korvane korvane-host

rm -rf "$out"
mkdir -p "$out"
echo "== korvane-host ${flight#"$root"/}"
status=0
(cd "$caller" && "$root/$build/korvane-host" --trace "$out/trace.jsonl" --timeline "$out/timeline.json" \
    --screenshots "$out/screenshots" "${args[@]}" "$flight") || status=$?
echo "== exit status $status"
shown() { echo "${1#"$root"/}"; }
if [[ -f "$out/trace.jsonl" ]]; then
    echo "   trace:       $(shown "$out/trace.jsonl") ($(wc -l <"$out/trace.jsonl") records)"
fi
if [[ -f "$out/timeline.json" ]]; then
    echo "   timeline:    $(shown "$out/timeline.json") (open it in Perfetto or chrome://tracing)"
fi
shots=$(find "$out/screenshots" -type f 2>/dev/null | sort | while read -r f; do shown "$f"; done | tr '\n' ' ')
[[ -n "$shots" ]] && echo "   screenshots: $shots"
if [[ -n "$pictures" ]]; then
    folder=$(cd "$caller" && cd "$pictures" 2>/dev/null && pwd || echo "$pictures")
    echo "   pictures:    $(shown "$folder")/ ($(find "$folder" -maxdepth 1 -name '*.png' 2>/dev/null | wc -l) pictures)"
fi
exit $status
