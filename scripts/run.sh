#!/usr/bin/env bash
# Sets up the machine, builds the tool and runs it under Wine: the 32-bit release where the host
# can run 32-bit programs, the 64-bit build where it cannot. Arguments pass through to the tool
# (for example QUIET) and its exit code is printed. On a desktop the dialog opens there, in a
# prefix of its own; with no display the tool runs on a virtual one and leaves a screenshot in
# the build's screenshots/ folder.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/targets.sh"
bash "$root/scripts/setup.sh"

if host_runs_32bit; then
  arch=i686
  echo "run: the 32-bit tool (build/bin/vortag.exe)"
else
  arch=x86_64
  echo "run: the 64-bit tool (build-x64/bin/vortag.exe): this host does not run 32-bit programs ($no_32bit_reason)"
fi
# The tool, the stand-in collector that CHANGE starts beside it, and the driver that runs it
# on a virtual display; no tests.
bash "$root/scripts/build.sh" "$arch" vortag collector vortag_showcase
build=$(build_folder "$arch")

if [ -n "${DISPLAY:-}" ]; then
  export VORTAG_WINEPREFIX="$build/wineprefix-desktop"
  source "$root/scripts/wine-env.sh"
  wine_start --desktop
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
    set -euo pipefail
    root=$1 build=$2 shot=$3; shift 3
    source "$root/scripts/wine-env.sh"
    wine_start; trap wine_stop EXIT
    wine "$build/bin/vortag_showcase.exe" "$(wine winepath -w "$shot" 2>/dev/null)" \
         "$(wine winepath -w "$build/bin/vortag.exe" 2>/dev/null)" "$@"' run "$root" "$build" "$shot" "$@"
  if [ -f "$shot" ]; then
    convert "$shot" "${shot%.bmp}.png" && echo "screenshot: ${shot%.bmp}.png"
  fi
fi
