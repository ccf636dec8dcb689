#!/bin/bash
# Installs a Linux build into a temporary prefix, moves the installed tree
# elsewhere (it must work from any prefix), checks that no text in it
# names the build machine's folders, compiles every installed header on its
# own, then builds examples/own-module
# against it with find_package(Korvane) alone and flies the installed
# examples/training with it.
#
#   scripts/check-install.sh [BUILD_DIR]      default build/default
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/installed" >/dev/null
mv "$work/installed" "$work/moved"
prefix="$work/moved"

# Texts only: the binaries' debug information names their sources.
if found=$(grep -rlI -e "$PWD" -e "$(realpath "$build")" -e "$work/installed" "$prefix"); then
    echo "the installed tree names folders of the build machine:" >&2
    echo "$found" >&2
    exit 1
fi

# Every installed header compiles on its own, from the installed tree alone:
# none of them may need a header of the module's the SDK does not carry.
headers=0
while IFS= read -r header; do
    echo "#include \"$header\"" | c++ -std=c++17 -fsyntax-only -x c++ \
        -I "$prefix/include" -I "$prefix/include/korvane/standin" - ||
        { echo "installed header $header does not compile on its own" >&2; exit 1; }
    headers=$((headers + 1))
done < <(cd "$prefix/include" && find . -name '*.h' | sed 's|^\./||' | sort)

cmake -S examples/own-module -B "$work/own-module" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$work/own-module" -j2 >/dev/null
cp -r "$prefix/share/korvane/examples/training" "$work/training"
"$work/own-module/own-module" "$work/training" | tee "$work/own-module.out"
# Every message of the flight was printed with its frame, and the stand-in
# recorded the module's calls to the replaced module.
grep -qE '^frame [0-9]+: .+' "$work/own-module.out"
shown=$(grep -cE '^frame [0-9]+: ' "$work/own-module.out")
grep -qE "^flight ended with 0; .* $shown of them msgShowText\$" "$work/own-module.out"
# korvane-host finds the installed module on its own.
"$prefix/bin/korvane-host" --quiet "$work/training" | grep -q '^flight=1 fly=0 '
echo "install check passed: $headers headers compile on their own, own-module printed $shown messages"
