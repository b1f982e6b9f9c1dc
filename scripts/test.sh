#!/usr/bin/env bash
# Sets up the machine, builds both targets and runs their tests under Wine on a virtual display:
# every test of the 64-bit build on every host, and every test of the 32-bit build where the
# host can run 32-bit programs. As many tests run at once as the machine has cores; tests that
# use the same resource wait for each other (tests/CMakeLists.txt). Fails when a test fails or
# when a suite that ran had no tests. Extra arguments go to ctest (for example -R Str, or -j1).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/targets.sh"
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" x86_64
bash "$root/scripts/build.sh" i686

# The virtual screen holds the dialog at 300 % (about 1700 x 600 pixels), which a test shows.
run_suite() {
  local arch=$1; shift
  echo "== tests of the $arch build ($(build_folder "$arch"))"
  xvfb-run -a -s "-screen 0 2560x1600x24" bash "$root/scripts/ctest-under-wine.sh" "$(build_folder "$arch")" \
    -j "$(nproc)" "$@"
}

failed=0
run_suite x86_64 "$@" || failed=1
if host_runs_32bit; then
  run_suite i686 "$@" || failed=1
else
  echo "== skipped: the tests of the i686 build (build/), which was built but cannot run here: this host does not run 32-bit programs ($no_32bit_reason)"
fi
exit $failed
