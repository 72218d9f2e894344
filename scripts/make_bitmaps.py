#!/usr/bin/env python3
"""Draws the launcher's own bitmap resources and writes them as .bmp files.

The pictures are character maps: each character names a palette index. The
16-colour strips use fixed indexes for the shading roles that are recoloured
from the user's colour slots when a strip is loaded:
  12 transparent, 7 light1, 14 light3, 8 dark1, 4 dark3 (first colour set),
  10 base, 2 dark2 (second colour set).
The mode glyphs, the function-key faces and the lamps are also written at
150 % and 200 % for screens of 144 and 192 DPI (resource ids 1000 and 2000
above the 100 % ones): every pixel of the map becomes a block of whole pixels
(nearest neighbour), so the pictures stay as crisp as the originals.
Usage: make_bitmaps.py [output folder]   (default: launcher/render/bitmaps)
"""
import os
import struct
import sys

# The classic 16-colour palette; index 12 is shown as magenta so that the
# transparent parts stand out in a picture editor.
PALETTE16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (255, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

# Characters of the maps and their palette indexes.
CHARS = {
    '.': 12,  # transparent
    'L': 7,   # light1
    'H': 14,  # light3
    'd': 8,   # dark1
    'D': 4,   # dark3
    'B': 10,  # second set: base
    'k': 2,   # second set: dark2
    '0': 0,   # black
    'w': 15,  # white
    'm': 1,   # maroon
    'o': 3,   # olive
    'p': 5,   # purple
    't': 6,   # teal
    'r': 9,   # red
    'y': 11,  # yellow
    'f': 13,  # fuchsia
}


def bmp4(rows, palette=PALETTE16):
    """A bottom-up 4-bit BMP from rows of palette indexes."""
    height, width = len(rows), len(rows[0])
    stride = ((width * 4 + 31) // 32) * 4
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, v in enumerate(row):
            line[x // 2] |= v << (4 if x % 2 == 0 else 0)
        pixels += line
    pal = b''.join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    return _bmp(width, height, 4, 16, pal, pixels)


def bmp1(rows):
    """A bottom-up monochrome BMP from rows of 0/1 (1 = white)."""
    height, width = len(rows), len(rows[0])
    stride = ((width + 31) // 32) * 4
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, v in enumerate(row):
            if v:
                line[x // 8] |= 0x80 >> (x % 8)
        pixels += line
    pal = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    return _bmp(width, height, 1, 2, pal, pixels)


def _bmp(width, height, bits, colours, pal, pixels):
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, 0, len(pixels), 2835, 2835,
                       colours, 0)
    offset = 14 + len(info) + len(pal)
    head = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    return head + info + pal + pixels


def parse(art):
    rows = [line for line in art.strip('\n').split('\n')]
    width = len(rows[0])
    for r in rows:
        if len(r) != width:
            raise ValueError('ragged picture row: %r' % r)
    return [[CHARS[c] for c in r] for r in rows]


def scaled(rows, percent):
    """Nearest-neighbour scaling of a parsed picture to percent of its size
    (sizes rounded half up): no new colours, so the recolouring still works."""
    height, width = len(rows), len(rows[0])
    new_w = (width * percent + 50) // 100
    new_h = (height * percent + 50) // 100
    return [[rows[y * height // new_h][x * width // new_w] for x in range(new_w)]
            for y in range(new_h)]


# Scales the DPI-dependent strips are drawn at, and the id offset of each.
SCALES = {150: 1000, 200: 2000}


def strip(frames):
    """Frames side by side (each a parsed picture of the same height)."""
    height = len(frames[0])
    return [sum((f[y] for f in frames), []) for y in range(height)]


# Mode-button glyphs, 16 x 11: display modes 0-2 (large, list, small), then
# minimize all, cascade, tile and task details.
MODE_GLYPHS = [
    """
................
.HHHH.....HHHH..
.HDDD.....HDDD..
.HDDD.....HDDD..
.HDDD.....HDDD..
................
.0000.....0000..
................
.0000.....0000..
................
................
""",
    """
................
.HH.00000000000.
.HD.............
................
.HH.00000000000.
.HD.............
................
.HH.00000000000.
.HD.............
................
................
""",
    """
................
.HH.HH.HH.HH.HH.
.HD.HD.HD.HD.HD.
................
.HH.HH.HH.HH.HH.
.HD.HD.HD.HD.HD.
................
.HH.HH.HH.HH.HH.
.HD.HD.HD.HD.HD.
................
................
""",
    """
................
................
................
..............H.
.............HD.
............HD..
...........HD...
.HDD.......D....
................
.000000..000000.
.000000..000000.
""",
    """
.0000000000.....
.0wwwwwwww0.....
.0H0000000000...
.0H0wwwwwwww0...
.0H0H0000000000.
...0H0wwwwwwww0.
...0H0LLLLLLLL0.
.....0LLLLLLLL0.
.....0LLLLLLLL0.
.....0DDDDDDDDD.
................
""",
    """
.000000..000000.
.0wwww0..0wwww0.
.0LLLL0..0LLLL0.
.0LLLL0..0LLLL0.
.0DDDD0..0DDDD0.
................
.000000..000000.
.0wwww0..0wwww0.
.0LLLL0..0LLLL0.
.0LLLL0..0LLLL0.
.0DDDD0..0DDDD0.
""",
    """
.HHHHHHHHHHHHHH.
.H0000.0000000D.
.HLLLL.LLLLLLLD.
.H0000.0000000D.
.HLLLL.LLLLLLLD.
.H0000.0000000D.
.HLLLL.LLLLLLLD.
.H0000.0000000D.
.HLLLL.LLLLLLLD.
.DDDDDDDDDDDDDD.
................
""",
]

# Function-key faces, 160 x 16: the key fill shows through the middle; the
# faces are even along their width so that any key width can cut them.
def key_face(pressed):
    top = ['H', 'L'] if not pressed else ['D', 'd']
    bottom = ['d', 'D'] if not pressed else ['L', 'H']
    rows = []
    for y in range(16):
        if y < 2:
            rows.append(top[y] * 160)
        elif y >= 14:
            rows.append(bottom[y - 14] * 160)
        else:
            edge = 'HL' if not pressed else 'Dd'
            rows.append(edge + '.' * 158)
    return parse('\n'.join(rows))


# Lamps of the TASK, TOP and LOCK keys, 20 x 7: off and on.
LAMPS = [
    """
.....DDDDDDDDDD.....
....DkkkkkkkkkkD....
....DkkkkkkkkkkD....
....DkkkkkkkkkkD....
....DkkkkkkkkkkD....
.....DDDDDDDDDD.....
....................
""",
    """
.....dddddddddd.....
....dBBwwBBBBBBd....
....dBBBBBBBBBBd....
....dBBBBBBBBBBd....
....dkBBBBBBBBkd....
.....dddddddddd.....
....................
""",
]

# Folder combo images, 8 frames of 16 x 16: parent folder, current folder,
# subfolder, removable drive, fixed drive, CD-ROM, network drive, RAM disk.
COMBO = [
    """
................
................
..00000.........
.0yyyyy0........
.0yyyyyy0000000.
.0ywwwwwwwwwww0.
.0yw0yyyyyyyyy0.
.0yw00yyyyyyyy0.
.0yw000yyyyyyy0.
.0yw0yyyyyyyyy0.
.0yw0yyyyyyyyy0.
.0yyyyyyyyyyyo0.
.0ooooooooooooo0
..0000000000000.
................
................
""",
    """
................
................
..00000.........
.0yyyyy0........
.0yyyyyy0000000.
.0ywwwwwwwwwww0.
.0yw0000000000..
.0yw0yyyyyyyyyy0
.0y0yyyyyyyyyy0.
.0y0yyyyyyyyyy0.
.00yyyyyyyyyyo0.
.00yyyyyyyyyo0..
.0ooooooooooo0..
..00000000000...
................
................
""",
    """
................
................
................
..00000.........
.0yyyyy0........
.0yyyyyy0000000.
.0ywwwwwwwwwww0.
.0ywyyyyyyyyyy0.
.0ywyyyyyyyyyy0.
.0ywyyyyyyyyyy0.
.0ywyyyyyyyyyy0.
.0yyyyyyyyyyyo0.
.0ooooooooooooo0
..0000000000000.
................
................
""",
    """
................
................
................
................
..000000000000..
.0wwwwwwwwwwww0.
.0wLLLLLLLLLLd0.
.0wL00000000Ld0.
.0wLLLLLLLLLLd0.
.0wLLLLLLLLLLd0.
.0dddddddddddd0.
..000000000000..
................
................
................
................
""",
    """
................
................
................
................
................
..000000000000..
.0wwwwwwwwwwww0.
.0wLLLLLLLLLLd0.
.0wLLLLLLLrrLd0.
.0dddddddddddd0.
..000000000000..
................
................
................
................
................
""",
    """
................
.....000000.....
...00wwwwww00...
..0wwLLLLLLww0..
.0wLLLLLLLLLLw0.
.0wLLLL00LLLLw0.
0wLLLL0ww0LLLLd0
0wLLLL0ww0LLLLd0
.0LLLLL00LLLLd0.
.0LLLLLLLLLLLd0.
..0dLLLLLLLLd0..
...00dddddd00...
.....000000.....
................
................
................
""",
    """
................
................
................
..000000000000..
.0wwwwwwwwwwww0.
.0wLLLLLLLLrrd0.
.0dddddddddddd0.
..000000000000..
.......00.......
.......00.......
.......00.......
.0000000000000..
.0ttttttttttt0..
.0000000000000..
................
................
""",
    """
................
................
..000000000000..
..0tttttttttt0..
.00t00t00t00t00.
..0tttttttttt0..
.00t00t00t00t00.
..0tttttttttt0..
.00t00t00t00t00.
..0tttttttttt0..
..000000000000..
...0.0.0.0.0.0..
................
................
................
................
""",
]

# Copy mark of the drag image, 32 x 32: a plus in a box at the lower right.
def copy_mark():
    colour = [[0] * 32 for _ in range(32)]
    mask = [[1] * 32 for _ in range(32)]
    for y in range(20, 31):
        for x in range(20, 31):
            mask[y][x] = 0
            edge = x in (20, 30) or y in (20, 30)
            plus = (x == 25 and 22 <= y <= 28) or (y == 25 and 22 <= x <= 28)
            colour[y][x] = 0 if edge or plus else 15
    return colour, mask


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), '..', 'launcher', 'render', 'bitmaps')
    os.makedirs(out, exist_ok=True)
    files = {}
    # 8 x 8 checker pattern for press strips and the help popup's shadow.
    files['press_pattern_128.bmp'] = bmp1([[(x + y) % 2 for x in range(8)] for y in range(8)])
    files['combo_images_161.bmp'] = bmp4(strip([parse(f) for f in COMBO]))
    files['mode_glyphs_187.bmp'] = bmp4(strip([parse(f) for f in MODE_GLYPHS]))
    colour, mask = copy_mark()
    files['copy_mark_275.bmp'] = bmp4(colour)
    files['copy_mask_276.bmp'] = bmp1(mask)
    files['key_up_289.bmp'] = bmp4(key_face(False))
    files['key_down_290.bmp'] = bmp4(key_face(True))
    files['lamps_291.bmp'] = bmp4(strip([parse(f) for f in LAMPS]))
    # The strips again for larger screens; frames are scaled one by one so
    # that each keeps its exact width.
    for percent, step in SCALES.items():
        glyphs = strip([scaled(parse(f), percent) for f in MODE_GLYPHS])
        files['mode_glyphs_%d.bmp' % (187 + step)] = bmp4(glyphs)
        files['key_up_%d.bmp' % (289 + step)] = bmp4(scaled(key_face(False), percent))
        files['key_down_%d.bmp' % (290 + step)] = bmp4(scaled(key_face(True), percent))
        files['lamps_%d.bmp' % (291 + step)] = bmp4(strip([scaled(parse(f), percent) for f in LAMPS]))
    for name, data in files.items():
        with open(os.path.join(out, name), 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()
