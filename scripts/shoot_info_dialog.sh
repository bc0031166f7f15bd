#!/usr/bin/env bash
# Takes the picture of the information dialog shown in the README: opens `trackinfo edit` on a
# generated Windows Media file on a virtual display and saves the dialog's window as a PNG.
# Usage: shoot_info_dialog.sh BUILD_DIR OUT.png
set -u

build=${1:?usage: shoot_info_dialog.sh BUILD_DIR OUT.png}
out=${2:?usage: shoot_info_dialog.sh BUILD_DIR OUT.png}
here=$(cd "$(dirname "$0")" && pwd)

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$build" "$out"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bash "$here/make_wma_fixtures.sh" "$work" || exit 1
song="$work/tagged.wma"
"$build/bin/trackinfo" set "$song" "eaComment=Recorded live, first take" || exit 1

"$build/bin/trackinfo" edit "$song" &
pid=$!
wid=""
for _ in $(seq 1 50); do  # up to ten seconds for the window
  wid=$(xdotool search --onlyvisible --name "View / Update Information" 2>/dev/null | head -1)
  [ -n "$wid" ] && break
  sleep 0.2
done
if [ -z "$wid" ]; then
  echo "shoot_info_dialog: the dialog did not appear" >&2
  kill "$pid"
  exit 1
fi
xdotool mousemove 1023 767  # the pointer out of the picture
sleep 1  # let the first paint finish
eval "$(xdotool getwindowgeometry --shell "$wid")"
ffmpeg -v error -y -f x11grab -video_size "${WIDTH}x${HEIGHT}" -i "$DISPLAY+$X,$Y" -frames:v 1 "$out"
xdotool key --window "$wid" Escape
wait "$pid"
status=$?
[ "$status" -eq 3 ] || { echo "shoot_info_dialog: trackinfo edit ended with $status, not 3" >&2; exit 1; }
echo "$out"
