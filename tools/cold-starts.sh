#!/usr/bin/env bash
# Starts plimet.exe COUNT times under Wine, each a cold start (the Wine
# server and its helpers ended before), and checks that the login window
# appears. A start that ends before the window shows, or shows nothing in
# time, is a failure: its exit code and what it wrote to stderr are kept in
# LOG_DIR (with Wine's own error lines), which also holds the Wine prefix of these runs (its own, so that
# ending its server never touches the tests' prefix). Run by hand (it takes
# several seconds per start):
#   tools/cold-starts.sh BUILD_DIR PROGRAM_DIR [COUNT] [LOG_DIR]
# (LOG_DIR defaults to BUILD_DIR/cold-starts.)
# Prints one line per start and a summary; exits 1 when any start failed.
set -uo pipefail
program=$(cd "$2" && pwd)
count=${3:-300}
logs=${4:-$1/cold-starts}
here=$(cd "$(dirname "$0")" && pwd)
seconds=30

mkdir -p "$logs"
logs=$(cd "$logs" && pwd)
run=$(mktemp -d)
cp -r "$program"/. "$run"/

export WINEPREFIX="$logs/wineprefix" WINEDEBUG=-all,err+all PATH="/usr/lib/wine:$PATH"
display=:$((40 + RANDOM % 19))
Xvfb "$display" -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
cleanup() { wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true; rm -rf "$run"; }
trap cleanup EXIT
export DISPLAY=$display
sleep 1
"$here/wine-run.sh" "$logs" cmd /c exit >/dev/null 2>&1 || true # the prefix exists

failures=0
for i in $(seq 1 "$count"); do
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  err="$logs/start-$i.stderr"
  ( cd "$run" && exec wine64 ./plimet.exe >/dev/null 2>"$err" ) &
  pid=$!
  verdict=""
  for _ in $(seq 1 $((seconds * 10))); do
    if xdotool search --onlyvisible --name '^Login$' >/dev/null 2>&1; then
      verdict=ok
      break
    fi
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      verdict="ended with exit code $?"
      break
    fi
    sleep 0.1
  done
  [ -z "$verdict" ] && verdict="no login window after ${seconds} s"
  if [ "$verdict" = ok ]; then
    echo "start $i: login window"
    rm -f "$err"
  else
    failures=$((failures + 1))
    echo "start $i: FAILED, $verdict; stderr in $err"
    sed 's/^/    /' "$err" | head -20
  fi
  wineserver -k 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
done
echo "cold starts: $count, failures: $failures"
[ "$failures" -eq 0 ]
