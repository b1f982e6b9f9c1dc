#!/usr/bin/env bash
# Benchmark: builds everything into build/, starts Wine on a virtual display and measures the
# tool against two floors of our own (tools/bench/Bench.cpp), printing one table.
#   bash scripts/bench.sh [--runs N] [--verbose]   (default 15 runs of each kind; --verbose
#                                                 lists every run on stderr)
# Not a test: nothing here goes into ctest.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" "$build" >/dev/null
build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt")

exec xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  build=$1; shift
  source "$(dirname "$build")/scripts/wine-env.sh"
  wine_start; trap wine_stop EXIT
  echo "$(wine --version), Xvfb 1024x768x24, $(nproc) processors"
  wine "$build/bin/vortag_bench.exe" "$@"' bench "$build" --build-type "$build_type" "$@"
