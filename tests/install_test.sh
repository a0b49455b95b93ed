#!/bin/bash
# Installs the program into a scratch folder as a package would, and checks what a desktop finds there: a desktop
# entry and AppStream metainfo that pass their validators and name each other, the program the entry starts and
# the icons it names.
set -euo pipefail
build=$1
version=$2

for tool in desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || { echo "install_test: $tool is missing (scripts/setup installs it)" >&2; exit 1; }
done
fail() {
    echo "install_test: $*" >&2
    exit 1
}

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
share=$root/usr/share

entries=("$share"/applications/*.desktop)
[[ ${#entries[@]} == 1 && -f ${entries[0]} ]] || fail "expected one desktop entry, found: ${entries[*]}"
entry=${entries[0]}
id=$(basename "$entry" .desktop)
metainfo=$share/metainfo/$id.metainfo.xml
[[ -f $metainfo ]] || fail "no metainfo for $id"

desktop-file-validate "$entry" || fail "desktop-file-validate rejects $entry"
# Not even a hint may remain but pedantic ones. The project has no homepage yet, which AppStream 1.0 warns of;
# AppStream 0.16 (Debian 12) knows no developer element yet. Each is told that this is meant.
appstream=$(appstreamcli --version | sed -n 's/^AppStream version: *//p')
if [[ $(printf '%s\n' 1.0 "$appstream" | sort -V | head -n 1) == 1.0 ]]; then
    meant=--override=url-homepage-missing=pedantic
else
    meant=--override=unknown-tag=pedantic
fi
appstreamcli validate --strict --pedantic --no-net "$meant" "$metainfo" || fail "appstreamcli $appstream rejects $metainfo"

grep -q "<id>$id</id>" "$metainfo" || fail "the metainfo's id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" || fail "the metainfo launches no $id.desktop"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"

program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
[[ -x $root/usr/bin/$program ]] || fail "the entry starts $program, which is not installed in bin"

icon=$(sed -n 's/^Icon=//p' "$entry")
png=$share/icons/hicolor/32x32/apps/$icon.png
svg=$share/icons/hicolor/scalable/apps/$icon.svg
[[ -f $png && -f $svg ]] || fail "the icon $icon is not installed at 32x32 and scalable"
# A PNG's width and height are the two big-endian words after its signature and chunk header.
size=$(od -An -tu1 -j16 -N8 "$png" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }')
[[ $size == 32x32 ]] || fail "the 32x32 icon is $size"
grep -q '<svg' "$svg" || fail "the scalable icon is no SVG"

echo "install_test: $id installs and validates"
