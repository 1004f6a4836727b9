#!/usr/bin/env bash
# Runs a Windows program under Wine in the build's private prefix, on the
# display the caller has or else on a private Xvfb server.
#   tools/wine-run.sh BUILD_DIR PROGRAM.exe [ARGS...]
# The prefix is created once, under BUILD_DIR/wineprefix, with the X11 driver
# left to draw window frames itself (no window manager on Xvfb).
set -euo pipefail

if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi

build_dir=$(cd "$1" && pwd); shift
export WINEPREFIX="$build_dir/wineprefix"
export WINEDEBUG=${PLIMET_WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree=d;mshtml=d;winemenubuilder.exe=d"
export PATH="/usr/lib/wine:$PATH"
wine=wine64

prepare_prefix() {
  [ -f "$WINEPREFIX/.plimet-ready" ] && return 0
  echo "Creating the Wine prefix in $WINEPREFIX (once)..." >&2
  "$wine" wineboot -i >/dev/null 2>&1 || true
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.plimet-ready"
}

mkdir -p "$WINEPREFIX"
(
  flock 9
  prepare_prefix
  # Wine draws the caption buttons with Marlett, which it only finds in the
  # prefix's own font folder; without it they show as letters.
  fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -d "$fonts" ] && [ ! -f "$fonts/marlett.ttf" ] && [ -f /usr/share/wine/fonts/marlett.ttf ]; then
    cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
  fi
) 9>"$build_dir/.wineprefix.lock"

# Wine's helper processes belong to this display: end them with the program,
# so that the next run does not meet them bound to a display that is gone.
status=0
"$wine" "$@" || status=$?
wineserver -k 2>/dev/null || true
exit $status
