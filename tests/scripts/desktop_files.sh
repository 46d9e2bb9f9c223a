#!/usr/bin/env bash
# The menu entry and the AppStream description pass their validators, name the installed icon
# and program, and describe this version.
set -euo pipefail
src=$(realpath "${1:?source folder}")
version=${2:?project version}
fail() { echo "FAIL: $*" >&2; exit 1; }
id=it.vestrino.Vestrino
desktop="$src/packaging/$id.desktop"
metainfo="$src/packaging/$id.metainfo.xml"
desktop-file-validate "$desktop" || fail "desktop-file-validate $desktop"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate $metainfo"
grep -qx "Exec=vestrino" "$desktop" || fail "the menu entry does not start vestrino"
grep -qx "Icon=$id" "$desktop" || fail "the menu entry's icon is not $id"
[ -f "$src/resources/icons/$id.svg" ] && [ -f "$src/resources/icons/$id.png" ] || fail "no icon $id"
size=$(file -b "$src/resources/icons/$id.png")
[[ "$size" == *"256 x 256"* ]] || fail "the PNG icon is not 256 px: $size"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  fail "the metainfo does not launch $id.desktop"
grep -q "<release version=\"$version\"" "$metainfo" ||
  fail "the metainfo has no release $version (the project's version)"
echo "desktop entry and metainfo of $id $version valid"
