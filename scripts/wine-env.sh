# Sourced: the Wine settings of a build folder's own prefix ($build must be set).
export WINEPREFIX="$build/wineprefix"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="

# Starts a persistent wineserver for the prefix with every output detached: Wine's services
# inherit the first wine process's stdout/stderr and keep them open, which would make
# anything that reads them (ctest) wait forever.
wine_start() {
  ( exec </dev/null >"$build/wine-start.log" 2>&1
    [ -f "$WINEPREFIX/system.reg" ] || wineboot -i
    wineserver -k || true
    wineserver -p
    # No window manager runs on a virtual display; Wine then waits for one whenever a
    # visible window goes away. Unmanaged windows spare that wait.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f
    # A crashing program must fail its test at once, not wait on Wine's crash dialog.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
    wine cmd /c exit ) || { echo "Wine did not start; see $build/wine-start.log" >&2; return 1; }
}

wine_stop() {
  wineserver -k >/dev/null 2>&1 || true
}
