# Sourced: the two Windows targets, their build folders, and whether this host can run the
# 32-bit one.
#
#   i686    the release, a 32-bit program: build/
#   x86_64  the same tree for 64-bit Windows: build-x64/
#
# Some x86-64 hosts run 64-bit programs only (the kernel's IA-32 emulation is off): 32-bit Wine
# installs there but cannot start. VORTAG_ONLY_64BIT=1 makes any host behave like one of those.

root=${root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
wine32_loader=/usr/lib/wine/wine
# The CMake build type of a release (optimised for size); scripts/build.sh takes another from
# BUILD_TYPE, and the release marks a package of any other.
release_build_type=MinSizeRel

build_folder() {
  case $1 in
    i686) echo "$root/build" ;;
    x86_64) echo "$root/build-x64" ;;
    *) echo "unknown target $1 (i686 or x86_64)" >&2; return 1 ;;
  esac
}

# True when this host runs 32-bit programs; otherwise $no_32bit_reason says why not. Asked by
# running the 32-bit Wine loader, never guessed from the machine's name.
host_runs_32bit() {
  if [ "${VORTAG_ONLY_64BIT:-0}" = 1 ]; then
    no_32bit_reason="VORTAG_ONLY_64BIT=1 is set"
    return 1
  fi
  local answer
  if answer=$("$wine32_loader" --version 2>&1); then
    return 0
  fi
  no_32bit_reason=$(echo "$answer" | tail -n 1 | sed "s/^.*: line [0-9]*: //")
  return 1
}

# The target whose tool this host can run: the 32-bit release where it can, else the 64-bit one.
runnable_target() {
  if host_runs_32bit; then echo i686; else echo x86_64; fi
}
