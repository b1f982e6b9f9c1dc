#!/usr/bin/env bash
# CTest's emulator (scripts/wine-program.sh) starts a program again only where Wine failed. A
# stand-in loader plays each case, the same way at every start: whether the program's first code
# ran (it makes the start mark), the summary it printed, how the loader ended.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ulimit -c 0
cat >"$work/loader" <<'LOADER'
#!/usr/bin/env bash
echo run >>"$RUNS"
[ "$MARK" = no ] || : >"${VORTAG_START_MARK#Z:}"
[ "$SAYS" = - ] || printf '[  %s  ] 1 test.\n' ${SAYS//,/ }
[ "${ENDS%:*}" = signal ] && kill -"${ENDS#*:}" $$
exit "${ENDS#*:}"
LOADER
chmod +x "$work/loader"
failed=0
# mark, summary lines, the loader's end; runs, exit status, and what the case is
while read -r mark says ends runs status what; do
  : >"$work/runs"; : >"$work/said"
  MARK=$mark SAYS=$says ENDS=$ends RUNS=$work/runs WINELOADER=$work/loader VORTAG_RERUN_LOG=$work/said \
    bash "$root/scripts/wine-program.sh" test.exe --gtest_filter=A.B >/dev/null 2>&1
  ended=$?
  got="$(wc -l <"$work/runs") runs, status $ended, $(wc -l <"$work/said") said"
  [ "$got" = "$runs runs, status $status, $((runs - 1)) said" ] || { echo "FAILED: $what: $got" >&2; failed=1; }
done <<'CASES'
no  -             exit:1      2 1   Wine did not start it
no  -             exit:0      2 1   Wine did not start it and ended with 0
yes -             exit:1      1 1   it failed in its static initialisation
yes PASSED        signal:SEGV 2 139 the loader died after every test passed
yes PASSED        exit:139    1 139 it ended with the code of a death by SIGSEGV
yes PASSED,FAILED signal:SEGV 1 139 the loader died after a test failed
CASES
exit $failed
