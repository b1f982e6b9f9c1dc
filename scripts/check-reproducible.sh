#!/usr/bin/env bash
# Builds vortag.exe of both targets twice from this work tree as it is (committed or not: every
# file git tracks or would track, as it stands on disk), in two folders of different names and
# depths, and checks that the two builds of each target are bit for bit the same: no time stamps
# and no build paths end up in the program. Prints the SHA-256 of each.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/setup.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ -n "$(git -C "$root" status --porcelain)" ]; then
  echo "checking the work tree with its uncommitted changes (HEAD is $(git -C "$root" rev-parse --short HEAD))"
else
  echo "checking the work tree, which is HEAD $(git -C "$root" rev-parse --short HEAD) unchanged"
fi

copy_tree() {
  mkdir -p "$1"
  (cd "$root" && git ls-files -z --cached --others --exclude-standard |
     while IFS= read -r -d '' file; do [ -e "$file" ] && printf '%s\0' "$file"; done |
     xargs -0 -r cp --parents -t "$1")
}

build_in() {
  local src=$1 arch=$2
  cmake -S "$src" -B "$src/build-$arch" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-$arch-posix.cmake" >/dev/null
  cmake --build "$src/build-$arch" --target vortag -j "$(nproc)" >/dev/null
}

first=$work/first
second=$work/second/elsewhere/deeper
copy_tree "$first"
copy_tree "$second"
failed=0
for arch in i686 x86_64; do
  build_in "$first" "$arch"
  build_in "$second" "$arch"
  a=$first/build-$arch/bin/vortag.exe
  b=$second/build-$arch/bin/vortag.exe
  sha256sum "$a" "$b" | sed "s|$work/||"
  if cmp -s "$a" "$b"; then
    echo "reproducible: the two $arch builds of vortag.exe are identical ($(stat -c %s "$a") bytes)"
  else
    echo "NOT reproducible: the two $arch builds of vortag.exe differ" >&2
    cmp -l "$a" "$b" | head -20 >&2
    failed=1
  fi
done
exit $failed
