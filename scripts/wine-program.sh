#!/usr/bin/env bash
# CTest's emulator: runs a test program with the build's Wine loader ($WINELOADER). Now and then
# (seen twice in some thousands of starts, under -j) Wine fails to start a program: it ends at
# once with a failure and without a line of output, before any code of the program has run. Such a
# start is tried once more; a program that printed anything, and so ran, is never run again.
set -uo pipefail
output=$(mktemp)
trap 'rm -f "$output"' EXIT
for attempt in 1 2; do
  "$WINELOADER" "$@" 2>&1 | tee "$output"
  status=${PIPESTATUS[0]}
  if [ "$status" = 0 ] || [ -s "$output" ] || [ $attempt = 2 ]; then
    exit "$status"
  fi
  echo "wine-program: $1 ended with $status before printing anything; starting it once more" >&2
done
