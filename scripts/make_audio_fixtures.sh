#!/usr/bin/env bash
# Generates the synthetic audio fixtures of the audio edit and media tests into DIR.
# Usage: make_audio_fixtures.sh DIR
# Signals only (sines, squares); every channel differs so that channel order shows.
set -euo pipefail

out=${1:?usage: make_audio_fixtures.sh DIR}
mkdir -p "$out"
stamp="$out/.fixtures-stamp"
self_sum=$(sha1sum "$0" | cut -d' ' -f1)
if [[ -f "$stamp" && "$(cat "$stamp")" == "$self_sum" ]]; then
  exit 0
fi

make() {  # make NAME RATE CHANNELS BITS ENCODING DURATION SYNTH...
  local name=$1 rate=$2 channels=$3 bits=$4 enc=$5 dur=$6
  shift 6
  sox -D -n -r "$rate" -c "$channels" -b "$bits" -e "$enc" "$out/$name" synth "$dur" "$@" vol 0.5
}

make mono8.wav 22050 1 8 unsigned-integer 2.4 sine 440
make stereo16.wav 44100 2 16 signed-integer 3.2 sine 440 square 97
make stereo24.wav 48000 2 24 signed-integer 2.1 sine 1000 sine 333
make short16.wav 44100 2 16 signed-integer 100s sine 1000 sine 500
make three16.wav 32000 3 16 signed-integer 1.3 sine 200 sine 300 sine 400
sox -D -n -r 44100 -c 2 -b 16 "$out/tone.flac" synth 2.0 sine 440 sine 880 vol 0.5
sox -D -n -r 44100 -c 2 "$out/tone.ogg" synth 2.0 sine 440 sine 880 vol 0.5
# An MPEG audio file under a .wav name: the platform's decoders handle it, not the name.
lame --silent -b 128 "$out/stereo16.wav" "$out/mpeg_named.wav"
printf 'This is not audio at all.\n' > "$out/notaudio.wav"

echo "$self_sum" > "$stamp"
