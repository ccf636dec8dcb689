#!/bin/bash
# The probe of cmake/wine-run.sh on machines of every kind, made up with
# stand-ins on PATH: a 32-bit wine launcher the kernel runs or refuses, and
# a qemu-i386 that runs it, refuses it, or is not there. Each answer must
# name its mode first.
#
#   win32_probe.sh RUNNER    RUNNER: cmake/wine32-run.sh
set -euo pipefail
runner=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# A bin folder with the given stand-ins, and the tools the runner needs.
machine() {
    local bin=$work/$1
    mkdir -p "$bin"
    for tool in bash dirname grep dpkg cat; do
        ln -sf "$(command -v "$tool")" "$bin/$tool"
    done
    echo "$bin"
}
stand_in() {  # FOLDER NAME EXIT_STATUS
    printf '#!/bin/bash\n[[ "$1" == -R ]] && shift 2\n[[ "$1" == -L ]] && shift 2\n[[ %s -ne 0 ]] && echo "cannot execute binary file: Exec format error" >&2\nexit %s\n' "$3" "$3" >"$1/$2"
    chmod +x "$1/$2"
}
expect() {  # FOLDER MODE
    local answer
    answer=$(PATH=$1 "$runner" --probe)
    if [[ "$answer" == "$2: "* ]]; then
        echo "ok: $2 ($answer)"
    else
        echo "FAILED: expected $2, the probe said: $answer"
        failures=$((failures + 1))
    fi
}

bin=$(machine native)
stand_in "$bin" wine 0
expect "$bin" native

bin=$(machine emulated)
stand_in "$bin" wine 126
stand_in "$bin" qemu-i386 0
expect "$bin" emulated

bin=$(machine refused)
stand_in "$bin" wine 126
stand_in "$bin" qemu-i386 1
expect "$bin" none

bin=$(machine no_qemu)
stand_in "$bin" wine 126
expect "$bin" none

# No 32-bit wine at all is none too; the stage installs it, so there a
# missing launcher cannot pass for a machine without 32-bit code.
bin=$(machine no_wine)
[[ -x /usr/lib/wine/wine ]] || expect "$bin" none

[[ $failures -eq 0 ]] || exit 1
