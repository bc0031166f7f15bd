#!/bin/bash
# Takes the README's pictures of the desktop host on a virtual display: the window with a
# song loaded, the context menu open over the wave after a split and an index were added with
# it, and the window during playback (on a sink that keeps time without a sound device).
#   bash scripts/make_desktop_screenshots.sh [BUILD_DIR] [OUT_DIR]
# Needs xvfb-run, xdotool, sox, lame and ffmpeg (x11grab). Pauses between steps give the window
# time to draw; this is a picture for people, not a test.
set -u
build=${1:-build}
out=${2:-docs}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Playback needs the filter graph in a class registry; this one lives and dies with $work.
export COM_REGISTRY="$work/registry"
export TAVOLEX_AUDIO_SINK="fakesink sync=true"
"$build/bin/regsvr" --register-all "$build" >/dev/null || exit 1

sox -n -r 44100 -c 2 "$work/song.wav" \
  synth 3 pluck A2 pluck E3 fade 0 3 1 : synth 1 sine 0 gain -90 \
  : synth 3 sine 330-550 sine 440-660 tremolo 3 40 fade 0.3 3 0.8 \
  : synth 3 pluck D3 pluck F#3 fade 0 3 1.2 gain -2 || exit 1
lame --quiet -b 160 "$work/song.wav" "$work/song.mp3" || exit 1
mkdir -p "$out"

cat > "$work/shoot.sh" <<'SHOT'
set -u
bin=$1; audio=$2; png=$3; playing=$4
"$bin/tavolex-desktop" "$audio" &
app=$!
win=$(xdotool search --sync --name 'song.mp3' | head -n 1)
xdotool windowmove "$win" 0 0
sleep 1
# The wave lies some 150 pixels below the window's top; x is a column of the window.
add() {  # x, number of Down presses in the menu
  xdotool mousemove --window "$win" "$1" 160 click 1
  sleep 0.3
  xdotool mousemove --window "$win" "$1" 160 click 3
  sleep 0.5
  for _ in $(seq "$2"); do xdotool key Down; done
  xdotool key Return
  sleep 0.5
}
add 300 1   # Add Split
add 600 2   # Add Index
xdotool mousemove --window "$win" 450 110 click 1
sleep 0.3
xdotool mousemove --window "$win" 450 110 click 3
sleep 1
ffmpeg -loglevel error -y -f x11grab -video_size 1000x620 -i "$DISPLAY" -frames:v 1 \
  -vf crop=900:460:0:0 "$png"
status=$?
xdotool key Escape
# Play from 00:02:00 and take the window while the mark moves.
xdotool mousemove --window "$win" 120 110 click 1
sleep 0.3
xdotool key space
sleep 2.5
ffmpeg -loglevel error -y -f x11grab -video_size 1000x620 -i "$DISPLAY" -frames:v 1 \
  -vf crop=900:460:0:0 "$playing" || status=1
xdotool key space
kill "$app"
wait "$app"
exit "$status"
SHOT
xvfb-run -a "$build/bin/tavolex-desktop" "$work/song.mp3" --screenshot "$out/desktop.png" || exit 1
xvfb-run -a -s "-screen 0 1000x620x24" bash "$work/shoot.sh" "$build/bin" "$work/song.mp3" \
  "$out/desktop-context-menu.png" "$out/desktop-playing.png"
