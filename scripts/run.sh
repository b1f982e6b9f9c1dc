#!/usr/bin/env bash
# Sets up the machine, builds the tool and runs it under Wine; arguments pass through to it
# (for example QUIET) and its exit code is printed. On a desktop the dialog opens there; with
# no display the tool runs on a virtual one and leaves a screenshot in build/screenshots/.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" "$build"
source "$root/scripts/wine-env.sh"

if [ -n "${DISPLAY:-}" ]; then
  wine_start
  trap wine_stop EXIT
  set +e
  wine "$build/bin/vortag.exe" "$@"
  code=$?
  set -e
  echo "vortag.exe exit code: $code"
else
  mkdir -p "$build/screenshots"
  shot=$build/screenshots/run.bmp
  rm -f "$shot"
  xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    source "$1/scripts/wine-env.sh"; build=$2; shift 2
    wine_start; trap wine_stop EXIT
    wine "$build/bin/vortag_showcase.exe" "$@"' run "$root" "$build" \
    "$(winepath -w "$shot" 2>/dev/null)" "$(winepath -w "$build/bin/vortag.exe" 2>/dev/null)" "$@"
  if [ -f "$shot" ]; then
    convert "$shot" "${shot%.bmp}.png" && echo "screenshot: ${shot%.bmp}.png"
  fi
fi
