#!/usr/bin/env bash
# The application on a Wayland desktop: weston (its X11 backend, on Xvfb: weston's headless
# backend has no seat and SDL 2.26 cannot start there) serves a Wayland socket; vestrino starts
# with only that socket to use (no DISPLAY), presents its first frame, and ends with status 0 on
# SIGTERM, as a session's logout sends it.
#   wayland_start.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
# In the sanitizer build: the leaks LeakSanitizer finds at exit here are Mesa's and SDL's
# Wayland and EGL start-up (modules unloaded before the report); ours are checked by the
# headless tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
build=$1 source=$2
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -m 700 "$work/runtime" "$work/documents"

Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp 9>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
display=":$(tr -d '\n' < "$work/display")"

DISPLAY=$display XDG_RUNTIME_DIR=$work/runtime weston --backend=x11-backend.so \
  --socket=vestrino-test --width=800 --height=700 --idle-time=0 >"$work/weston.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -S "$work/runtime/vestrino-test" ] && break; sleep 0.1; done
[ -S "$work/runtime/vestrino-test" ] || { echo "FAIL: weston did not start"; cat "$work/weston.log"; exit 1; }

"$build/lumacard-standin" --listen 127.0.0.1:0 --data "$source/standin/data/demo.json" \
  --tls-dir "$work/tls" >"$work/standin.out" &
pids+=($!)
for _ in $(seq 100); do grep -q '^ca file:' "$work/standin.out" && break; sleep 0.1; done
host=$(sed -n 's|^listening on https://||p' "$work/standin.out")
cafile=$(sed -n 's|^ca file: ||p' "$work/standin.out")

env -u DISPLAY -u SDL_VIDEODRIVER WAYLAND_DISPLAY=vestrino-test XDG_RUNTIME_DIR="$work/runtime" \
  VESTRINO_LOG_FIRST_FRAME=1 "$build/vestrino" --host "$host" --cafile "$cafile" \
  --reachability 2 --documents "$work/documents" 2>"$work/app.err" &
app=$!
for _ in $(seq 300); do grep -q '^first frame presented' "$work/app.err" && break; sleep 0.1; done
if ! grep -q '^first frame presented' "$work/app.err"; then
  echo "FAIL: no first frame on Wayland in 30 s"; cat "$work/app.err"; kill "$app"; exit 1
fi
# Wayland has no window surface in SDL 2.26: the frame went through the renderer.
grep '^first frame presented' "$work/app.err"
grep -q '(renderer, ' "$work/app.err" || { echo "FAIL: not drawn through Wayland"; exit 1; }
kill -TERM "$app"
status=0
wait "$app" || status=$?
[ "$status" -eq 0 ] || { echo "FAIL: vestrino ended with status $status"; cat "$work/app.err"; exit 1; }
echo "vestrino on Wayland: first frame, status 0 on SIGTERM"
