#!/usr/bin/env bash
# The main job: sets up, builds, registers the component libraries (and the demo wizard that stands
# in for "Pyrelle.DiscWizard") in the class registry, starts the wizard through `corvana`, and opens
# the desktop host with an audio file.
#   scripts/run.sh [AUDIO]
# Without AUDIO a short demo song is made with sox and encoded with lame into build/demo/.
# Without a display (no DISPLAY or WAYLAND_DISPLAY) the window opens on a virtual display and its
# picture is saved to build/demo/desktop.png instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc)"

build/bin/regsvr --register-all build
build/bin/corvana

audio=${1:-}
if [ -z "$audio" ]; then
  mkdir -p build/demo
  audio=build/demo/demo-song.mp3
  if [ ! -f "$audio" ]; then
    sox -n -r 44100 -c 2 build/demo/demo-song.wav \
      synth 4 pluck C3 pluck E3 fade 0 4 1.5 : synth 3 sine 220-440 sine 330-660 fade 0.5 3 1 \
      : synth 4 pluck G2 pluck B3 tremolo 4 60 fade 0 4 1 gain -3
    lame --quiet -b 128 build/demo/demo-song.wav "$audio"
  fi
fi

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/bin/tavolex-desktop "$audio"
fi
mkdir -p build/demo
xvfb-run -a build/bin/tavolex-desktop "$audio" --screenshot build/demo/desktop.png
echo "No display: the window was opened on a virtual display; its picture is build/demo/desktop.png"
