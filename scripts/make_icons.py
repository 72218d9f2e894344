#!/usr/bin/env python3
"""Draws the launcher's own icons (the application, the default item, the
placeholder, the item decorations and the group and task marks) as 32x32
.ico files with a 16-colour and a 32-bit image each, and the bar's pointer
and the plain arrow as .cur files (the same format with the hot spot in each entry).
The application icon also carries 16, 24 and 48 pixel images (drawn four
times larger and reduced) and a 256 pixel PNG image for the shell's large views.

Run from anywhere: python3 scripts/make_icons.py [output folder]
(default: launcher/render/icons beside this script's project)."""
import math
import os
import struct
import sys
import zlib

SIZE = 32
PALETTE = [(0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
           (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
           (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
           (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF)]


class Canvas:
    """RGBA pixels, top row first; alpha 0 is transparent."""

    def __init__(self, size=SIZE):
        self.size = size
        self.px = [[(0, 0, 0, 0)] * size for _ in range(size)]

    def put(self, x, y, rgb, alpha=255):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.px[y][x] = (*rgb, alpha)

    def rect(self, x0, y0, x1, y1, rgb):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, rgb)

    def frame(self, x0, y0, x1, y1, rgb):
        for x in range(x0, x1):
            self.put(x, y0, rgb)
            self.put(x, y1 - 1, rgb)
        for y in range(y0, y1):
            self.put(x0, y, rgb)
            self.put(x1 - 1, y, rgb)

    def disc(self, cx, cy, r, rgb, ring=None):
        for y in range(SIZE):
            for x in range(SIZE):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                if d <= r and (ring is None or d >= r - ring):
                    self.put(x, y, rgb)

    def line(self, x0, y0, x1, y1, rgb, width=1):
        steps = int(max(abs(x1 - x0), abs(y1 - y0)) * 2) + 1
        for i in range(steps + 1):
            t = i / steps
            x, y = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
            for dy in range(width):
                for dx in range(width):
                    self.put(int(x) + dx, int(y) + dy, rgb)

    def soft_shadow(self):
        """A half-transparent shadow one pixel right and down of the shape,
        so the 32-bit image really uses alpha."""
        shadow = [(x + 1, y + 1) for y in range(SIZE) for x in range(SIZE) if self.px[y][x][3] == 255]
        for x, y in shadow:
            if x < SIZE and y < SIZE and self.px[y][x][3] == 0:
                self.px[y][x] = (0, 0, 0, 96)


def default_item():
    """A program window: blue caption, white client area, grey frame."""
    c = Canvas()
    c.rect(3, 5, 28, 27, (0xFF, 0xFF, 0xFF))
    c.rect(3, 5, 28, 10, (0x00, 0x00, 0x80))
    c.rect(24, 6, 27, 9, (0xC0, 0xC0, 0xC0))
    c.frame(3, 5, 28, 27, (0x80, 0x80, 0x80))
    for y in (13, 16, 19, 22):
        c.line(6, y, 20 if y != 19 else 16, y, (0x00, 0x80, 0x80))
    c.soft_shadow()
    return c


def placeholder():
    """A dashed square with a question mark: an item with nothing to show."""
    c = Canvas()
    for i in range(4, 28):
        if (i // 3) % 2 == 0:
            for x, y in ((i, 4), (i, 27), (4, i), (27, i)):
                c.put(x, y, (0x80, 0x80, 0x80))
    c.disc(16, 12.5, 5, (0x00, 0x00, 0xFF), ring=2)
    # open the ring's lower left quarter so it reads as a question mark
    for x in range(10, 16):
        for y in range(12, 18):
            if c.px[y][x][3] and y > 12:
                c.px[y][x] = (0, 0, 0, 0)
    c.rect(15, 17, 18, 21, (0x00, 0x00, 0xFF))
    c.rect(15, 23, 18, 26, (0x00, 0x00, 0xFF))
    return c


def prompt_badge():
    """A yellow prompt box with '>_' in the top left: the item asks for parameters."""
    c = Canvas()
    c.rect(0, 0, 16, 12, (0xFF, 0xFF, 0x00))
    c.frame(0, 0, 16, 12, (0x00, 0x00, 0x00))
    c.line(3, 3, 6, 6, (0, 0, 0))
    c.line(6, 6, 3, 9, (0, 0, 0))
    c.line(8, 9, 13, 9, (0, 0, 0))
    c.soft_shadow()
    return c


def explorer_badge():
    """A yellow folder with a tab in the top left: opened in Explorer."""
    c = Canvas()
    c.rect(0, 1, 7, 4, (0x80, 0x80, 0x00))
    c.rect(0, 3, 16, 13, (0xFF, 0xFF, 0x00))
    c.frame(0, 3, 16, 13, (0x80, 0x80, 0x00))
    c.line(1, 5, 14, 5, (0xFF, 0xFF, 0xFF))
    c.soft_shadow()
    return c


def find_badge():
    """A magnifying glass in the top left: the folder is searched."""
    c = Canvas()
    c.disc(6.5, 6.5, 6, (0xC0, 0xC0, 0xC0))
    c.disc(6.5, 6.5, 6, (0x00, 0x00, 0x80), ring=2)
    c.line(10, 10, 14, 14, (0x80, 0x00, 0x00), width=2)
    c.soft_shadow()
    return c


class ScaledCanvas(Canvas):
    """A canvas k times the 32-pixel grid: rectangles and frames are given in
    grid units, frames are k pixels wide."""

    def __init__(self, k):
        super().__init__(SIZE * k)
        self.k = k

    def rect(self, x0, y0, x1, y1, rgb):
        k = self.k
        super().rect(x0 * k, y0 * k, x1 * k, y1 * k, rgb)

    def frame(self, x0, y0, x1, y1, rgb):
        self.rect(x0, y0, x1, y0 + 1, rgb)
        self.rect(x0, y1 - 1, x1, y1, rgb)
        self.rect(x0, y0, x0 + 1, y1, rgb)
        self.rect(x1 - 1, y0, x1, y1, rgb)

    def soft_shadow(self):
        n, k = self.size, self.k
        shadow = [(x + k, y + k) for y in range(n) for x in range(n) if self.px[y][x][3] == 255]
        for x, y in shadow:
            if x < n and y < n and self.px[y][x][3] == 0:
                self.px[y][x] = (0, 0, 0, 96)


def reduced(canvas, factor):
    """The canvas made factor times smaller, each pixel the alpha-weighted mean of its block."""
    n = canvas.size // factor
    out = Canvas(n)
    for y in range(n):
        for x in range(n):
            block = [canvas.px[y * factor + j][x * factor + i] for j in range(factor) for i in range(factor)]
            alpha = sum(p[3] for p in block)
            if alpha == 0:
                continue
            rgb = tuple(round(sum(p[c] * p[3] for p in block) / alpha) for c in range(3))
            out.px[y][x] = (*rgb, round(alpha / len(block)))
    return out


def draw_application(c):
    """The bar itself: a dark frame with a row of tabs and a grid of coloured buttons."""
    c.rect(4, 2, 28, 30, (0x40, 0x60, 0x90))
    c.frame(4, 2, 28, 30, (0x00, 0x00, 0x80))
    c.rect(6, 4, 26, 8, (0xC0, 0xC0, 0xC0))
    c.rect(6, 4, 13, 8, (0xFF, 0xFF, 0x00))
    colours = [(0xFF, 0x00, 0x00), (0x00, 0xC0, 0x00), (0x00, 0xFF, 0xFF),
               (0xFF, 0x80, 0x00), (0xFF, 0xFF, 0xFF), (0xFF, 0x00, 0xFF)]
    for i, rgb in enumerate(colours):
        x, y = 7 + (i % 3) * 6, 11 + (i // 3) * 7
        c.rect(x, y, x + 5, y + 5, rgb)
        c.frame(x, y, x + 5, y + 5, (0x00, 0x00, 0x00))
    c.rect(6, 25, 26, 28, (0x80, 0x80, 0x80))
    c.soft_shadow()
    return c


def application():
    return draw_application(Canvas())


def application_sizes():
    """The 32-pixel drawing as it is, the other sizes drawn larger and reduced."""
    images = {32: application(), 256: draw_application(ScaledCanvas(8))}
    for size in (16, 24, 48):
        images[size] = reduced(draw_application(ScaledCanvas(size * 4 // SIZE)), 4)
    return images


def startup_mark():
    """A green 'play' triangle in a white disc: the group starts with the launcher."""
    c = Canvas()
    c.disc(7.5, 7.5, 7, (0xFF, 0xFF, 0xFF))
    c.disc(7.5, 7.5, 7, (0x00, 0x80, 0x00), ring=1.5)
    for y in range(3, 13):
        half = (5 - abs(y - 7.5)) * 0.9
        for x in range(5, 5 + int(half * 2) + 1):
            c.put(x, y, (0x00, 0xC0, 0x00))
    c.soft_shadow()
    return c


def group_mark():
    """A folder tab over a grid of buttons: a group."""
    c = Canvas()
    c.rect(3, 5, 13, 9, (0x80, 0x80, 0x00))
    c.rect(3, 8, 29, 27, (0xFF, 0xFF, 0x80))
    c.frame(3, 8, 29, 27, (0x80, 0x80, 0x00))
    for i in range(6):
        x, y = 6 + (i % 3) * 7, 11 + (i // 3) * 7
        c.rect(x, y, x + 5, y + 5, (0x00, 0x00, 0x80))
    c.soft_shadow()
    return c


def task_mark():
    """Two stacked program windows: the task list."""
    c = Canvas()
    for dx, dy, caption in ((8, 2, (0x80, 0x80, 0x80)), (2, 10, (0x00, 0x00, 0x80))):
        c.rect(dx, dy, dx + 22, dy + 18, (0xFF, 0xFF, 0xFF))
        c.rect(dx, dy, dx + 22, dy + 4, caption)
        c.frame(dx, dy, dx + 22, dy + 18, (0x40, 0x40, 0x40))
    c.soft_shadow()
    return c


def inside(polygon, x, y):
    """Even-odd rule for the pixel centre."""
    px, py, hit = x + 0.5, y + 0.5, False
    for (x0, y0), (x1, y1) in zip(polygon, polygon[1:] + polygon[:1]):
        if (y0 > py) != (y1 > py) and px < x0 + (py - y0) * (x1 - x0) / (y1 - y0):
            hit = not hit
    return hit


ARROW = [(1, 1), (1, 22), (6, 17.5), (10, 26.5), (13.5, 25), (9.5, 16), (16, 16)]
POINTER_HOT_SPOT = (1, 1)


def edged_arrow():
    """A white arrow edged in black: every arrow pixel with a neighbour outside it."""
    c = Canvas()
    for y in range(SIZE):
        for x in range(SIZE):
            if inside(ARROW, x, y):
                c.put(x, y, (0xFF, 0xFF, 0xFF))
    edge = [(x, y) for y in range(SIZE) for x in range(SIZE) if c.px[y][x][3] and
            any(not (0 <= x + dx < SIZE and 0 <= y + dy < SIZE) or not c.px[y + dy][x + dx][3]
                for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))]
    for x, y in edge:
        c.put(x, y, (0, 0, 0))
    return c


def bar_pointer():
    """The bar's pointer: the arrow whose tail carries a small teal button
    with a yellow lamp, as on the bar."""
    c = edged_arrow()
    c.rect(17, 20, 28, 29, (0x00, 0x80, 0x80))
    c.frame(17, 20, 28, 29, (0x00, 0x00, 0x00))
    c.line(18, 21, 26, 21, (0x80, 0xFF, 0xFF))
    c.rect(20, 23, 25, 26, (0xFF, 0xFF, 0x00))
    c.soft_shadow()
    return c


def arrow_pointer():
    """The pointer the timing options draw where the bar will open: the bar's
    arrow without its button."""
    c = edged_arrow()
    c.soft_shadow()
    return c


def nearest_index(rgb):
    return min(range(16), key=lambda i: sum((a - b) ** 2 for a, b in zip(PALETTE[i], rgb)))


def and_mask(canvas, opaque):
    """Bottom-up 1-bit rows padded to 4 bytes; 1 = transparent."""
    n = canvas.size
    stride = (n + 31) // 32 * 4
    rows = []
    for y in reversed(range(n)):
        bits = 0
        for x in range(n):
            if not opaque(canvas.px[y][x]):
                bits |= 1 << (stride * 8 - 1 - x)
        rows.append(bits.to_bytes(stride, 'big'))
    return b''.join(rows)


def image_4bit(canvas):
    n = canvas.size
    header = struct.pack('<IiiHHIIiiII', 40, n, n * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('BBBB', b, g, r, 0) for r, g, b in PALETTE)
    rows = []
    for y in reversed(range(n)):
        row = bytearray((n + 7) // 8 * 4)
        for x in range(n):
            p = canvas.px[y][x]
            index = nearest_index(p[:3]) if p[3] >= 128 else 0
            row[x // 2] |= index << 4 if x % 2 == 0 else index
        rows.append(bytes(row))
    return header + palette + b''.join(rows) + and_mask(canvas, lambda p: p[3] >= 128)


def image_32bit(canvas):
    n = canvas.size
    header = struct.pack('<IiiHHIIiiII', 40, n, n * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    for y in reversed(range(n)):
        rows.append(b''.join(struct.pack('BBBB', p[2], p[1], p[0], p[3]) for p in canvas.px[y]))
    return header + b''.join(rows) + and_mask(canvas, lambda p: p[3] > 0)


def png(canvas):
    """The canvas as a PNG file (RGBA, no filtering), as icons keep their 256-pixel image."""
    n = canvas.size
    raw = b''.join(b'\0' + b''.join(bytes(p) for p in canvas.px[y]) for y in range(n))

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', n, n, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def ico(canvas, hot_spot=None, more=None):
    """An icon file, or with a hot spot a cursor file: type 2, and the hot
    spot where an icon entry keeps its planes and bit count. more: further
    sizes of an icon, each a canvas (256: stored as PNG, others 32-bit)."""
    images = [(SIZE, 16, 4, image_4bit(canvas)), (SIZE, 0, 32, image_32bit(canvas))]
    for size, extra in sorted((more or {}).items()):
        images.append((size, 0, 32, png(extra) if size >= 256 else image_32bit(extra)))
    out = struct.pack('<HHH', 0, 1 if hot_spot is None else 2, len(images))
    offset = 6 + 16 * len(images)
    for size, colours, bits, data in images:
        fields = (1, bits) if hot_spot is None else hot_spot
        out += struct.pack('<BBBBHHII', size % 256, size % 256, colours, 0, *fields, len(data), offset)
        offset += len(data)
    return out + b''.join(data for _, _, _, data in images)


ICONS = {101: ('application.ico', application), 102: ('group_mark.ico', group_mark),
         103: ('task_mark.ico', task_mark), 373: ('startup_mark.ico', startup_mark),
         188: ('default_item.ico', default_item), 199: ('placeholder.ico', placeholder),
         204: ('prompt_badge.ico', prompt_badge), 216: ('explorer_badge.ico', explorer_badge),
         245: ('find_badge.ico', find_badge)}
CURSORS = {178: ('bar_pointer.cur', bar_pointer, POINTER_HOT_SPOT),
           227: ('arrow_pointer.cur', arrow_pointer, POINTER_HOT_SPOT)}


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'launcher', 'render', 'icons')
    os.makedirs(folder, exist_ok=True)
    for resource, (name, draw) in sorted(ICONS.items()):
        more = None
        if draw is application:
            more = {size: image for size, image in application_sizes().items() if size != SIZE}
        with open(os.path.join(folder, name), 'wb') as f:
            f.write(ico(draw(), more=more))
        print(f'{resource} {name}')
    for resource, (name, draw, hot_spot) in sorted(CURSORS.items()):
        with open(os.path.join(folder, name), 'wb') as f:
            f.write(ico(draw(), hot_spot))
        print(f'{resource} {name}')


if __name__ == '__main__':
    main()
