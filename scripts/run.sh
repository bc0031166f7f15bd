#!/usr/bin/env bash
# The main job: sets up, builds what it needs, registers the component libraries (and the demo
# wizard that stands in for "Pyrelle.DiscWizard") in the class registry, checks that the audio
# file loads, and opens it the way a user of the wizard would: corvana -o AUDIO starts the
# wizard, whose open method shows the file in the desktop editor and returns when it is closed.
#   scripts/run.sh [AUDIO]
# A relative AUDIO is taken from the folder the script is called from. Without AUDIO a short
# demo song is made with sox and encoded with lame into build/demo/. Without a display (no
# DISPLAY or WAYLAND_DISPLAY) the editor opens on a virtual display and its picture is saved to
# build/demo/desktop.png. One line per step; exit 1 with the reason when a step fails.
set -u
set -o pipefail

say() { echo "run.sh: $*"; }
fail() {
  echo "run.sh: $*" >&2
  exit 1
}
# Runs a step quietly; on failure shows the end of its output and stops.
quiet() {
  local what=$1
  shift
  local out
  if ! out=$("$@" 2>&1); then
    printf '%s\n' "$out" | tail -n 20 >&2
    fail "$what failed"
  fi
}

# The audio file, resolved against the caller's folder before anything changes folder.
audio=""
if [ $# -gt 1 ]; then
  echo "usage: scripts/run.sh [AUDIO]" >&2
  exit 2
fi
if [ $# -eq 1 ]; then
  if [ ! -e "$1" ]; then fail "no such audio file: $1"; fi
  if [ ! -f "$1" ]; then fail "not a regular file: $1"; fi
  if [ ! -r "$1" ]; then fail "cannot read the audio file: $1"; fi
  audio=$(realpath -- "$1") || fail "cannot resolve the path of $1"
fi

cd "$(dirname "$0")/.." || fail "cannot enter the project folder"

quiet "installing the Debian packages" bash scripts/setup.sh
say "setup: every Debian package the project needs is installed"

quiet "configuring build/" cmake -S . -B build -G Ninja
targets=(regsvr corvana DemoWizard Tavolex Info FilterGraph tavolex tavolex-desktop)
quiet "building ${targets[*]}" cmake --build build -j "$(nproc)" --target "${targets[@]}"
say "build: ${targets[*]} are up to date in build/"

quiet "registering the component libraries" build/bin/regsvr --register-all build
say "registry: registered libDemoWizard.so, libTavolex.so and libInfo.so"

if [ -z "$audio" ]; then
  mkdir -p build/demo
  audio=$PWD/build/demo/demo-song.mp3
  if [ ! -f "$audio" ]; then
    quiet "making the demo song" sox -n -r 44100 -c 2 build/demo/demo-song.wav \
      synth 4 pluck C3 pluck E3 fade 0 4 1.5 : synth 3 sine 220-440 sine 330-660 fade 0.5 3 1 \
      : synth 4 pluck G2 pluck B3 tremolo 4 60 fade 0 4 1 gain -3
    quiet "encoding the demo song" lame --quiet -b 128 build/demo/demo-song.wav "$audio"
    say "demo: made the demo song $audio"
  else
    say "demo: using the demo song $audio"
  fi
fi

# The control loads the file once on a headless host, so that a file it cannot read is
# reported here with its reason rather than only in the window.
if ! loaded=$(build/bin/tavolex peaks "$audio" 2>&1); then
  reason=$(sed -n 's/^ErrorString: //p' <<<"$loaded" | head -n 1)
  [ -n "$reason" ] || reason=$(tail -n 1 <<<"$loaded")
  fail "cannot load $audio: $reason"
fi
field() { sed -n "s/^$1: //p" <<<"$loaded" | head -n 1; }
say "load: $audio loads ($(field channels) channels, $(field freq) Hz, $(field duration) ms)"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  say "open: corvana -o $audio (the wizard opens the editor; close its window to finish)"
  build/bin/corvana -o "$audio" || fail "the wizard could not open $audio in the editor"
  say "done: the editor was closed"
else
  mkdir -p build/demo
  rm -f build/demo/desktop.png
  DEMOWIZARD_SCREENSHOT=$PWD/build/demo/desktop.png xvfb-run -a build/bin/corvana -o "$audio" ||
    fail "the wizard could not open $audio in the editor"
  [ -f build/demo/desktop.png ] || fail "the editor saved no picture of its window"
  say "open: no display, so corvana -o opened the editor on a virtual display; its picture is build/demo/desktop.png"
fi
