#!/usr/bin/env bash
# Start-up of the application against the stand-in, headless: wall time from process start to
# the first painted login screen (the script's first command is a snapshot after the splash)
# and the process's peak resident memory. Run from the source folder after a build.
set -euo pipefail
cd "$(dirname "$0")/.."
script=$(mktemp)
printf 'wait 1.5\nsnapshot login\n' > "$script"
out=$(mktemp -d)
scripts/with-standin python3 - "$script" "$out" <<'PY'
import os, resource, subprocess, sys, time
script, out = sys.argv[1], sys.argv[2]
cmd = ["build/vestrino", "--host", os.environ["VESTRINO_HOST"], "--cafile",
       os.environ["VESTRINO_CAFILE"], "--reachability", "2", "--documents", out + "/docs",
       "--headless", "--script", script, "--out", out]
runs = []
for _ in range(5):
    start = time.perf_counter()
    subprocess.run(cmd, check=True, stderr=subprocess.DEVNULL)
    runs.append((time.perf_counter() - start) * 1000)
rss = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024
print("start to the painted login screen (headless, the 1.5 s splash on the virtual clock):")
print("  runs: " + ", ".join(f"{r:.0f} ms" for r in runs))
print(f"  peak resident memory: {rss:.1f} MB")
PY
