#!/bin/bash
# Makes the package of a build folder with CPack and compares the files in
# it with an expected list, one path a line.
#
#   scripts/check-package.sh BUILD_DIR GENERATOR EXPECTED_LIST
#   scripts/check-package.sh build/default DEB scripts/expected/deb.txt
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1 generator=$2 expected=$3
out="$build/packages"
rm -rf "$out"
cpack --config "$build/CPackConfig.cmake" -G "$generator" -B "$out" >/dev/null
package=$(find "$out" -maxdepth 1 -type f \( -name '*.deb' -o -name '*.zip' \) | head -n 1)
[[ -n "$package" ]] || { echo "cpack made no package in $out" >&2; exit 1; }
listing="$out/contents.txt"
case "$generator" in
    # Files and links only; folders follow from them.
    DEB) dpkg-deb -c "$package" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./|/|' | sort >"$listing" ;;
    ZIP) cmake -E tar tf "$package" | grep -v '/$' | sort >"$listing" ;;
    *) echo "unknown generator: $generator" >&2; exit 2 ;;
esac
if ! diff -u "$expected" "$listing"; then
    echo "$package: its files differ from $expected (- expected, + in the package)" >&2
    exit 1
fi
echo "$package: $(wc -l <"$listing") files, as expected"
