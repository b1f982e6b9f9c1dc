#!/usr/bin/env bash
# Builds vortag.exe twice from the committed HEAD, in two folders of different names and
# depths, and checks that both builds are bit for bit the same: no time stamps and no build
# paths end up in the program.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/setup.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

build_in() {
  local src=$1
  mkdir -p "$src"
  git -C "$root" archive HEAD | tar -x -C "$src"
  cmake -S "$src" -B "$src/build" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-i686-posix.cmake" >/dev/null
  cmake --build "$src/build" --target vortag -j "$(nproc)" >/dev/null
}

build_in "$work/first"
build_in "$work/second/elsewhere/deeper"
a=$work/first/build/bin/vortag.exe
b=$work/second/elsewhere/deeper/build/bin/vortag.exe
sha256sum "$a" "$b" | sed "s|$work/||"
if cmp -s "$a" "$b"; then
  echo "reproducible: the two builds of vortag.exe are identical ($(stat -c %s "$a") bytes)"
else
  echo "NOT reproducible: the two builds differ" >&2
  cmp -l "$a" "$b" | head -20 >&2
  exit 1
fi
