#!/usr/bin/env bash
# A start where no window can be made, as when Wine finds no display to
# draw on: Plimet says why and ends with exit code 1, where an exception
# escaping the start-up used to abort it (exit code 3, nothing shown).
#   tests/e2e/no-desktop.sh BUILD_DIR PROGRAM_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
program=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")/../.." && pwd)
run="$build/e2e-no-desktop"
rm -rf "$run" && mkdir -p "$run"
cp -r "$program"/. "$run"/

"$here/tools/wine-run.sh" "$build" cmd /c exit >/dev/null 2>&1 || true # the prefix exists
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all PATH="/usr/lib/wine:$PATH"
wineserver -k 2>/dev/null || true
display=200
while [ -e "/tmp/.X11-unix/X$display" ]; do display=$((display + 1)); done

status=0
( cd "$run" && DISPLAY=":$display" timeout 120 wine64 ./plimet.exe ) 2>"$run/stderr" || status=$?
wineserver -k 2>/dev/null || true
echo "exit code $status; stderr: $(cat "$run/stderr")"
[ "$status" -eq 1 ] || { echo "no-desktop: expected exit code 1" >&2; exit 1; }
grep -q "Plimet: Unable to create a window" "$run/stderr" || { echo "no-desktop: no reason given" >&2; exit 1; }
