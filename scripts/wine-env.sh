# Sourced: the Wine of a build folder ($build must be set and configured).
#
# Every Wine start goes through the loader of the build's own target (build/: 32-bit,
# build-x64/: 64-bit), named in the build's CMake cache, in the build's own prefix. Debian's
# `wine`, `wine-stable` and the helper scripts (winepath, wineboot ...) pick the 32-bit loader
# whenever it is installed, even on a host that cannot run it, so none of them is called here:
# `wine` below is a function that calls the target's loader.

build_cache_value() {
  sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"
}

export WINEPREFIX="${VORTAG_WINEPREFIX:-$build/wineprefix}"
export WINEARCH=$(build_cache_value VORTAG_WINEARCH)
export WINELOADER=$(build_cache_value VORTAG_WINE_LOADER)
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="

wine() { "$WINELOADER" "$@"; }

# Runs one step of the start-up with its output in the log; on failure says which step failed
# and what Wine printed, and fails.
wine_step() {
  local what=$1; shift
  echo "== $what: $*" >>"$wine_log"
  "$@" </dev/null >>"$wine_log" 2>&1 && return 0
  local status=$?
  {
    echo "Wine did not start ($WINEARCH prefix $WINEPREFIX): $what failed (exit $status)."
    grep -v '^== ' "$wine_log" | tail -n 5 | sed 's/^/  /'
    echo "  Full log: $wine_log"
  } >&2
  return 1
}

# Starts a persistent wineserver for the prefix with every output detached: Wine's services
# inherit the first wine process's stdout/stderr and keep them open, which would make anything
# that reads them (ctest) wait for ever. With --desktop the prefix is one a person looks at on
# a real desktop, whose window manager settings are left alone.
wine_start() {
  local desktop=0
  [ "${1:-}" = --desktop ] && desktop=1
  wine_log="$build/wine-start.log"
  mkdir -p "$WINEPREFIX"
  : >"$wine_log"
  if [ -z "$WINELOADER" ] || [ ! -e "$WINELOADER" ]; then
    echo "Wine did not start: no Wine loader for this build (\"$WINELOADER\"); run scripts/setup.sh" >&2
    return 1
  fi
  wine_step "running the loader $WINELOADER" "$WINELOADER" --version || return 1
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wine_step "making the prefix" wine wineboot -i || return 1
  fi
  wineserver -k >/dev/null 2>&1 || true
  wine_step "starting the wineserver" wineserver -p || return 1
  if [ $desktop = 0 ]; then
    # No window manager runs on a virtual display; Wine then waits for one whenever a
    # visible window goes away. Unmanaged windows spare that wait.
    wine_step "switching window management off" \
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f || return 1
  fi
  # A crashing program must end at once, not wait on Wine's crash dialog.
  wine_step "switching the crash dialog off" \
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f || return 1
  # Now and then the first program after a fresh wineserver ends with 1 and says nothing (seen
  # once in some thirty starts); the second start goes through. The program is Wine's own.
  if ! wine_step "running a first program" wine cmd /c exit 2>/dev/null; then
    echo "rerun: Wine's first program (cmd /c exit) failed; starting it once more" |
      tee -a "${VORTAG_RERUN_LOG:-/dev/null}" >&2
    wine_step "running a first program again" wine cmd /c exit || return 1
  fi
}

wine_stop() {
  wineserver -k >/dev/null 2>&1 || true
}
