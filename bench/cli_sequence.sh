#!/usr/bin/env bash
# Wall time of the terminal client's login + card list + statement sequence against the
# stand-in: `cards` (login, card list, logout) then `statement` (login, statement, logout),
# five rounds. Run from the source folder after a build.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/with-standin bash -c '
  cli="build/vestrino-cli --host $VESTRINO_HOST --cafile $VESTRINO_CAFILE --reachability 2 --documents $(mktemp -d)"
  for round in 1 2 3 4 5; do
    start=$(date +%s%N)
    echo lumacard1 | $cli --json cards --user mario.rossi >/dev/null
    middle=$(date +%s%N)
    echo lumacard1 | $cli --json statement --user mario.rossi 0001234567 >/dev/null
    end=$(date +%s%N)
    awk -v r="$round" -v a="$start" -v b="$middle" -v c="$end" \
      "BEGIN { printf \"round %d: cards %.1f ms, statement %.1f ms, both %.1f ms\\n\", r, (b-a)/1e6, (c-b)/1e6, (c-a)/1e6 }"
  done
'
