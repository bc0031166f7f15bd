#!/usr/bin/env bash
# Makes the fixtures of the MPEG stream analysis and the MPEG file reader: synthetic signals
# (sox) encoded with lame at all nine sampling rates as CBR, VBR with a Xing/LAME header,
# VBR without one (-t) and ABR; a file behind a 200 KB ID3v2 tag with an ID3v1 tag at the
# end; a file cut in the middle of a frame.
#
#   scripts/make_mp3_analysis_fixtures.sh OUTDIR          the test fixtures (1.5 s each)
#   scripts/make_mp3_analysis_fixtures.sh --bench OUTDIR  a 10-minute 44.1 kHz stereo 128 kbit/s file
set -euo pipefail

bench=0
if [[ ${1:-} == --bench ]]; then bench=1; shift; fi
out=${1:?usage: make_mp3_analysis_fixtures.sh [--bench] OUTDIR}
for tool in sox lame python3; do
  command -v "$tool" >/dev/null || { echo "make_mp3_analysis_fixtures: $tool is not installed" >&2; exit 1; }
done
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

if [[ $bench == 1 ]]; then
  [[ -f "$out/bench_10min_128k.mp3" ]] && exit 0
  sox -R -n -r 44100 -c 2 -b 16 "$tmp/long.wav" synth 600 pinknoise sine 220-4400 tremolo 2 50 gain -10
  lame --quiet -b 128 "$tmp/long.wav" "$out/bench_10min_128k.mp3"
  exit 0
fi

stamp="$out/.fixtures-stamp"
self_sum=$(sha1sum "$0" | cut -d' ' -f1)
if [[ -f "$stamp" && "$(cat "$stamp")" == "$self_sum" ]]; then
  exit 0
fi

# A signal whose loudness and spectrum change, so that VBR frames differ in size:
# a sweep, then noise bursts. $1 rate, $2 channels, $3 output.
make_signal() {
  sox -R -n -r "$1" -c "$2" -b 16 "$tmp/a.wav" synth 0.75 sine 100-3000 sine 660 tremolo 5 80 gain -6
  sox -R -n -r "$1" -c "$2" -b 16 "$tmp/b.wav" synth 0.05 whitenoise gain -8 pad 0 0.1 repeat 4
  sox -R "$tmp/a.wav" "$tmp/b.wav" "$3"
}

# rate channels cbr-kbit/s
while read -r rate channels kbps; do
  make_signal "$rate" "$channels" "$tmp/s.wav"
  mode=$([[ $channels == 1 ]] && echo m || echo j)
  lame --quiet -m "$mode" -b "$kbps" "$tmp/s.wav" "$out/cbr_$rate.mp3"
  lame --quiet -m "$mode" -V 2 "$tmp/s.wav" "$out/vbr_$rate.mp3"
  lame --quiet -m "$mode" -V 2 -t "$tmp/s.wav" "$out/vbrt_$rate.mp3"
  lame --quiet -m "$mode" --abr "$kbps" "$tmp/s.wav" "$out/abr_$rate.mp3"
done <<'LIST'
8000 1 32
11025 2 32
12000 2 32
16000 2 64
22050 1 64
24000 2 64
32000 1 128
44100 2 128
48000 2 128
LIST

# The 44.1 kHz CBR file behind a 200 KB ID3v2.3 tag holding a picture of seeded random
# bytes, with an ID3v1 tag at the end; and the same file cut short inside a frame.
python3 - "$out" <<'PY'
import random, struct, sys
out = sys.argv[1]
audio = open(f"{out}/cbr_44100.mp3", "rb").read()
rng = random.Random(20261208)
picture = bytes(rng.getrandbits(8) for _ in range(200 * 1024))
body = b"\x00image/jpeg\x00\x03\x00" + picture
frame = b"APIC" + struct.pack(">I", len(body)) + b"\x00\x00" + body
size = len(frame)
synchsafe = bytes(((size >> s) & 0x7F) for s in (21, 14, 7, 0))
tag = b"ID3\x03\x00\x00" + synchsafe + frame
v1 = b"TAG" + b"Title".ljust(30, b"\0") + b"Artist".ljust(30, b"\0") + b"Album".ljust(30, b"\0") \
     + b"2026" + b"".ljust(30, b"\0") + b"\x0c"
assert len(v1) == 128
open(f"{out}/tagged_44100.mp3", "wb").write(tag + audio + v1)
open(f"{out}/truncated_44100.mp3", "wb").write(audio[: len(audio) // 2 + 100])
PY

echo "$self_sum" > "$stamp"
