#!/usr/bin/env bash
# Sets up the machine, builds everything and runs every test under Wine on a virtual display.
# Extra arguments go to ctest (for example -R Str).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" "$root/build"
exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$root/scripts/ctest-under-wine.sh" "$root/build" "$@"
