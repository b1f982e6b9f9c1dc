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
    # Xvfb has no window manager. Windows that Wine lets one manage wait up to 2 s for it at
    # every show and hide; unmanaged windows do not.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f ) ||
    { echo "Wine did not start; see $build/wine-start.log" >&2; return 1; }
}

wine_stop() {
  wineserver -k >/dev/null 2>&1 || true
}
