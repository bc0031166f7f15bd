#!/usr/bin/python3
"""Makes the MPEG audio fixtures of the track information tests.

Usage: make_info_fixtures.py OUTDIR [--bench N]

Synthetic signals are encoded with lame and tagged with mutagen (ID3v2.3, ISO-8859-1).
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

from mutagen.id3 import (APIC, COMM, ID3, PRIV, TALB, TCON, TIT2, TPE1, TPE2, TPOS,
                         TRCK, TXXX, TYER, USER, USLT, WCOM, WOAR, WXXX)

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
