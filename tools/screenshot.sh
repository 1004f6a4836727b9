#!/usr/bin/env bash
# Saves what the X display shows as an image file.
#   tools/screenshot.sh FILE.png
# The picture is one GetImage of the root window (ImageMagick's import), not
# xwd's: when the windows carry a colormap of their own, as Wine's do, xwd
# rebuilds the screen window by window and shows a window lying wholly
# within a lower one (a message box over its dialog, a menu over its form)
# as a black rectangle, although the display shows it painted.
set -euo pipefail
import -silent -window root "$1"
