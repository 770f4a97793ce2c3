#!/usr/bin/env bash
# screenshot.sh OUT.png: waits for the program's window in $DISPLAY and saves
# a picture of it with a margin. Xvfb has no compositor, so the window shows
# opaque. With --expanded the "透明度" box is clicked first to show the slider.
set -euo pipefail
out=$1
expanded=${2:-}
for _ in $(seq 100); do
  id=$(xdotool search --onlyvisible --classname ClipToText.exe 2>/dev/null | head -1 || true)
  [ -n "$id" ] && break
  sleep 0.1
done
[ -n "$id" ] || { echo "the program's window did not appear" >&2; exit 1; }
sleep 1  # let it paint
eval "$(xdotool getwindowgeometry --shell "$id")"
if [ "$expanded" = --expanded ]; then
  xdotool mousemove $((X + 20)) $((Y + 52)) click 1
  sleep 0.5
  HEIGHT=130
fi
import -window root -crop "$((WIDTH + 40))x$((HEIGHT + 40))+$((X - 20))+$((Y - 20))" +repage "$out"
