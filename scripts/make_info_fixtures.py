#!/usr/bin/python3
"""Makes the MPEG audio fixtures of the track information tests.

Usage: make_info_fixtures.py OUTDIR [--bench N]

Synthetic signals are encoded with lame and tagged with mutagen; the tags mutagen cannot
write (ID3v2.2, extended headers, unsynchronisation, frame flags, damaged sizes) are laid
out byte by byte here. The tag kinds are listed in KINDS (tests/info/tag_table.py reads it).
With --bench N, OUTDIR/bench gets N tagged copies of a short file instead.
"""
import math
import os
import random
import shutil
import struct
import subprocess
import sys
import wave
import zlib

from mutagen.id3 import (APIC, COMM, ID3, PRIV, TALB, TCON, TDRC, TIT2, TPE1, TPE2, TPOS,
                         TRCK, TXXX, TYER, UFID, USER, USLT, WCOM, WOAR, WXXX)

RATE = 44100


def write_wav(path, seconds, rate, channels, sample):
    """A 16-bit WAV file with sample(t, channel) in -1..1."""
    frames = bytearray()
    for n in range(int(seconds * rate)):
        t = n / rate
        for c in range(channels):
            frames += struct.pack('<h', int(max(-1.0, min(1.0, sample(t, c))) * 30000))
    with wave.open(path, 'wb') as w:
        w.setnchannels(channels)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(bytes(frames))


def tone(t, c):
    return 0.5 * math.sin(2 * math.pi * (440 + 220 * c) * t)


def varied(t, c):
    """Quiet tone, then loud noise, then a tone again: an encoder in VBR mode changes rate."""
    if 1.0 <= t < 2.0:
        return random.uniform(-0.9, 0.9)
    return 0.05 * math.sin(2 * math.pi * 330 * t)


def lame(wav, mp3, *options):
    subprocess.run(['lame', '--quiet', '--noreplaygain', *options, wav, mp3], check=True)


def picture(size, seed):
    rnd = random.Random(seed)
    return b'\x89PNG\r\n\x1a\n' + bytes(rnd.getrandbits(8) for _ in range(size - 8))


def full_tag(path, picture_bytes):
    """Every kind of frame the library reads; written as ID3v2.3 without mutagen's
    conversions (the frames are ID3v2.3 ones already)."""
    tag = ID3()
    tag.add(TIT2(encoding=0, text='Fixture Title'))
    tag.add(TPE1(encoding=0, text='Fixture Artist'))
    tag.add(TALB(encoding=0, text='Fixture Album'))
    tag.add(TYER(encoding=0, text='2001'))
    tag.add(TCON(encoding=0, text='(17) Rock'))
    tag.add(TRCK(encoding=0, text='7/12'))
    tag.add(COMM(encoding=0, lang='eng', desc='', text='A comment'))
    tag.add(USLT(encoding=0, lang='eng', desc='', text='Line one\nLine two'))
    tag.add(USER(encoding=0, lang='eng', text='Terms of use'))
    tag.add(TPE2(encoding=0, text='Fixture Band'))
    tag.add(TPOS(encoding=0, text='1/2'))
    tag.add(TXXX(encoding=0, desc='', text='user text'))
    tag.add(WOAR(url='http://artist.example/'))
    tag.add(WCOM(url='http://shop.example/'))
    tag.add(WXXX(encoding=0, desc='', url='http://user.example/'))
    tag.add(PRIV(owner='', data=b'private'))
    tag.add(APIC(encoding=0, mime='image/png', type=3, desc='cover', data=picture_bytes))
    tag.save(path, v2_version=3, v1=2)


def syncsafe(n):
    return bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])


def unsync(data):
    out = bytearray()
    for i, b in enumerate(data):
        out.append(b)
        if b == 0xFF and (i + 1 == len(data) or data[i + 1] >= 0xE0 or data[i + 1] == 0):
            out.append(0)
    return bytes(out)


def frame23(fid, payload, flags=0):
    return fid.encode() + struct.pack('>IH', len(payload), flags) + payload


def frame24(fid, payload, flags=0):
    return fid.encode() + syncsafe(len(payload)) + struct.pack('>H', flags) + payload


def frame22(fid, payload):
    return fid.encode() + struct.pack('>I', len(payload))[1:] + payload


def tag(major, body, flags=0, padding=0, size=None):
    body = body + bytes(padding)
    return b'ID3' + bytes([major, 0, flags]) + syncsafe(len(body) if size is None else size) + body


def utf16(text):
    return b'\xff\xfe' + text.encode('utf-16-le')


def raw_file(out, name, audio, head, tail=b''):
    with open(os.path.join(out, name), 'wb') as f:
        f.write(head + audio + tail)


def v1_block(title, track=0, genre=17, comment=b''):
    block = bytearray(128)
    block[0:3] = b'TAG'
    block[3:3 + len(title)] = title
    block[97:97 + len(comment)] = comment
    if track:
        block[125] = 0
        block[126] = track
    block[127] = genre
    return bytes(block)


def make_raw_kinds(out, audio, cover):
    """Tags laid out byte by byte."""
    # ID3v2.2 as older players wrote it: three-letter frames, a UTF-16 artist, a picture.
    body = (frame22('TT2', b'\x00Two two title') + frame22('TP1', b'\x01' + utf16('Zw\u00f6lf K\u00fcnstler')) +
            frame22('TAL', b'\x00Old album') + frame22('COM', b'\x00eng\x00v2.2 comment') +
            frame22('PIC', b'\x00PNG\x03cover\x00' + cover))
    raw_file(out, 'v22.mp3', audio, tag(2, body, padding=256))
    # ID3v2.3 with an extended header (CRC flag clear, 6 bytes after its size).
    body = (struct.pack('>IHI', 6, 0, 0) + frame23('TIT2', b'\x00Extended title') +
            frame23('TPE1', b'\x00Extended artist'))
    raw_file(out, 'v23ext.mp3', audio, tag(3, body, flags=0x40, padding=100))
    # ID3v2.3 unsynchronised as a whole: the picture holds FF E0 and FF 00 sequences.
    picture = b'\xff\xd8\xff\xe0' + bytes(range(256)) * 8 + b'\xff\x00\xff'
    body = frame23('TIT2', b'\x00Unsynced') + frame23('APIC', b'\x00image/jpeg\x00\x03\x00' + picture)
    raw_file(out, 'v23unsync.mp3', audio, tag(3, unsync(body), flags=0x80, padding=64))
    with open(os.path.join(out, 'unsync-picture.jpg'), 'wb') as f:
        f.write(picture)
    # Frame flags: a grouped text (group byte 7), a zlib-compressed TXXX (decompressed size
    # first), a read-only frame; then ID3v2.4 with a data length indicator and frame-level
    # unsynchronisation.
    text = b'\x00ReplayGain\x00-6.5 dB'
    body = (frame23('TIT2', b'\x00Flagged') + frame23('TPE1', b'\x07\x00Grouped artist', 0x0020) +
            frame23('TXXX', struct.pack('>I', len(text)) + zlib.compress(text), 0x0080) +
            frame23('TALB', b'\x00Read-only album', 0x2000))
    raw_file(out, 'flags23.mp3', audio, tag(3, body, padding=50))
    content = b'\x00image/png\x00\x03\x00' + b'\xff\xe1\xff\x00' * 40
    body = (frame24('TIT2', b'\x03Flagged four') +
            frame24('APIC', syncsafe(len(content)) + unsync(content), 0x0003))
    raw_file(out, 'flags24.mp3', audio, tag(4, body, padding=50))
    # ID3v2.4 with a footer, and one whose sizes were written as plain numbers.
    body = frame24('TIT2', b'\x00Footer title') + frame24('TPE1', b'\x00Footer artist')
    head = tag(4, body, flags=0x10)
    raw_file(out, 'v24footer.mp3', audio, head + b'3DI' + head[3:10])
    long_text = b'\x00' + b'L' * 300
    body = (b'TIT2' + struct.pack('>IH', len(long_text), 0) + long_text +
            b'TPE1' + struct.pack('>IH', 14, 0) + b'\x00Plain artist!')
    raw_file(out, 'v24plain.mp3', audio, tag(4, body, padding=20))
    # Declared sizes that cannot be trusted.
    body = frame23('TIT2', b'\x00Claims too much')
    raw_file(out, 'pasteof.mp3', audio, tag(3, body, size=50 * 1000 * 1000))
    head = bytearray(tag(3, body, padding=30))
    head[8] |= 0x80
    raw_file(out, 'bit7.mp3', audio, bytes(head))
    # ID3v1.1 with a track number and no ID3v2 tag.
    raw_file(out, 'v11track.mp3', audio, b'', v1_block(b'V1 title', track=9, genre=13, comment=b'short'))
    # Files that are not MPEG audio.
    with open(os.path.join(out, 'notes.txt'), 'wb') as f:
        f.write(b'Shopping list\n' * 40)


def make_mutagen_kinds(out, cbr, cover):
    """Tags as common taggers write them (mutagen)."""
    def fresh(name):
        path = os.path.join(out, name)
        shutil.copy(cbr, path)
        return path

    path = fresh('v24.mp3')
    t = ID3()
    t.add(TIT2(encoding=3, text='Caf\u00e9 \u2603'))
    t.add(TPE1(encoding=3, text='Artist'))
    t.add(TDRC(encoding=3, text='2004-05-06'))
    t.add(APIC(encoding=3, mime='image/png', type=3, desc='cover', data=cover))
    t.add(TXXX(encoding=3, desc='REPLAYGAIN_TRACK_GAIN', text='-6.50 dB'))
    t.add(UFID(owner='http://musicbrainz.org', data=b'0123456789'))
    t.add(PRIV(owner='', data=b'no owner\x00after zero'))
    t.add(COMM(encoding=3, lang='eng', desc='iTunNORM', text=' 0000044E 00000000'))
    t.add(COMM(encoding=3, lang='eng', desc='', text='The real comment'))
    t.save(path, v2_version=4, v1=0, padding=lambda info: 40000)

    path = fresh('v23utf16.mp3')
    t = ID3()
    t.add(TIT2(encoding=1, text='\u65e5\u672c\u8a9e\u306e\u984c'))
    t.add(TPE1(encoding=1, text='\u0417\u0432\u0435\u0437\u0434\u0430'))
    t.add(TALB(encoding=0, text='Latin album'))
    t.add(USER(encoding=1, lang='eng', text='\u00a9 terms \u2122'))
    t.save(path, v2_version=3, v1=0)

    path = fresh('multi.mp3')
    t = ID3()
    t.add(TIT2(encoding=3, text='Multi'))
    t.add(TPE1(encoding=3, text=['First artist', 'Second artist']))
    t.add(TCON(encoding=3, text=['Rock', 'Jazz']))
    t.save(path, v2_version=4, v1=2)

    path = fresh('v23plain.mp3')
    t = ID3()
    t.add(TIT2(encoding=0, text='Plain title'))
    t.add(TPE1(encoding=0, text='Plain artist'))
    t.add(COMM(encoding=0, lang='eng', desc='', text='plain comment'))
    t.save(path, v2_version=3, v1=2)


def make_wav(out):
    write_wav(os.path.join(out, 'sound.wav'), 0.2, 8000, 1, tone)


def make_fixtures(out):
    random.seed(1)
    wav = os.path.join(out, 'tone.wav')
    write_wav(wav, 3.0, RATE, 2, tone)
    lame(wav, os.path.join(out, 'cbr128.mp3'), '-b', '128', '--cbr')
    lame(wav, os.path.join(out, 'mono22k.mp3'), '-b', '32', '--cbr', '-m', 'm', '--resample', '22.05')
    lame(wav, os.path.join(out, 'mpeg25.mp3'), '-b', '16', '--cbr', '-m', 'm', '--resample', '8')
    varied_wav = os.path.join(out, 'varied.wav')
    write_wav(varied_wav, 3.0, RATE, 2, varied)
    lame(varied_wav, os.path.join(out, 'vbr.mp3'), '-V', '2', '--vbr-new')
    for name in ('tone.wav', 'varied.wav'):
        os.remove(os.path.join(out, name))
    make_wav(out)

    cbr = os.path.join(out, 'cbr128.mp3')
    with open(os.path.join(out, 'cover.png'), 'wb') as f:
        f.write(picture(20000, 7))
    with open(os.path.join(out, 'back.png'), 'wb') as f:
        f.write(picture(3000, 8))
    tagged = os.path.join(out, 'tagged.mp3')
    shutil.copy(cbr, tagged)
    full_tag(tagged, open(os.path.join(out, 'cover.png'), 'rb').read())
    tag = ID3(tagged, translate=False)
    tag.add(APIC(encoding=0, mime='image/png', type=4, desc='back',
                 data=open(os.path.join(out, 'back.png'), 'rb').read()))
    tag.save(tagged, v2_version=3, v1=2)

    big = os.path.join(out, 'bigpicture.mp3')
    shutil.copy(cbr, big)
    tag = ID3()
    tag.add(TIT2(encoding=0, text='Big picture'))
    tag.add(APIC(encoding=0, mime='image/png', type=3, desc='', data=picture(200000, 9)))
    tag.save(big, v2_version=3, v1=0)

    utf16 = os.path.join(out, 'utf16title.mp3')
    shutil.copy(cbr, utf16)
    tag = ID3()
    tag.add(TIT2(encoding=1, text='Wide title'))
    tag.add(TALB(encoding=0, text='Narrow album'))
    tag.save(utf16, v2_version=3, v1=0)

    with open(cbr, 'rb') as f:
        audio = f.read()
    cover = open(os.path.join(out, 'cover.png'), 'rb').read()
    make_raw_kinds(out, audio, cover)
    make_mutagen_kinds(out, cbr, cover)

    both = os.path.join(out, 'v1only.mp3')
    shutil.copy(cbr, both)
    with open(both, 'ab') as f:
        block = bytearray(128)
        block[0:3] = b'TAG'
        block[3:3 + 10] = b'Old title '
        block[33:33 + 10] = b'Old artist'
        block[93:97] = b'1999'
        block[127] = 17
        f.write(block)


def make_bench(out, count):
    os.makedirs(out, exist_ok=True)
    random.seed(2)
    wav = os.path.join(out, 'short.wav')
    write_wav(wav, 1.0, RATE, 2, tone)
    base = os.path.join(out, 'base.mp3')
    lame(wav, base, '-b', '128', '--cbr')
    os.remove(wav)
    full_tag(base, picture(5000, 3))
    for i in range(count):
        path = os.path.join(out, 'track%04d.mp3' % i)
        shutil.copy(base, path)
        tag = ID3(path, translate=False)
        tag.add(TIT2(encoding=0, text='Track %d' % i))
        tag.save(path, v2_version=3, v1=2)
    os.remove(base)


def main():
    if len(sys.argv) not in (2, 4):
        print(__doc__, file=sys.stderr)
        return 2
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    if len(sys.argv) == 4 and sys.argv[2] == '--bench':
        make_bench(os.path.join(out, 'bench'), int(sys.argv[3]))
    else:
        make_fixtures(out)
    return 0


if __name__ == '__main__':
    sys.exit(main())
