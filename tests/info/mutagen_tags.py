#!/usr/bin/python3
"""Reads tags with mutagen, the independent reader the tests compare against.

  mutagen_tags.py dump FILE        key<TAB>value lines (line breaks shown as \\n)
  mutagen_tags.py frames FILE      every frame (as mutagen reads it in ID3v2.4 terms), one
                                   line each, sorted; 'error<TAB>reason' when mutagen fails
  mutagen_tags.py pictures FILE DIR   writes each attached picture as DIR/mutagen-N.bin
"""
import os
import sys

from mutagen.id3 import ID3, ID3NoHeaderError, ParseID3v1

TEXT_FRAMES = ['TIT2', 'TPE1', 'TALB', 'TYER', 'TDRC', 'TCON', 'TRCK', 'TPE2', 'TPOS', 'TCOM', 'TIT3']
URL_FRAMES = ['WOAR', 'WCOM', 'WOAF', 'WPUB']


def show(key, value):
    print('%s\t%s' % (key, str(value).replace('\n', '\\n')))


def frames(path):
    try:
        tag = ID3(path)
    except ID3NoHeaderError:
        return
    except Exception as error:  # mutagen refuses the tag
        show('error', type(error).__name__)
        return
    for line in sorted('%s\t%r' % (frame.HashKey, frame) for frame in tag.values()):
        print(line.replace('\n', '\\n'))


def dump(path):
    data = open(path, 'rb').read()
    try:
        tag = ID3(path, translate=False)
    except ID3NoHeaderError:
        tag = None
    except Exception as error:  # mutagen refuses the tag
        show('error', type(error).__name__)
        return
    if tag is not None:
        show('tag_end', tag.size)
        show('version', '%d.%d' % tag.version[:2])
        for frame_id in TEXT_FRAMES:
            frames = tag.getall(frame_id)
            if frames:
                show(frame_id, '/'.join(str(t) for t in frames[0].text))
        for frame_id in ('COMM', 'USLT', 'TXXX'):
            frames = tag.getall(frame_id)
            if frames:
                text = frames[0].text
                show(frame_id, text if isinstance(text, str) else '/'.join(text))
        for frame in tag.getall('USER'):
            show('USER', frame.text)
        for frame in tag.getall('WXXX'):
            show('WXXX', frame.url)
        for frame_id in URL_FRAMES:
            for frame in tag.getall(frame_id):
                show(frame_id, frame.url)
        for frame in tag.getall('PRIV'):
            show('PRIV', frame.data.decode('latin-1'))
        show('pictures', len(tag.getall('APIC')))
    else:
        show('tag_end', 0)
    start = tag.size if tag is not None else 0
    show('audio_head', data[start:start + 2].hex())
    if len(data) >= 128 and data[-128:-125] == b'TAG':
        frames = ParseID3v1(data[-128:])
        for key in ('TIT2', 'TPE1', 'TALB', 'TDRC', 'COMM'):
            if key in frames:
                value = frames[key].text[0]
                show('v1.' + ('TYER' if key == 'TDRC' else key), value)
        show('v1.genre', data[-1])


def pictures(path, out):
    for n, frame in enumerate(ID3(path).getall('APIC'), start=1):
        with open(os.path.join(out, 'mutagen-%d.bin' % n), 'wb') as f:
            f.write(frame.data)


def main():
    if len(sys.argv) == 3 and sys.argv[1] == 'dump':
        dump(sys.argv[2])
    elif len(sys.argv) == 3 and sys.argv[1] == 'frames':
        frames(sys.argv[2])
    elif len(sys.argv) == 4 and sys.argv[1] == 'pictures':
        pictures(sys.argv[2], sys.argv[3])
    else:
        print(__doc__, file=sys.stderr)
        return 2
    return 0


if __name__ == '__main__':
    sys.exit(main())
