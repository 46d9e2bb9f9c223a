#!/usr/bin/env bash
# The layer check itself (cmake/CheckLayers.cmake), run on copies of the source tree: the tree as
# it is passes; each include planted against the layers (a layer's header above it, a platform
# library's header outside the layers that own it) fails the check, which names the file and
# the header.
# Usage: layer_check.sh SOURCE_DIR
set -euo pipefail
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
check() { # tree -> the check's output, status in $status
  set +e
  output=$(cmake -DSOURCE_DIR="$1" -DSTAMP="$work/stamp" -P "$source_dir/cmake/CheckLayers.cmake" 2>&1)
  status=$?
  set -e
}
fail() { echo "FAIL: $*" >&2; exit 1; }

cp -r "$source_dir/src" "$work/tree"
check "$work/tree"
[ "$status" -eq 0 ] || fail "the tree as it is fails the check: $output"

# file to plant in | the include | what the message must name
cases=(
  "store/FileUtils.cpp|#include \"app/session/Session.h\"|store/FileUtils.cpp (store) includes app/session/Session.h (app)"
  "core/Log.cpp|#include \"ui/View.h\"|core/Log.cpp (core) includes ui/View.h (ui)"
  "ui/View.cpp|#include \"service/Constants.h\"|ui/View.cpp (ui) includes service/Constants.h (service)"
  "core/Log.cpp|#include <SDL2/SDL.h>|core/Log.cpp (core) includes <SDL2/SDL.h>"
  "ui/UIImage.cpp|#include <SDL2/SDL_image.h>|ui/UIImage.cpp (ui) includes <SDL2/SDL_image.h>"
  "service/RemoteServiceUtil.cpp|#include <curl/curl.h>|service/RemoteServiceUtil.cpp (service) includes <curl/curl.h>"
  "app/session/Session.cpp|#include <gio/gio.h>|app/session/Session.cpp (app) includes <gio/gio.h>"
  "ui/View.h|#include <libxml/parser.h>|ui/View.h (ui) includes <libxml/parser.h>"
)
for c in "${cases[@]}"; do
  IFS='|' read -r file include expected <<<"$c"
  rm -rf "$work/tree" && cp -r "$source_dir/src" "$work/tree"
  printf '%s\n' "$include" >> "$work/tree/$file"
  check "$work/tree"
  [ "$status" -ne 0 ] || fail "$include in $file passed the check"
  grep -qF "$expected" <<<"$output" || fail "$include in $file: the message does not say \"$expected\": $output"
done
# The owners may: SDL in the SDL backend, libcurl in net, GIO in the modules, libxml2 in xml.
rm -rf "$work/tree" && cp -r "$source_dir/src" "$work/tree"
printf '#include <SDL2/SDL.h>\n' >> "$work/tree/ui/sdl/SdlClipboard.cpp"
printf '#include <curl/curl.h>\n' >> "$work/tree/net/Reachability.cpp"
printf '#include <gio/gio.h>\n' >> "$work/tree/ui/portal/PortalModule.cpp"
printf '#include <libxml/parser.h>\n' >> "$work/tree/xml/EsitoXMLParser.cpp"
check "$work/tree"
[ "$status" -eq 0 ] || fail "an owner's include failed the check: $output"
echo "layer check: the tree passes, ${#cases[@]} planted includes fail, the owners' pass"
