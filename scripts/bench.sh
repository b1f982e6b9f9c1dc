#!/usr/bin/env bash
# Benchmark: builds one target, starts Wine on a virtual display and measures the tool against
# two floors of our own (tools/bench/Bench.cpp), printing one table.
#   bash scripts/bench.sh [i686|x86_64] [--runs N] [--verbose]
# Without a target it measures the 32-bit release where the host can run it, else the 64-bit
# build. Default 15 runs of each kind; --verbose lists every run on stderr.
# Not a test: nothing here goes into ctest.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/targets.sh"
bash "$root/scripts/setup.sh"
case ${1:-} in
  i686|x86_64) arch=$1; shift ;;
  *) arch=$(runnable_target) ;;
esac
bash "$root/scripts/build.sh" "$arch" vortag_bench >/dev/null
build=$(build_folder "$arch")
build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt")

exec xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -euo pipefail
  root=$1 build=$2 arch=$3; shift 3
  source "$root/scripts/wine-env.sh"
  wine_start; trap wine_stop EXIT
  echo "$arch build: $(wine --version), Xvfb 1024x768x24, $(nproc) processors, Linux $(uname -r)"
  wine "$build/bin/vortag_bench.exe" "$@"' bench "$root" "$build" "$arch" --build-type "$build_type" "$@"
