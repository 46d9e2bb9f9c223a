#!/usr/bin/env bash
# The programs as a person runs them: start lumacard-standin on a free port, read the address
# and CA file it prints, and probe it with vestrino-cli.
set -euo pipefail
bin=${1:?build folder}
src=${2:?source folder}
work=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
"$bin/lumacard-standin" --listen 127.0.0.1:0 --data "$src/standin/data/demo.json" \
  --tls-dir "$work/tls" > "$work/out" &
pid=$!
for _ in $(seq 50); do grep -q '^ca file:' "$work/out" && break; sleep 0.1; done
host=$(sed -n 's|^listening on https://||p' "$work/out")
ca=$(sed -n 's|^ca file: ||p' "$work/out")
[ -n "$host" ] && [ -f "$ca" ] || { echo "the stand-in did not start"; cat "$work/out"; exit 1; }
out=$("$bin/vestrino-cli" --host "$host" --cafile "$ca" --reachability 2 --json probe 2)
[ "$out" = '{"ok":true}' ] || { echo "probe said: $out"; exit 1; }
# Without the stand-in's CA the same probe must fail.
if "$bin/vestrino-cli" --host "$host" --reachability 2 probe 2 >/dev/null; then
  echo "a probe without the CA file succeeded"; exit 1
fi
echo "probe of $host ok"
