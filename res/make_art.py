#!/usr/bin/env python3
"""Draws the program's icons and cursors and writes them as .ico and .cur files.

Standard library only, so that the artwork can be rebuilt on any machine with Python 3:
    python3 res/make_art.py          (writes next to this script)

The motif is a stack of vellum sheets held together by a clip: files joined into one.
Icons are 32-bit with alpha plus the 1-bit mask older systems draw with; the shapes are
rendered at 4x4 samples per pixel for smooth edges. Cursors are 32x32 monochrome, which
every Windows version shows, and share one hot spot (the arrow tip) so that the pointer
does not jump when the list switches between them during a drag.
"""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
SAMPLES = 4  # per axis, per pixel

# Colours as (r, g, b).
VELLUM = (0xF6, 0xEE, 0xD4)
VELLUM_SHADE = (0xE2, 0xD4, 0xAE)
VELLUM_BACK = (0xD6, 0xC6, 0x9C)
INK = (0x3A, 0x32, 0x28)
RULE = (0x9A, 0x8C, 0x6E)
CLIP = (0xB0, 0x2E, 0x26)
CLIP_DARK = (0x6E, 0x16, 0x12)
ARROW = (0x2E, 0x7D, 0x32)


# --- Shapes: each answers whether a point (in pixel units of the target size) is inside.

def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def frame(x0, y0, x1, y1, w):
    outer, inner = rect(x0, y0, x1, y1), rect(x0 + w, y0 + w, x1 - w, y1 - w)
    return lambda x, y: outer(x, y) and not inner(x, y)


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 < r * r


def ring(cx, cy, r, w):
    return lambda x, y: (r - w) ** 2 <= (x - cx) ** 2 + (y - cy) ** 2 < r * r


def segment(ax, ay, bx, by, w):
    """A thick line from a to b with flat ends."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = ((x - ax) * dx + (y - ay) * dy) / length2
        if t < 0 or t > 1:
            return False
        px, py = ax + t * dx - x, ay + t * dy - y
        return px * px + py * py < (w / 2) ** 2
    return inside


def polygon(points):
    """Even-odd fill of a closed polygon."""
    def inside(x, y):
        result = False
        n = len(points)
        for i in range(n):
            (x0, y0), (x1, y1) = points[i], points[(i + 1) % n]
            if (y0 > y) != (y1 > y) and x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
                result = not result
        return result
    return inside


# --- Icons: 32-bit BGRA rendered from layers of (shape, colour), back to front.

def render(size, layers):
    """Pixels as rows of (r, g, b, a), top row first; a shape's coverage becomes alpha."""
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0.0
            for shape, colour in layers:
                hits = 0
                for sy in range(SAMPLES):
                    for sx in range(SAMPLES):
                        if shape(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES):
                            hits += 1
                cover = hits / (SAMPLES * SAMPLES)
                if cover == 0:
                    continue
                # "Over" compositing with premultiplied sums.
                r = colour[0] * cover + r * (1 - cover)
                g = colour[1] * cover + g * (1 - cover)
                b = colour[2] * cover + b * (1 - cover)
                a = cover + a * (1 - cover)
            if a > 0:
                row.append((round(r / a), round(g / a), round(b / a), round(a * 255)))
            else:
                row.append((0, 0, 0, 0))
        pixels.append(row)
    return pixels


def sheet(layers, x0, y0, x1, y1, s, fill, lines):
    """One sheet with an ink edge and, optionally, ruled text lines."""
    layers.append((rect(x0, y0, x1, y1), INK))
    layers.append((rect(x0 + s, y0 + s, x1 - s, y1 - s), fill))
    if lines:
        step = max(2.0, (y1 - y0) / 7)
        y = y0 + step * 1.6
        while y < y1 - step:
            layers.append((rect(x0 + 3 * s, y, x1 - 3 * s, y + s), RULE))
            y += step


def program_layers(n):
    """Three stacked sheets, the front one ruled, a red clip across their top edge."""
    if n < 24:
        return small_program_layers()
    u = n / 32.0  # drawn on a 32-unit grid, scaled to n pixels
    s = max(1.0, u)  # line width never thinner than a pixel
    layers = []
    sheet(layers, 11 * u, 2 * u, 29 * u, 24 * u, s, VELLUM_BACK, False)
    sheet(layers, 7 * u, 5 * u, 25 * u, 27 * u, s, VELLUM_SHADE, False)
    sheet(layers, 3 * u, 8 * u, 21 * u, 30 * u, s, VELLUM, True)
    # The clip: a bar that crosses all three sheets, with a dark spine.
    layers.append((polygon([(9 * u, 3 * u), (15 * u, 3 * u), (15 * u, 13 * u), (9 * u, 13 * u)]),
                   CLIP_DARK))
    layers.append((rect(10 * u, 4 * u, 14 * u, 12 * u), CLIP))
    layers.append((rect(11 * u, 5 * u, 13 * u, 7 * u), CLIP_DARK))
    return layers


def small_program_layers():
    """At 16 pixels two sheets on whole pixels read better than three blurred ones."""
    layers = []
    sheet(layers, 5, 0, 16, 12, 1, VELLUM_SHADE, False)
    sheet(layers, 0, 3, 11, 16, 1, VELLUM, False)
    for y in (8, 10, 12):
        layers.append((rect(2, y, 9, y + 1), RULE))
    layers.append((rect(3, 1, 8, 7), CLIP_DARK))
    layers.append((rect(4, 2, 7, 6), CLIP))
    return layers


def tray_layers(n):
    """Two sheets and a green arrow into a third: a join in progress, legible at 16 px."""
    u = n / 16.0
    s = max(1.0, u)
    layers = []
    sheet(layers, 0, 0, 7 * u, 7 * u, s, VELLUM_SHADE, False)
    sheet(layers, 0, 9 * u, 7 * u, 16 * u, s, VELLUM_SHADE, False)
    sheet(layers, 9 * u, 1 * u, 16 * u, 15 * u, s, VELLUM, False)
    for y in (5, 8, 11):
        layers.append((rect(11 * u, y * u, 14 * u, y * u + s), RULE))
    layers.append((polygon([(4 * u, 6.5 * u), (8 * u, 6.5 * u), (8 * u, 4.5 * u),
                            (12 * u, 8 * u), (8 * u, 11.5 * u), (8 * u, 9.5 * u),
                            (4 * u, 9.5 * u)]), ARROW))
    return layers


def dib_image(pixels):
    """BITMAPINFOHEADER, bottom-up BGRA rows, then the AND mask (1 = transparent)."""
    n = len(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes((b, g, r, a)) for row in reversed(pixels) for (r, g, b, a) in row)
    stride = ((n + 31) // 32) * 4
    mask = b""
    for row in reversed(pixels):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + colour + mask


def write_ico(path, layers_for, sizes):
    images = [dib_image(render(n, layers_for(n))) for n in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, image in zip(sizes, images):
        out += struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


# --- Cursors: 32x32 monochrome from a character picture.
# '#' black, 'o' white, anything else transparent.

ARROW_PICTURE = [
    "#",
    "##",
    "#o#",
    "#oo#",
    "#ooo#",
    "#oooo#",
    "#ooooo#",
    "#oooooo#",
    "#ooooooo#",
    "#oooooooo#",
    "#ooooo#####",
    "#oo#oo#",
    "#o# #oo#",
    "##  #oo#",
    "#    #oo#",
    "     #oo#",
    "      ##",
]


def picture(rows, at=(0, 0), into=None):
    grid = into if into is not None else [[" "] * 32 for _ in range(32)]
    ox, oy = at
    for y, row in enumerate(rows):
        for x, c in enumerate(row):
            if c in "#o" and 0 <= oy + y < 32 and 0 <= ox + x < 32:
                grid[oy + y][ox + x] = c
    return grid


def paint(grid, shape, c):
    for y in range(32):
        for x in range(32):
            if shape(x + 0.5, y + 0.5):
                grid[y][x] = c


def drag_grid():
    """The arrow carrying a ruled sheet: an entry being moved."""
    grid = picture(ARROW_PICTURE)
    paint(grid, frame(10, 17, 23, 31, 1), "#")
    paint(grid, rect(11, 18, 22, 30), "o")
    for y in (21, 24, 27):
        paint(grid, rect(13, y, 20, y + 1), "#")
    return grid


def nodrop_grid():
    """The arrow with a no-entry sign beside it: the place under it takes no drop."""
    grid = picture(ARROW_PICTURE)
    cx, cy, r = 20.5, 20.5, 8.0
    # White halo first so the sign stays visible on dark and light backgrounds alike.
    paint(grid, disc(cx, cy, r + 1), "o")
    paint(grid, ring(cx, cy, r, 2.5), "#")
    paint(grid, segment(cx - 5.2, cy - 5.2, cx + 5.2, cy + 5.2, 2.6), "#")
    return grid


def write_cur(path, grid, hotspot):
    """CUR with one 32x32 1-bit image: AND 1/XOR 0 transparent, AND 0/XOR 0 black,
    AND 0/XOR 1 white."""
    xor_rows, and_rows = [], []
    for row in reversed(grid):
        xor_bits, and_bits = bytearray(4), bytearray(4)
        for x, c in enumerate(row):
            bit = 0x80 >> (x % 8)
            if c == "o":
                xor_bits[x // 8] |= bit
            elif c != "#":
                and_bits[x // 8] |= bit
        xor_rows.append(bytes(xor_bits))
        and_rows.append(bytes(and_bits))
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, 0, 0, 0, 2, 2)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    image = header + palette + b"".join(xor_rows) + b"".join(and_rows)
    out = struct.pack("<HHH", 0, 2, 1)
    out += struct.pack("<BBBBHHII", 32, 32, 2, 0, hotspot[0], hotspot[1], len(image), 22)
    with open(path, "wb") as f:
        f.write(out + image)


def main():
    write_ico(os.path.join(HERE, "vellumor.ico"), program_layers, [16, 32, 48])
    write_ico(os.path.join(HERE, "tray.ico"), tray_layers, [16, 32])
    write_cur(os.path.join(HERE, "drag.cur"), drag_grid(), (0, 0))
    write_cur(os.path.join(HERE, "nodrop.cur"), nodrop_grid(), (0, 0))


if __name__ == "__main__":
    main()
