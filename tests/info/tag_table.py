#!/usr/bin/python3
"""For every kind of tagged file among the fixtures: does trackinfo read what mutagen reads,
and does `trackinfo set FILE eaTitle=<non-Latin text>` change the title and nothing else
(or refuse with the file untouched)? Prints a Markdown table.

Usage: tag_table.py TRACKINFO FIXTURES [--check]
With --check the exit status is 1 when a row is neither clean nor a refusal that left the
file untouched, or when a file that should be refused was saved.
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))



TITLE = '\u03a9\u03bc\u03ad\u03b3\u03b1 \u65e5\u672c'

# fixture, what it is, whether a save must be refused
KINDS = [
    ('v22.mp3', 'ID3v2.2, UTF-16 artist, picture', False),
    ('v23plain.mp3', 'ID3v2.3 ISO-8859-1 + ID3v1', False),
    ('tagged.mp3', 'ID3v2.3 every frame kind, 2 pictures + ID3v1', False),
    ('v23ext.mp3', 'ID3v2.3 with extended header', False),
    ('v23unsync.mp3', 'ID3v2.3 unsynchronised, picture with FF E0', False),
    ('v23utf16.mp3', 'ID3v2.3 UTF-16 texts', False),
    ('flags23.mp3', 'ID3v2.3 grouped, compressed, read-only frames', False),
    ('v24.mp3', 'ID3v2.4 UTF-8, picture after TDRC, 40 kB padding, iTunNORM', False),
    ('multi.mp3', 'ID3v2.4 multiple values + ID3v1', False),
    ('flags24.mp3', 'ID3v2.4 data length indicator + frame unsync', False),
    ('v24footer.mp3', 'ID3v2.4 with footer', False),
    ('v24plain.mp3', 'ID3v2.4 with plain (non-syncsafe) sizes', False),
    ('v11track.mp3', 'ID3v1.1 only (track 9)', False),
    ('cbr128.mp3', 'no tag', False),
    ('pasteof.mp3', 'ID3v2.3 size claims 50 MB', True),
    ('bit7.mp3', 'ID3v2.3 size byte with bit 7 set', True),
    ('sound.wav', 'WAV file', True),
    ('notes.txt', 'text file', True),
]

# mutagen dump key -> trackinfo attribute
COMPARED = [('TIT2', 'eaTitle'), ('TPE1', 'eaLeadArtist'), ('TALB', 'eaAlbum'), ('COMM', 'eaComment'),
            ('TYER', 'eaYear'), ('TDRC', 'eaYear'), ('USER', 'eaTermsOfUse'), ('pictures', 'eaPictures')]


def mutagen_dump(path):
    out = subprocess.run([sys.executable, os.path.join(HERE, 'mutagen_tags.py'), 'dump', path],
                         capture_output=True, text=True).stdout
    return dict(line.split('\t', 1) for line in out.splitlines() if '\t' in line)


def mutagen_frames(path, without=('TIT2',)):
    out = subprocess.run([sys.executable, os.path.join(HERE, 'mutagen_tags.py'), 'frames', path],
                         capture_output=True, text=True).stdout
    return [line for line in out.splitlines() if line.split('\t', 1)[0] not in without]


def audio_of(data):
    start = 0
    if data[:3] == b'ID3' and len(data) >= 10:
        size = ((data[6] & 0x7F) << 21) | ((data[7] & 0x7F) << 14) | ((data[8] & 0x7F) << 7) | (data[9] & 0x7F)
        start = min(len(data), 10 + size + (10 if data[3] == 4 and data[5] & 0x10 else 0))
        while start < len(data) and data[start] == 0:
            start += 1
    end = len(data) - 128 if len(data) >= 128 and data[-128:-125] == b'TAG' else len(data)
    return data[start:end]


def ours(trackinfo, path):
    run = subprocess.run([trackinfo, 'show', '--json', path], capture_output=True)
    if run.returncode != 0:
        return None, run.stderr.decode('utf-8', 'replace').strip()
    return json.loads(run.stdout)[0], ''


def read_matches(trackinfo, path):
    dump = mutagen_dump(path)
    if 'error' in dump:
        return 'mutagen refuses the tag'
    mine, error = ours(trackinfo, path)
    if mine is None:
        return 'no: ' + error
    for key, attribute in COMPARED:
        if key not in dump or (key == 'pictures' and dump[key] == '0'):
            continue
        if str(mine.get(attribute, '')).replace('\n', '\\n') != dump[key]:
            return 'no: %s %r vs %r' % (attribute, mine.get(attribute), dump[key])
    return 'yes'


def row(trackinfo, fixtures, name, what, refuse):
    work = tempfile.mkdtemp(prefix='tagtable.')
    try:
        path = os.path.join(work, name)
        shutil.copy(os.path.join(fixtures, name), path)
        before = open(path, 'rb').read()
        frames_before = mutagen_frames(path)
        read = read_matches(trackinfo, path)
        run = subprocess.run([trackinfo, 'set', path, 'eaTitle=' + TITLE], capture_output=True)
        after = open(path, 'rb').read()
        if run.returncode != 0:
            untouched = after == before and os.listdir(work) == [name]
            reason = run.stderr.decode('utf-8', 'replace').strip().split(': ', 2)[-1]
            cells = ['-', '-', '-', 'refused (%s), file %s' % (reason, 'untouched' if untouched else 'CHANGED')]
            ok = untouched and refuse
        else:
            title = mutagen_dump(path).get('TIT2', '<none>')
            same = mutagen_frames(path) == frames_before
            audio = audio_of(after) == audio_of(before)
            cells = [title, 'yes' if same else 'NO', 'yes' if audio else 'NO', '-']
            ok = title == TITLE and same and audio and not refuse
        return '| %s | %s | %s |' % (what, read, ' | '.join(cells)), ok
    finally:
        shutil.rmtree(work)


def main():
    if len(sys.argv) not in (3, 4):
        print(__doc__, file=sys.stderr)
        return 2
    trackinfo, fixtures = sys.argv[1], sys.argv[2]
    print('| kind of file | read matches mutagen | title after set, as mutagen reads it | '
          'every other frame identical | audio identical | refused |')
    print('|---|---|---|---|---|---|')
    failures = 0
    for name, what, refuse in KINDS:
        line, ok = row(trackinfo, fixtures, name, what, refuse)
        print(line)
        failures += not ok
    return 1 if failures and '--check' in sys.argv else 0


if __name__ == '__main__':
    sys.exit(main())
