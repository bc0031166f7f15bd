#!/usr/bin/env bash
# Generates the fixtures of the command-line tool tests into DIR (synthetic tones, lame):
#   mono.mp3, stereo.mp3         1 s each at 44.1 kHz
#   mono_stereo.mp3              mono.mp3 followed by stereo.mp3 (a channel-count change)
#   stereo_mono.mp3              the other way round
#   stereo_22k.mp3               stereo.mp3 followed by a 22.05 kHz stream (a rate change)
#   clip.mp3                     2 s of 22.05 kHz mono at 32 kbit/s, joined many times into
#                                a long file by the tests that need a load that lasts
# Usage: make_tool_fixtures.sh DIR
set -euo pipefail

out=${1:?usage: make_tool_fixtures.sh DIR}
for tool in sox lame; do
  command -v "$tool" >/dev/null || { echo "make_tool_fixtures: $tool is not installed" >&2; exit 1; }
done
mkdir -p "$out"
stamp="$out/.fixtures-stamp"
self_sum=$(sha1sum "$0" | cut -d' ' -f1)
if [[ -f "$stamp" && "$(cat "$stamp")" == "$self_sum" ]]; then
  exit 0
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

sox -D -n -r 44100 -c 1 -b 16 "$tmp/m.wav" synth 1.0 sine 300 vol 0.5
sox -D -n -r 44100 -c 2 -b 16 "$tmp/s.wav" synth 1.0 sine 440 sine 660 vol 0.5
sox -D -n -r 22050 -c 1 -b 16 "$tmp/c.wav" synth 2.0 sine 250 vol 0.5
lame --silent -m m -b 64 "$tmp/m.wav" "$out/mono.mp3"
lame --silent -b 128 "$tmp/s.wav" "$out/stereo.mp3"
lame --silent -b 64 --resample 22.05 "$tmp/s.wav" "$tmp/s22.mp3"
lame --silent -m m -b 32 "$tmp/c.wav" "$out/clip.mp3"
cat "$out/mono.mp3" "$out/stereo.mp3" > "$out/mono_stereo.mp3"
cat "$out/stereo.mp3" "$out/mono.mp3" > "$out/stereo_mono.mp3"
cat "$out/stereo.mp3" "$tmp/s22.mp3" > "$out/stereo_22k.mp3"

echo "$self_sum" > "$stamp"
