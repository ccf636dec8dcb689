#!/usr/bin/env bash
# Times `korvane-ini stats` against the inih counter on the same start-up-like
# file, as whole processes (start, read, count, exit), and prints the ratio.
#
#   bench/compare_ini_stats.sh [BUILD_DIR] [RUNS]
#
# BUILD_DIR defaults to build/default and must hold tools/korvane-ini and
# bench/inih_count (an optimised build). The file is 5 MB of aircraft
# sections with forty keys each, made afresh in a scratch folder. A ratio
# below 1 means korvane-ini is the faster.
set -euo pipefail

build="${1:-build/default}"
runs="${2:-20}"
ini="$build/tools/korvane-ini"
counter="$build/bench/inih_count"
for program in "$ini" "$counter"; do
    [[ -x "$program" ]] || { echo "missing $program: build korvane-ini and inih_count first" >&2; exit 2; }
done

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
file="$scratch/startup.ini"

python3 - "$file" <<'PY'
import random, sys
r = random.Random(20240611)
keys = ["EngineThrust", "AfterburnerThrust", "FuelCapacity", "FuelFlow", "EmptyWeight", "MaxTakeoffWeight",
        "WingArea", "WingSpan", "MaxSpeed", "StallSpeed", "CeilingFeet", "ClimbRate", "RollRate", "PitchRate",
        "YawRate", "MaxG", "MinG", "GunRounds", "GunRate", "HardPoints", "RadarRange", "RadarModel",
        "CockpitModel", "ExteriorModel", "ShadowModel", "EngineSound", "GunSound", "WindSound", "TextureSet",
        "DamageModel", "GearHeight", "GearDrag", "FlapDrag", "BrakeForce", "InertiaX", "InertiaY", "InertiaZ",
        "CenterOfMass", "ViewOffset", "HudColor"]
models = ["F16", "F15", "MiG29", "Su27", "Tornado", "Harrier", "A10", "Mirage"]
kinds = ["cockpit", "exterior", "shadow", "damage", "pilot", "canopy"]
extensions = ["mdl", "tex", "wav", "anm"]
out = ["; Aircraft definitions\r\n"]
for s in range(5000):
    out.append("[Aircraft%04d]\r\n" % s)
    for k in range(40):
        pick = r.randrange(10)
        if pick < 4:
            value = str(r.randrange(200000) - 20000)
        elif pick < 7:
            value = "%.4f" % (r.randrange(2000000) / 1000.0 - 500.0)
        else:
            value = "Data\\Models\\%s\\%s_%04u.%s" % (r.choice(models), r.choice(kinds), r.randrange(10000),
                                                     r.choice(extensions))
        out.append(keys[k] + "=" + value + "\r\n")
    out.append("\r\n")
open(sys.argv[1], "w", newline="").write("".join(out))
PY

# Both must see the same file before their times mean anything.
echo "korvane-ini: $("$ini" stats "$file")"
echo "inih_count:  $("$counter" "$file")"

# Wall and processor time of RUNS runs of a command, in seconds: "real cpu".
# The page cache is warm for both after the runs above. On a busy machine
# the wall times carry the waits for a processor; the processor times do not.
measure() {
    local TIMEFORMAT="%R %U %S"
    local times
    times=$( { time (for ((i = 0; i < runs; ++i)); do "$@" >/dev/null; done) ; } 2>&1 )
    read -r real user sys <<<"$times"
    echo "$real $(echo "$user + $sys" | bc -l)"
}

read -r oursWall oursCpu <<<"$(measure "$ini" stats "$file")"
read -r theirsWall theirsCpu <<<"$(measure "$counter" "$file")"
perRun() { echo "$1 * 1000 / $runs" | bc -l; }
printf 'runs %d, file %d bytes\n' "$runs" "$(stat -c %s "$file")"
printf 'korvane-ini stats: %6.1f ms wall, %6.1f ms processor a run\n' "$(perRun "$oursWall")" "$(perRun "$oursCpu")"
printf 'inih_count:        %6.1f ms wall, %6.1f ms processor a run\n' "$(perRun "$theirsWall")" "$(perRun "$theirsCpu")"
printf 'ratio korvane-ini / inih: %.2f wall, %.2f processor\n' "$(echo "$oursWall / $theirsWall" | bc -l)" \
    "$(echo "$oursCpu / $theirsCpu" | bc -l)"
