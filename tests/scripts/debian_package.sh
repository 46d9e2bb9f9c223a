#!/usr/bin/env bash
# The Debian package as a person gets it: cpack makes vestrino_<version>_amd64.deb, which is
# unpacked (dpkg-deb -x) into a temporary folder; the unpacked programs answer --version, the
# unpacked stand-in serves its installed demo data, and the unpacked application runs the
# headless tour against it. Every file the unpacked programs open is traced: none may lie in
# the source tree or the build folder.
set -euo pipefail
# In the sanitizer build: LeakSanitizer cannot work under strace (ptrace), which watches the
# unpacked programs here; leaks are checked by the other tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
bin=$(realpath "${1:?build folder}")
src=$(realpath "${2:?source folder}")
version=${3:?project version}
work=$(mktemp -d)
standin=""
cleanup() {
  [ -z "$standin" ] || kill "$standin" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
command -v strace >/dev/null || fail "strace is needed to watch what the unpacked programs open"

cpack -G DEB --config "$bin/CPackConfig.cmake" -B "$work/pkg" > "$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack"; }
deb="$work/pkg/vestrino_${version}_amd64.deb"
[ -f "$deb" ] || { ls "$work/pkg"; fail "no $deb"; }

# Dependencies are computed from the binaries; the fonts are named by hand.
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libsdl2-2.0-0 libsdl2-ttf-2.0-0 libsdl2-image-2.0-0 libcurl4 libxml2 libplist3 \
  libssl3 libicu libglib2.0-0 fonts-liberation2; do
  [[ "$depends" == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done

dpkg-deb -x "$deb" "$work/root"
usr="$work/root/usr"
for f in bin/vestrino bin/vestrino-cli bin/lumacard-standin share/vestrino/layouts/HomeViewController.json \
  share/vestrino/images/vestrino_head_320.png share/vestrino/standin/demo.json \
  share/applications/it.vestrino.Vestrino.desktop share/metainfo/it.vestrino.Vestrino.metainfo.xml \
  share/icons/hicolor/scalable/apps/it.vestrino.Vestrino.svg \
  share/icons/hicolor/256x256/apps/it.vestrino.Vestrino.png share/man/man1/vestrino.1 \
  share/man/man1/vestrino-cli.1 share/man/man1/lumacard-standin.1 lib/vestrino/vestrino-atspi.so lib/vestrino/vestrino-portal.so \
  share/vestrino/locale/en/LC_MESSAGES/vestrino.mo share/vestrino/images/en/vestrino_indietro_320.png \
  share/vestrino/images/dark/vestrino_head_320.png share/vestrino/images/dark/en/vestrino_indietro_320.png; do
  [ -e "$usr/$f" ] || fail "the package has no usr/$f"
done

# The unpacked programs run from a folder of their own, with no variable pointing anywhere.
unset VESTRINO_RESOURCES VESTRINO_STANDIN_DATA
mkdir "$work/run"
cd "$work/run"
traced() { local name=$1; shift; strace -f -qq -e trace=%file -o "$work/trace-$name" "$@"; }

for program in vestrino vestrino-cli lumacard-standin; do
  out=$(traced "version-$program" "$usr/bin/$program" --version)
  [[ "$out" =~ ^$program\ ${version//./\\.}(\ \(git\ [0-9a-f]+(-modified)?\))?$ ]] ||
    fail "$program --version said: $out"
done

traced standin "$usr/bin/lumacard-standin" --listen 127.0.0.1:0 --tls-dir "$work/tls" \
  > "$work/standin.out" 2>&1 &
for _ in $(seq 100); do grep -q '^ca file:' "$work/standin.out" && break; sleep 0.1; done
standin=$(pgrep -f "^$usr/bin/lumacard-standin" | head -1 || true)
host=$(sed -n 's|^listening on https://||p' "$work/standin.out")
ca=$(sed -n 's|^ca file: ||p' "$work/standin.out")
[ -n "$host" ] && [ -n "$standin" ] || { cat "$work/standin.out"; fail "the unpacked stand-in did not start"; }

mkdir -m 700 "$work/documents"
install -m 600 "$usr/share/vestrino/standin/demo-documents/mario.rossi_listaCarte" "$work/documents/"
cp "$src/scripts/tour.script" "$work/tour.script"
traced app "$usr/bin/vestrino" --host "$host" --cafile "$ca" --reachability 2 \
  --documents "$work/documents" --headless --script "$work/tour.script" --out "$work/tour" ||
  fail "the unpacked application's tour failed"
grep -q '"CarteViewController"' "$work/tour/04-wallet.json" || fail "the tour reached no wallet"
grep -q '"TransazioniViewController"' "$work/tour/07-statement.json" || fail "the tour reached no statement"
[ -s "$work/tour/07-statement.png" ] || fail "no statement snapshot"
# In English, from the package's own catalog, on a system without that locale.
printf 'wait 2.1\nsnapshot login\n' > "$work/login.script"
LANG=en_GB.UTF-8 traced app-en "$usr/bin/vestrino" --host "$host" --cafile "$ca" --reachability 2 \
  --documents "$work/documents" --headless --script "$work/login.script" --out "$work/login-en" ||
  fail "the unpacked application did not start in English"
grep -q '"Log in to Lumacard"' "$work/login-en/login.json" || fail "the unpacked application spoke no English"
kill "$standin"
wait || true
standin=""

# Nothing reached back into the tree the package was built from.
if grep -h -e "$src" -e "$bin" "$work"/trace-*; then
  fail "an unpacked program opened a file of the source tree or the build folder (above)"
fi
opened=$(grep -h -c "share/vestrino/" "$work/trace-app" || true)
[ "$opened" -gt 0 ] || fail "the unpacked application read nothing of its own share/vestrino"
echo "package $(basename "$deb") ok: $(dpkg-deb -f "$deb" Installed-Size) KiB installed; the unpacked programs read $opened files of share/vestrino and nothing of $src"
