#!/usr/bin/env bash
# Test programs remove what they make: runs a sample of the tests (the stand-in with its TLS
# key, card files, snapshots, the programs run as a person does) with a temporary folder of
# their own, and checks that it is empty afterwards.
set -euo pipefail
tests=${1:?the test program}
tmp=$(mktemp -d)
chmod 755 "$tmp" # some tests run parts as an unprivileged user
trap 'rm -rf "$tmp"' EXIT
TMPDIR=$tmp "$tests" --gtest_brief=1 \
  --gtest_filter='OperationsTest.*:ServiceCommandsTest.*:ScriptCommand.*:CardFileSafety.Stale*:HeadlessScreen.*:CardList.*' \
  > "$tmp.log" 2>&1 || { cat "$tmp.log"; rm -f "$tmp.log"; exit 1; }
rm -f "$tmp.log"
left=$(find "$tmp" -mindepth 1 | head -20)
if [ -n "$left" ]; then
  echo "left behind in the temporary folder:"; echo "$left"; exit 1
fi
echo "nothing left behind"
