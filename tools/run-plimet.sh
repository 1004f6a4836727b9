#!/usr/bin/env bash
# Starts Plimet from its program folder under Wine: on the user's display
# when there is one, else on a private Xvfb, where a screenshot is saved
# after a few seconds and its path printed.
#   tools/run-plimet.sh BUILD_DIR PROGRAM_DIR
set -euo pipefail
build_dir=$(cd "$1" && pwd)
program_dir=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  cd "$program_dir"
  exec "$here/wine-run.sh" "$build_dir" ./plimet.exe
fi

shot="$build_dir/screenshots/plimet-run.png"
mkdir -p "$(dirname "$shot")"
display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1
export DISPLAY=$display
( cd "$program_dir" && "$here/wine-run.sh" "$build_dir" ./plimet.exe ) &
program=$!
sleep 12
"$here/screenshot.sh" "$shot"
echo "No display: Plimet ran on Xvfb $display; screenshot: $shot"
echo "(stopping it now; run with a DISPLAY to use it)"
kill $program 2>/dev/null || true
WINEPREFIX="$build_dir/wineprefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
