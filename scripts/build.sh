#!/usr/bin/env bash
# Configures and builds everything into build/ (or the folder given as $1).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build}
# Optimised for size unless BUILD_TYPE says otherwise; given every time, so that an older cache
# of the folder cannot keep another build type.
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686-posix.cmake" \
      -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-MinSizeRel}" >/dev/null
cmake --build "$build" -j "$(nproc)"
