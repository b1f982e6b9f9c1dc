#!/usr/bin/env bash
# Configures and builds one target's folder: i686 (the release) into build/, x86_64 into
# build-x64/. Without names of CMake targets it builds everything, with them only those.
#   bash scripts/build.sh i686|x86_64 [cmake-target...]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/targets.sh"
arch=${1:?usage: build.sh i686|x86_64 [cmake-target...]}; shift
build=$(build_folder "$arch")
# The release's build type unless BUILD_TYPE says otherwise; given every time, so that an older
# cache of the folder cannot keep another build type.
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch-posix.cmake" \
      -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-$release_build_type}" >/dev/null
targets=()
for target in "$@"; do targets+=(--target "$target"); done
cmake --build "$build" -j "$(nproc)" "${targets[@]}"
