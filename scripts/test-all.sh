#!/bin/bash
# Builds Korvane and runs its tests. On a fresh machine run it as root: it
# installs the packages it needs first.
#
#   scripts/test-all.sh                 every stage
#   scripts/test-all.sh linux asan      only the named stages
#
# Stages: linux (default preset; then the install into a temporary prefix,
# examples/own-module built against it, and the Debian package), asan
# (sanitizers), tsan (the tests whose second thread calls the engine while
# flights run, under ThreadSanitizer), coverage (the module's lines and
# branches the tests take, per folder; at least 95% of branches, every one
# not taken listed in docs/coverage.md), win32 (the real target:
# Korvane.dll, its exports and every test as a 32-bit Windows program under
# 32-bit wine, with the same traces as the Linux build, natively or, where
# this machine cannot execute 32-bit code, the real target's flights under
# qemu-i386 emulation; then the Windows zip), wine (64-bit Windows tests
# under wine64), fuzz (the configuration and flight fuzzers built with
# clang, each run for a minute), fresh (the run command in a fresh clone of
# HEAD, which must leave the clone as cloned).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh

packages=(cmake make g++ dpkg-dev libgtest-dev googletest nlohmann-json3-dev libstb-dev fonts-dejavu-core libcli11-dev
          libtsan2 clang libclang-rt-14-dev libbenchmark-dev libinih-dev libsimpleini-dev gcovr
          g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine64 wine32:i386 qemu-user)

banner() { printf '\n==== %s ====\n' "$*"; }

stage_linux() {
    banner "Linux tests (preset default)"
    cmake --preset default
    cmake --build --preset default
    ctest --preset default
    banner "The install, examples/own-module built against it, the Debian package"
    scripts/check-install.sh build/default
    scripts/check-package.sh build/default DEB scripts/expected/deb-contents.txt
}

stage_asan() {
    banner "Linux tests under AddressSanitizer and UndefinedBehaviorSanitizer (preset asan)"
    cmake --preset asan
    cmake --build --preset asan
    ctest --preset asan
}

stage_tsan() {
    banner "Host-thread tests under ThreadSanitizer (preset tsan)"
    cmake --preset tsan
    # Only the threads test program: nothing else runs threads against the engine.
    cmake --build --preset tsan
    ctest --preset tsan
}

stage_coverage() {
    banner "Line and branch coverage of the module's code (preset coverage)"
    cmake --preset coverage
    cmake --build --preset coverage
    # Counts of an earlier run would add to this one's.
    find build/coverage -name '*.gcda' -delete
    ctest --preset coverage
    scripts/coverage-report.py build/coverage --list docs/coverage.md --min-branches 95
}

# The Windows stages fly the example flights with the Linux korvane-host
# too and compare the traces; it is built here when the linux stage has not.
native_host() {
    cmake --preset default >/dev/null
    cmake --build --preset default --target korvane-host
}

# Runs a Windows preset's tests under its wine, then stops that prefix's
# wine server, so none is left behind for whoever runs next.
windows_tests() {
    local preset=$1 runner=$2 status=0
    ctest --preset "$preset" || status=$?
    WINEPREFIX="$PWD/build/$preset/wine-prefix" "cmake/$runner" --stop
    return $status
}

stage_win32() {
    banner "32-bit Windows: Korvane.dll, its export check and every test under 32-bit wine (preset mingw-i686)"
    native_host
    # The configuration finds out how this machine runs 32-bit programs
    # (natively, under emulation or not at all; KORVANE_WIN32_EXECUTION
    # sets it) and which tests run accordingly.
    cmake --preset mingw-i686 >/dev/null
    echo "== 32-bit programs: $(cat build/mingw-i686/win32-execution.txt)"
    cmake --build --preset mingw-i686
    windows_tests mingw-i686 wine32-run.sh
    banner "The 32-bit Windows zip"
    scripts/check-package.sh build/mingw-i686 ZIP scripts/expected/win32-zip-contents.txt
}

stage_wine() {
    banner "64-bit Windows tests under wine64 (preset mingw-x86_64)"
    native_host
    cmake --preset mingw-x86_64
    cmake --build --preset mingw-x86_64
    windows_tests mingw-x86_64 wine-run.sh
}

stage_fuzz() {
    banner "Configuration and flight fuzzers (clang, libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer)"
    cmake -S . -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
        -DKORVANE_FUZZ=ON -DKORVANE_BUILD_TESTS=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
    # Only the fuzz targets: the rest of the clang configuration is not built.
    cmake --build build/fuzz --target korvane_config_fuzz korvane_flight_fuzz -j2
    local target
    for target in config flight; do
        local log=build/fuzz/fuzz-$target.log status=0
        ctest --test-dir build/fuzz -R "^fuzz_$target" --output-on-failure -V >"$log" 2>&1 || status=$?
        if [[ $status -ne 0 ]]; then
            cat "$log"
            echo "$target fuzzer run failed; reproducers are in build/fuzz/fuzz/*scratch/artifacts" >&2
            return $status
        fi
        echo "== fuzz_$target"
        grep -E '(#[0-9]+[[:space:]]+DONE|Done [0-9]+ runs|stat::)' "$log" | sed 's/^[0-9]*: //'
    done
}

stage_fresh() {
    banner "The run command in a fresh clone, which it must leave as cloned"
    scripts/check-fresh-clone.sh
}

stages=("$@")
[[ ${#stages[@]} -eq 0 ]] && stages=(linux asan tsan coverage win32 wine fuzz fresh)
install_packages "${packages[@]}"
for s in "${stages[@]}"; do
    case "$s" in
        linux | asan | tsan | coverage | win32 | wine | fuzz | fresh) "stage_$s" ;;
        *) echo "unknown stage: $s (linux, asan, tsan, coverage, win32, wine, fuzz, fresh)" >&2; exit 2 ;;
    esac
done
banner "all stages passed: ${stages[*]}"
