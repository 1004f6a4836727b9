#!/usr/bin/env bash
# Starts the built plimet.exe in a fresh program folder under Wine on a
# private Xvfb and drives it with real X input only: create an account at
# the login, add a catalog, exit by the File menu, start again and log in,
# find the catalog again; a second start while the side-bar is shown ends
# at once; a catalog added just before the program is killed is there at
# the next start. (Exit is chosen from the notification-area icon's menu: with no
# window manager on Xvfb, a click does not make the side-bar active for F10.) Screenshots go to BUILD/screenshots.
#   tests/e2e/first-run.sh BUILD_DIR PROGRAM_DIR PLIMET_DATA
set -euo pipefail
build=$(cd "$1" && pwd)
program=$(cd "$2" && pwd)
plimet_data=$3
here=$(cd "$(dirname "$0")/../.." && pwd)
shots="$build/screenshots"
run="$build/e2e/program"
mkdir -p "$shots"
rm -rf "$build/e2e" && mkdir -p "$run"
cp -r "$program"/. "$run"/

export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all PATH="/usr/lib/wine:$PATH"
display=:$((70 + RANDOM % 19))
Xvfb "$display" -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
cleanup() { wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true; }
trap cleanup EXIT
export DISPLAY=$display
sleep 1
"$here/tools/wine-run.sh" "$build" cmd /c exit >/dev/null 2>&1 || true # prefix ready, fonts in place

fail() { echo "e2e: $*" >&2; "$here/tools/screenshot.sh" "$shots/e2e-failure.png" || true; exit 1; }
wait_window() { # name, seconds
  for _ in $(seq 1 $(( $2 * 4 ))); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.25
  done
  return 1
}
shot() { sleep 0.5; "$here/tools/screenshot.sh" "$shots/$1.png"; }
# Whether a window shows more than a black rectangle in a screenshot.
painted() { # window, screenshot name
  eval "$(xdotool getwindowgeometry --shell "$1")"
  convert "$shots/$2.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -format "%[fx:mean]" info: |
    awk '{ exit !($1 > 0.25) }'
}
keys() { for k in "$@"; do xdotool key --clearmodifiers "$k"; sleep 0.3; done; }
type_text() { xdotool type --delay 60 "$1"; sleep 0.3; }
start() { ( cd "$run" && exec wine64 ./plimet.exe >/dev/null 2>&1 ) & echo $!; }

# 1. First start: a new account.
first=$(start)
login=$(wait_window Login 60) || fail "no login window"
shot e2e-login
keys shift+Tab           # from the password to the account field
type_text anna
keys Return
wait_window Warning 10 >/dev/null || fail "no offer to create the account"
keys Return              # OK: create it
dialog=$(wait_window "Change Password" 10) || fail "no change-password dialog"
keys Tab                 # the old password stays empty
type_text pw
keys Tab
type_text px             # a slip: the two do not match
keys Return
box=$(wait_window Error 10) || fail "no error for new passwords that differ"
shot e2e-password-error
painted "$box" e2e-password-error || fail "the error box shows black in the screenshot"
painted "$dialog" e2e-password-error || fail "the change-password dialog shows black in the screenshot"
eval "$(xdotool getwindowgeometry --shell "$box")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 28)) click 1 # its OK button
sleep 0.5
dialog=$(wait_window "Change Password" 5) || fail "the change-password dialog went with the error"
eval "$(xdotool getwindowgeometry --shell "$dialog")"
xdotool mousemove $((X + 195)) $((Y + 100)) click 1 # into the second field
sleep 0.3
keys End BackSpace BackSpace
type_text pw
keys Return
main=$(wait_window Plimet 20) || fail "no side-bar after the login"

# 2. A catalog, from the tree's context menu on empty space.
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 80))
sleep 0.3
xdotool click 3
sleep 1
keys Down Return         # "Add Catalog"
wait_window "New Catalog" 10 >/dev/null || fail "no name prompt"
type_text Work
keys Return
sleep 0.5
shot e2e-sidebar

# 2b. The skinned frame as a person uses it: the File menu dropped from the
# skinned menu bar by the pointer and by Alt+F, the caption's minimize and
# close buttons (both send the side-bar to the notification area, whose
# icon brings it back on a double click).
eval "$(xdotool getwindowgeometry --shell "$main")"
wx=$X; wy=$Y; ww=$WIDTH
menu_below() { # a pull-down just under the bar's first button
  for _ in $(seq 1 12); do
    for w in $(xdotool search --onlyvisible --name "" 2>/dev/null); do
      [ "$w" = "$main" ] && continue
      eval "$(xdotool getwindowgeometry --shell "$w")"
      if [ "$X" -ge "$wx" ] && [ "$X" -lt $((wx + 40)) ] && [ "$Y" -gt $((wy + 30)) ] && [ "$Y" -lt $((wy + 90)) ] &&
         [ "$HEIGHT" -gt 40 ]; then return 0; fi
    done
    sleep 0.25
  done
  return 1
}
close_menu() { xdotool mousemove $((wx + ww / 2)) $((wy + 200)); sleep 0.2; keys Escape; sleep 0.5; }
xdotool mousemove $((wx + 16)) $((wy + 38)) click 1
menu_below || fail "the File menu did not drop from the skinned bar"
shot e2e-sidebar-menu
close_menu
keys alt+f
menu_below || fail "Alt+F did not open the File menu"
close_menu
tray_double_click() {
  tray=$(xdotool search --onlyvisible --name "Wine System Tray" 2>/dev/null | head -1 || true)
  [ -n "$tray" ] || fail "no notification area"
  eval "$(xdotool getwindowgeometry --shell "$tray")"
  xdotool mousemove $((X + 12)) $((Y + HEIGHT - 12)) click --repeat 2 --delay 80 1
  wait_window Plimet 10 >/dev/null || fail "the icon's double click did not bring the side-bar back"
  sleep 0.5
}
gone() { # the side-bar is hidden within a few seconds
  for _ in $(seq 1 20); do
    [ -z "$(xdotool search --onlyvisible --name '^Plimet$' 2>/dev/null)" ] && return 0
    sleep 0.25
  done
  return 1
}
xdotool mousemove $((wx + ww - 61)) $((wy + 13)) click 1
gone || fail "the skinned minimize button did not send the side-bar to the notification area"
tray_double_click
main=$(wait_window Plimet 5)
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove $((X + WIDTH - 16)) $((Y + 13)) click 1
gone || fail "the skinned close button did not send the side-bar to the notification area"
tray_double_click
main=$(wait_window Plimet 5)

# 3. A second start while the side-bar shows ends at once.
second=$(start)
for _ in $(seq 1 60); do kill -0 "$second" 2>/dev/null || break; sleep 0.25; done
kill -0 "$second" 2>/dev/null && fail "the second start did not end"
[ "$(xdotool search --onlyvisible --name '^Login$' 2>/dev/null | wc -l)" = 0 ] || fail "a second login showed"

# 4. Exit from the notification-area icon's menu (its last item).
exit_by_tray() {
  tray=$(xdotool search --onlyvisible --name "Wine System Tray" 2>/dev/null | head -1 || true)
  [ -n "$tray" ] || fail "no notification area"
  eval "$(xdotool getwindowgeometry --shell "$tray")"
  xdotool mousemove $((X + 12)) $((Y + HEIGHT - 12)) click 3 # the icon, below the tray's caption
  sleep 1
  # No keyboard focus without a window manager: click the last item, "Exit".
  local menu=""
  for w in $(xdotool search --onlyvisible --name "" 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    if [ "$X" -lt 40 ] && [ "$Y" -ge 25 ] && [ "$Y" -lt 60 ] && [ "$HEIGHT" -gt 60 ] && [ "$HEIGHT" -lt 200 ]; then menu=$w; break; fi
  done
  [ -n "$menu" ] || fail "the tray menu did not open"
  eval "$(xdotool getwindowgeometry --shell "$menu")"
  xdotool mousemove $((X + 30)) $((Y + HEIGHT - 10)) click 1
}
exit_by_tray
for _ in $(seq 1 80); do kill -0 "$first" 2>/dev/null || break; sleep 0.25; done
kill -0 "$first" 2>/dev/null && fail "Exit did not end the program"
[ -f "$run/UserData.cds" ] || fail "UserData.cds was not written"
"$plimet_data" show "$run/anna/DataFile.cds" | grep -q "Work" || fail "the catalog was not saved"

# 5. Start again and log in: the catalog is there.
login_again() { # what the run is called
  local pid
  pid=$(start)
  wait_window Login 60 >/dev/null || fail "no login window on the $1"
  type_text pw
  keys Return
  wait_window Plimet 20 >/dev/null || fail "no side-bar on the $1"
  echo "$pid"
}
third=$(login_again "second run")
main=$(wait_window Plimet 5)
shot e2e-sidebar-again

# 6. One more catalog, then the program is killed, with no exit at all.
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 80))
sleep 0.3
xdotool click 3
sleep 1
keys Down Return
wait_window "New Catalog" 10 >/dev/null || fail "no name prompt on the second run"
type_text Kept
keys Return
sleep 1
for p in $(pgrep -f 'plimet\.exe' || true); do
  [ "$(readlink "/proc/$p/cwd" 2>/dev/null)" = "$run" ] && kill -9 "$p"
done
for _ in $(seq 1 40); do kill -0 "$third" 2>/dev/null || break; sleep 0.25; done
kill -0 "$third" 2>/dev/null && fail "the program could not be killed"
"$plimet_data" show "$run/anna/DataFile.cds" | grep -q "Kept" || fail "the catalog added before the kill was not saved"
# A press on empty space adds at the top level (FLevel 0, FParentId 0), whatever the tree selected meanwhile.
"$plimet_data" show "$run/anna/DataFile.cds" | grep -qP '^\d+\tKept\tKept\t0\t0\t1\t' || fail "Kept is not a top-level catalog"

# 7. After the kill: start, log in, both catalogs are there.
fourth=$(login_again "run after the kill")
shot e2e-sidebar-after-kill
exit_by_tray
for _ in $(seq 1 80); do kill -0 "$fourth" 2>/dev/null || break; sleep 0.25; done
"$plimet_data" show "$run/anna/DataFile.cds" | grep -q "Work" || fail "the catalog was lost"
"$plimet_data" show "$run/anna/DataFile.cds" | grep -q "Kept" || fail "the catalog added before the kill was lost"
echo "e2e: passed; screenshots in $shots"
