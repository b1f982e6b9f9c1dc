#!/usr/bin/env bash
# CTest's emulator: runs a test program with the build's Wine loader ($WINELOADER), and once more
# only where Wine failed, never where the program did. Wine's two known failures under load:
#  - it did not start the program: the program's first code, which runs before any static
#    initialiser of the program (tests/support/StartMark.cpp), never made the mark file;
#  - its loader died by a signal after the program had finished: GoogleTest's final summary
#    says every test passed, and then the loader was killed (seen with the 32-bit loader).
# A second such failure fails the run. Every rerun is said on stderr and added to
# $VORTAG_RERUN_LOG, which ctest-under-wine.sh prints after the run; so are the lines the
# program prints itself for its own reruns ("rerun: ...", the driver's Process).
set -uo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VORTAG_START_MARK="Z:$work/started"   # the mark's Windows name: Z: is the Unix root

say_rerun() {
  echo "rerun: $*" | tee -a "${VORTAG_RERUN_LOG:-/dev/null}" >&2
}

# Runs the loader and leaves in $work/ended how it ended: "exit N" or "signal N". The shell
# reports a death by signal N as status 128+N, which an exit code can equal; perl's $? is the
# wait status itself and keeps the two apart.
run_loader() {
  perl -e 'system { $ARGV[1] } @ARGV[1 .. $#ARGV];
           my $signal = $? == -1 ? 0 : $? & 127;
           my $code = $? == -1 ? 127 : $signal ? 128 + $signal : $? >> 8;
           open(my $ended, ">", $ARGV[0]) or die "$ARGV[0]: $!";
           print $ended $signal ? "signal $signal" : "exit $code";
           exit $code' "$work/ended" "$WINELOADER" "$@"
}

# How Wine failed the run just made; nothing when the run is the program's own.
wine_failure() {
  local ended
  read -r ended <"$work/ended"
  if [ ! -e "$work/started" ]; then
    echo "Wine did not start it (it ended with $ended before its first code ran)"
  elif [ "${ended% *}" = signal ] && grep -q '^\[  PASSED  \] ' "$work/output" &&
       ! grep -q '^\[  FAILED  \] ' "$work/output"; then
    echo "Wine's loader died by SIG$(kill -l "${ended#* }") after every test had passed"
  fi
}

program="${1##*/} ${*:2}"
for attempt in 1 2; do
  rm -f "$work/started"
  run_loader "$@" 2>&1 | tee "$work/output"
  status=${PIPESTATUS[0]}
  grep -a '^rerun: ' "$work/output" | tr -d '\r' >>"${VORTAG_RERUN_LOG:-/dev/null}"
  failure=$(wine_failure)
  if [ -z "$failure" ]; then
    exit "$status"
  elif [ $attempt = 2 ]; then
    echo "wine-program: $program: $failure, twice; failing" >&2
    exit $((status == 0 ? 1 : status))
  fi
  say_rerun "$program: $failure; starting it once more"
done
