#!/bin/bash
# Runs a Windows program under wine with a prefix of its own in the build
# tree (the folder CTest runs the tests in), quietly. 64-bit programs run
# under wine64; with KORVANE_WINE=win32 (wine32-run.sh) 32-bit programs run
# under 32-bit wine in a prefix of that architecture, natively or, with
# KORVANE_WIN32_EXECUTION=emulated, under qemu-i386 user-mode emulation.
#   wine-run.sh --probe       says how this machine runs 32-bit programs:
#                             one line, its first word native, emulated or none
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

# wine32's own Windows DLLs and programs, which a prefix made without
# wineboot is seeded with.
find_wine32_windows_files() {
    local kernel32
    kernel32=$(dpkg -L libwine:i386 2>/dev/null | grep -m1 '/i386-windows/kernel32\.dll$' || true)
    [[ -n "$kernel32" ]] && dirname "$kernel32"
}

# Wine reserves every address above its 2 GiB of Windows space at start,
# piece by piece, and qemu-user searches its page table page by page for
# each piece: with the guest's whole 4 GiB that takes some 45 s of processor
# time per program start. The guest gets 16 MiB above the Windows space
# (the emulated process's stack and loader; wine's own libraries find room
# below), and a start takes 2 to 3 s.
qemu_reserve=0x81000000

emulated_wine() {
    WINELOADERNOEXEC=1 exec qemu-i386 -R "$qemu_reserve" -L / "$wine" "$@"
}

if [[ "${KORVANE_WINE:-win64}" == win32 ]]; then
    wine=$(find_wine wine wine32:i386)
    package="wine32:i386 (after dpkg --add-architecture i386)"
    export WINEARCH=win32
else
    wine=$(find_wine wine64 wine64)
    package=wine64
fi

# The probe: a 32-bit program the kernel refuses answers "Exec format
# error" at once; wine's --version runs its loader and nothing else, so it
# takes no prefix and a fraction of a second either way.
probe() {
    if [[ -z "$wine" || ! -x "$wine" ]]; then
        echo "none: no 32-bit wine is installed ($package), so no 32-bit program can run"
    elif "$wine" --version >/dev/null 2>&1; then
        echo "native: 32-bit programs run natively under 32-bit wine"
    elif ! command -v qemu-i386 >/dev/null; then
        echo "none: this machine cannot execute 32-bit programs (the kernel refuses them) and has no qemu-i386 (qemu-user) to emulate them"
    elif qemu-i386 -R "$qemu_reserve" -L / "$wine" --version >/dev/null 2>&1; then
        echo "emulated: this machine cannot execute 32-bit programs itself; they run under 32-bit wine in qemu-i386 user-mode emulation"
    else
        echo "none: this machine cannot execute 32-bit programs, not even under qemu-i386 user-mode emulation"
    fi
}

if [[ "${1:-}" == --probe ]]; then
    probe
    exit 0
fi

if [[ -z "$wine" || ! -x "$wine" ]]; then
    echo "wine-run.sh: no wine launcher found (install $package)" >&2
    exit 127
fi

export WINEPREFIX="${WINEPREFIX:-$PWD/wine-prefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
emulated=0
[[ "${WINEARCH:-}" == win32 && "${KORVANE_WIN32_EXECUTION:-native}" == emulated ]] && emulated=1

wineserver() {
    local server
    server=$(dirname "$wine")/wineserver
    [[ -x "$server" ]] || server=$(command -v wineserver || true)
    [[ -n "$server" ]] && "$server" "$@"
}

# Under emulation wineboot cannot start the programs it runs, so the prefix
# is laid out by hand: wine's own DLLs and programs linked into system32,
# and the system environment wineboot would write (a temporary folder for
# tmpfile, the search path), imported into the registry wine makes at its
# first start.
prepare_emulated_prefix() {
    local windows_files windows=$WINEPREFIX/drive_c/windows
    windows_files=$(find_wine32_windows_files)
    if [[ -z "$windows_files" ]]; then
        echo "wine-run.sh: wine32's Windows files not found (install libwine:i386)" >&2
        exit 127
    fi
    mkdir -p "$windows/system32" "$windows/temp"
    find "$windows_files" -maxdepth 1 -type f \( -name '*.dll' -o -name '*.exe' \) \
        -exec ln -sf -t "$windows/system32" {} +
    printf '%s\r\n' REGEDIT4 "" \
        '[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Session Manager\Environment]' \
        '"TEMP"="C:\\windows\\temp"' '"TMP"="C:\\windows\\temp"' \
        '"PATH"="C:\\windows\\system32;C:\\windows"' '"windir"="C:\\windows"' \
        '"SystemRoot"="C:\\windows"' '"ComSpec"="C:\\windows\\system32\\cmd.exe"' \
        >"$windows/temp/environment.reg"
    (emulated_wine 'C:\windows\system32\regedit.exe' /s 'C:\windows\temp\environment.reg' >/dev/null 2>&1) || true
    wineserver -w
    grep -q '^"TEMP"=' "$WINEPREFIX/system.reg"
}

case "${1:-}" in
--prepare)
    if [[ $emulated -eq 1 ]]; then
        prepare_emulated_prefix
    else
        "$wine" wineboot -i >/dev/null 2>&1 || true
        wineserver -w
        test -d "$WINEPREFIX/drive_c"
    fi
    ;;
--stop)
    wineserver -k 2>/dev/null || true
    ;;
*)
    if [[ $emulated -eq 1 ]]; then
        emulated_wine "$@"
    else
        exec "$wine" "$@"
    fi
    ;;
esac
