#!/bin/bash
# Builds the Debian package with CPack and reads it back: it holds what the install puts in place, and it depends
# on the Qt libraries that the program links and on the fonts that its windows are drawn in.
set -euo pipefail
build=$1

for tool in cpack dpkg-deb dpkg-shlibdeps; do
    command -v "$tool" >/dev/null || { echo "package_test: $tool is missing (scripts/setup installs it)" >&2; exit 1; }
done
fail() {
    echo "package_test: $*" >&2
    exit 1
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
(cd "$build" && cpack -G DEB -B "$scratch/package" >"$scratch/cpack.log" 2>&1) || { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }
packages=("$scratch"/package/zelvor_*.deb)
[[ ${#packages[@]} == 1 && -f ${packages[0]} ]] || fail "expected one zelvor_*.deb, found: ${packages[*]}"
deb=${packages[0]}

[[ $(dpkg-deb -f "$deb" Architecture) == $(dpkg --print-architecture) ]] || fail "built for another architecture"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6gui6 libqt6core6 libc6 fonts-liberation fonts-dejavu-core; do
    [[ $depends =~ (^|, )$needed( |,|$) ]] || fail "does not depend on $needed: $depends"
done

DESTDIR=$scratch/installed cmake --install "$build" --prefix /usr >/dev/null
(cd "$scratch/installed" && find . -type f | sort) >"$scratch/installed.txt"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort >"$scratch/packaged.txt"
diff -u "$scratch/installed.txt" "$scratch/packaged.txt" >&2 || fail "the package's files differ from the install's"

echo "package_test: $(basename "$deb") depends on $depends"
