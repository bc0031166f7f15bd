#!/usr/bin/env bash
# Makes the MPEG audio decoder's reference fixtures: synthetic signals (sox) encoded with
# lame at every sampling rate of MPEG-1, 2 and 2.5, in mono, stereo and joint stereo,
# CBR and VBR (with and without the Xing/Info frame), with and without CRC; each decoded
# by mpg123 to raw float (NAME.f32) and 16-bit (NAME.s16) as the reference.
#
#   scripts/make_mp3_fixtures.sh OUTDIR          the test fixtures (1-2 s each)
#   scripts/make_mp3_fixtures.sh --bench OUTDIR  three 5-minute joint-stereo files: 44.1 kHz
#       128 kbit/s, 44.1 kHz VBR -V2, and 22.05 kHz 64 kbit/s
#   scripts/make_mp3_fixtures.sh --crafted GENERATOR OUTDIR
#       streams written by GENERATOR (a test program that prints the name of each
#       OUTDIR/NAME.mp3 it writes), each decoded by mpg123 as above
set -euo pipefail

usage="usage: make_mp3_fixtures.sh [--bench] OUTDIR | --crafted GENERATOR OUTDIR"
bench=0
generator=
if [[ ${1:-} == --bench ]]; then bench=1; shift; fi
if [[ ${1:-} == --crafted ]]; then generator=${2:?$usage}; shift 2; fi
out=${1:?$usage}
tools="sox lame mpg123"
if [[ -n $generator ]]; then tools=mpg123; fi
for tool in $tools; do
  command -v "$tool" >/dev/null || { echo "make_mp3_fixtures: $tool is not installed" >&2; exit 1; }
done
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The reference outputs of OUTDIR/NAME.mp3.
reference() {
  local name=$1
  mpg123 -q --no-gapless -e f32 -s "$out/$name.mp3" > "$out/$name.f32"
  mpg123 -q --no-gapless -e s16 -s "$out/$name.mp3" > "$out/$name.s16"
}

if [[ -n $generator ]]; then
  "$generator" "$out" > "$tmp/list"
  while read -r name; do reference "$name"; done < "$tmp/list"
  mv "$tmp/list" "$out/fixtures.txt"
  exit 0
fi

# A test signal: a sweep with a second tone, then noise bursts and clicks (which make the
# encoder switch to short blocks). $1 rate, $2 channels, $3 seconds, $4 output.
make_signal() {
  local rate=$1 channels=$2 seconds=$3 wav=$4
  local half
  half=$(awk "BEGIN{print $seconds/2}")
  sox -n -r "$rate" -c "$channels" -b 16 "$tmp/a.wav" synth "$half" sine 200-3000 sine 660 \
    tremolo 3 60 gain -8
  sox -n -r "$rate" -c "$channels" -b 16 "$tmp/b.wav" synth 0.04 whitenoise \
    gain -10 pad 0 0.08 repeat "$(awk "BEGIN{print int($half/0.12)}")"
  sox "$tmp/a.wav" "$tmp/b.wav" "$wav"
}

# name rate channels seconds lame-options...
fixture() {
  local name=$1 rate=$2 channels=$3 seconds=$4
  shift 4
  make_signal "$rate" "$channels" "$seconds" "$tmp/$name.wav"
  lame --quiet "$@" "$tmp/$name.wav" "$out/$name.mp3"
  reference "$name"
  echo "$name" >> "$tmp/list"
}

if [[ $bench == 1 ]]; then
  sox -n -r 44100 -c 2 -b 16 "$tmp/long.wav" synth 300 pinknoise sine 220-4400 tremolo 2 50 gain -10
  lame --quiet -b 128 -m j "$tmp/long.wav" "$out/bench_5min_128k.mp3"
  lame --quiet -V 2 -m j "$tmp/long.wav" "$out/bench_5min_vbr_v2.mp3"
  lame --quiet --resample 22.05 -b 64 -m j "$tmp/long.wav" "$out/bench_5min_22050.mp3"
  exit 0
fi

: > "$tmp/list"
fixture m1_44100_stereo_cbr 44100 2 1.5 -b 128 -m s
fixture m1_48000_joint_vbr 48000 2 1.5 -V 4 -m j
fixture m1_32000_mono_cbr_crc 32000 1 1.5 -b 64 -m m -p
fixture m1_44100_joint_vbr_noxing 44100 2 1.5 -V 2 -m j -t
fixture m2_22050_joint_cbr 22050 2 1.5 -b 64 -m j
fixture m2_24000_stereo_vbr_crc 24000 2 1.5 -V 5 -m s -p
fixture m2_16000_mono_cbr 16000 1 1.5 -b 32 -m m
fixture m25_11025_joint_cbr_crc 11025 2 2 -b 32 -m j -p
fixture m25_12000_mono_vbr 12000 1 2 -V 6 -m m
fixture m25_8000_stereo_cbr 8000 2 2 -b 16 -m s
mv "$tmp/list" "$out/fixtures.txt"
