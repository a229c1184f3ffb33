# Sourced: makes the project's Wine prefix once, and keeps its server running
# for the caller (stopped with stop_wine). Needs DISPLAY.
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

prepare_wine_prefix() {
  if [ ! -f "$WINEPREFIX/.vantry-ready" ]; then
    echo "wine: creating the prefix in $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    # Detached from our pipes: a server that inherits them keeps callers waiting.
    # wineboot's exit status says little on a first run; the files it leaves do.
    "$WINE" wineboot -i </dev/null >/dev/null 2>&1 || true
    # Wine draws its own frames and handles focus; without a window manager
    # every hidden or destroyed window would otherwise stall 2 s.
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1 || true
    # A crashing child exits instead of leaving a crash dialog open.
    "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1 || true
    "$WINESERVER" -w || true
    if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
      echo "wine: the prefix in $WINEPREFIX could not be made" >&2
      return 1
    fi
    # This Wine does not find the Marlett font of the fonts-wine package by
    # itself, and without it the caption buttons show letters.
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    touch "$WINEPREFIX/.vantry-ready"
  fi
  # The server and Wine's own services start here, detached from our pipes:
  # started by the first test instead, they would inherit ctest's output pipe
  # and keep ctest waiting after the tests end.
  "$WINESERVER" -p </dev/null >/dev/null 2>&1 || true  # fails when one already runs
  "$WINE" wineboot </dev/null >/dev/null 2>&1 || true
}

stop_wine() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
}
