#!/usr/bin/env bash
# Generates the Windows Media fixtures of the track information tests into DIR.
# Usage: make_wma_fixtures.sh DIR
# ffmpeg encodes synthetic tones (wmav2) with text attributes; mutagen, an independent ASF
# writer, then adds attributes of the other value types (DWORD, BOOL, QWORD, WORD, GUID,
# binary), which ffmpeg cannot write.
set -euo pipefail

out=${1:?usage: make_wma_fixtures.sh DIR}
mkdir -p "$out"

encode() {  # encode NAME SECONDS FFMPEG-ARGS...
  local name=$1 seconds=$2
  shift 2
  ffmpeg -v error -y -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=$seconds" -ac 2 \
    -c:a wmav2 -b:a 64k "$@" "$out/$name"
}

encode tagged.wma 2 -metadata title="Fixture Title" -metadata artist="Fixture Artist" \
  -metadata album="Fixture Album" -metadata genre="Rock" -metadata WM/Year=2004 \
  -metadata comment="Fixture comment" -metadata copyright="(c) Fixture"
encode plain.wma 1
ffmpeg -v error -y -f lavfi -i "testsrc=size=64x48:rate=5:duration=1" \
  -f lavfi -i "sine=frequency=220:sample_rate=22050:duration=1" -c:v wmv2 -c:a wmav2 -b:a 32k \
  -metadata title="Video Title" "$out/clip.wmv"
printf 'This is not a Windows Media file.\n' > "$out/notasf.wma"

/usr/bin/python3 - "$out/tagged.wma" <<'PY'
import sys
import uuid
from mutagen.asf import (ASF, ASFBoolAttribute, ASFByteArrayAttribute, ASFDWordAttribute,
                         ASFGUIDAttribute, ASFQWordAttribute, ASFWordAttribute)

f = ASF(sys.argv[1])
# ffmpeg also stores the title and copyright under lower-case names; other readers prefer those.
for duplicate in ("title", "copyright"):
    f.pop(duplicate, None)
f["WM/Track"] = [ASFDWordAttribute(7)]
f["ID3/TMED"] = [ASFBoolAttribute(True)]
f["ID3/TFLT"] = [ASFBoolAttribute(False)]
f["ID3/PCNT"] = [ASFQWordAttribute(12345678901)]
f["ID3/TPOS"] = [ASFWordAttribute(2)]
# Halves 0x0000000000000001 and 0x0f00000000000000 (little-endian): no leading zeros in the text.
f["ID3/GRID"] = [ASFGUIDAttribute(bytes([1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x0F]))]
f["ID3/APIC"] = [ASFByteArrayAttribute(b"\x89PNG not really")]
f.save()
PY
