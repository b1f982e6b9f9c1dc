#!/usr/bin/env bash
# Runs ctest in a build folder with a warm, persistent wineserver and a desktop kept open for the
# whole run (tools/desktop/KeepDesktop.cpp says why), and stops them afterwards whatever the
# outcome. Expects a display (see test.sh).
set -euo pipefail
build=$(cd "$1" && pwd); shift
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
trap wine_stop EXIT
# Each start of a program again where Wine failed adds a line here (wine-program.sh); CTest
# shows no output of a test that passed, so the list follows CTest's own.
export VORTAG_RERUN_LOG=$build/reruns.log
: >"$VORTAG_RERUN_LOG"
wine_start
keeper=$build/bin/keep_desktop.exe
if [ -f "$keeper" ]; then
  "$WINELOADER" "$keeper" </dev/null >"$build/keep-desktop.log" 2>&1 &
  for _ in $(seq 300); do grep -qs ready "$build/keep-desktop.log" && break; sleep 0.1; done
  grep -qs ready "$build/keep-desktop.log" ||
    echo "ctest-under-wine: the desktop keeper did not start; each test with a window starts the desktop" >&2
fi
cd "$build"
status=0
ctest --output-on-failure --no-tests=error --timeout 300 "$@" || status=$?
if [ -s "$VORTAG_RERUN_LOG" ]; then
  echo "== started again where Wine failed, not the program ($(wc -l <"$VORTAG_RERUN_LOG")):"
  cat "$VORTAG_RERUN_LOG"
fi
exit $status
