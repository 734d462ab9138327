#!/usr/bin/env python3
"""Draws the program's icon, a yellow tag with a note on it, and writes it as
id3edit.ico: the 16 x 16 image of the 16 standard colours, and the same
picture in 32-bit colour with an alpha channel at 16, 20, 24, 32, 48 and 256
pixels (the last one PNG-compressed, as Windows expects at that size), so
that the shell and a window on a screen of any DPI find a sharp one. Run it
after changing the picture; its output is committed beside it."""
import math
import os
import struct
import zlib

# The 16 standard colours, by index.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
# '.' is transparent.
INK = {"8": 8, "Y": 11, "B": 4}
PICTURE = [
    "................",
    "....88888888888.",
    "...8YYYYYYYYYYY8",
    "..8YYYYYYYYBBBY8",
    ".8YYYYYYYYYBYBB8",
    "8YY..YYYYYYBYYB8",
    "8YY..YYYYYYBYYY8",
    ".8YYYYYYYYYBYYY8",
    "..8YYYYYYBBBYYY8",
    "...8YYYYBBBBYYY8",
    "....8YYYYBBYYYY8",
    "....88888888888.",
    "................",
    "................",
    "................",
    "................",
]
SIZE = 16
TRUE_COLOUR_SIZES = [16, 20, 24, 32, 48, 256]

# The same picture as shapes, in the 16-unit square of the pixel art.
GREY, YELLOW, BLUE = PALETTE[8], PALETTE[11], PALETTE[4]
TAG = [(4.0, 1.0), (16.0, 1.0), (16.0, 12.0), (4.0, 12.0), (0.0, 6.5)]
HOLE = (4.0, 6.5, 1.0)
STEM = [(11.0, 3.0), (12.0, 3.0), (12.0, 9.5), (11.0, 9.5)]
FLAG = [(11.0, 3.0), (14.0, 3.0), (15.5, 4.5), (15.5, 6.0), (14.5, 6.0), (14.5, 5.0), (13.0, 4.0),
        (11.0, 4.0)]
HEAD = (10.5, 9.7, 1.9, 1.3)


def image_bytes():
    assert len(PICTURE) == SIZE and all(len(row) == SIZE for row in PICTURE)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    xor = bytearray()
    mask = bytearray()
    # Bitmaps in an icon run from the bottom row up.
    for row in reversed(PICTURE):
        indexes = [INK.get(c, 0) for c in row]
        xor += bytes((indexes[i] << 4) | indexes[i + 1] for i in range(0, SIZE, 2))
        bits = 0
        for c in row:
            bits = (bits << 1) | (1 if c == "." else 0)
        # Mask rows are padded to four bytes.
        mask += struct.pack(">HH", bits, 0)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, len(xor) + len(mask),
                         0, 0, 16, 0)
    return header + colours + bytes(xor) + bytes(mask)


def inside(polygon, x, y):
    hit = False
    for (x1, y1), (x2, y2) in zip(polygon, polygon[1:] + polygon[:1]):
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            hit = not hit
    return hit


def edge_distance(polygon, x, y):
    best = math.inf
    for (x1, y1), (x2, y2) in zip(polygon, polygon[1:] + polygon[:1]):
        dx, dy = x2 - x1, y2 - y1
        t = max(0.0, min(1.0, ((x - x1) * dx + (y - y1) * dy) / (dx * dx + dy * dy)))
        best = min(best, math.hypot(x - x1 - t * dx, y - y1 - t * dy))
    return best


def colour_at(x, y, border):
    """The colour of the picture at a point of the 16-unit square, or None."""
    hx, hy, hr = HOLE
    hole = math.hypot(x - hx, y - hy)
    if not inside(TAG, x, y) or hole < hr:
        return None
    if edge_distance(TAG, x, y) < border or hole < hr + border:
        return GREY
    ex, ey, rx, ry = HEAD
    if inside(STEM, x, y) or inside(FLAG, x, y) or ((x - ex) / rx) ** 2 + ((y - ey) / ry) ** 2 < 1:
        return BLUE
    return YELLOW


def true_colour_pixels(size):
    """Rows of (r, g, b, a), top row first, each pixel averaged over samples."""
    samples = 4 if size > 64 else 8
    scale = 16.0 / size
    # The outline stays about one pixel wide at the small sizes.
    border = max(scale, 0.6)
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0
            for sy in range(samples):
                for sx in range(samples):
                    c = colour_at((px + (sx + 0.5) / samples) * scale,
                                  (py + (sy + 0.5) / samples) * scale, border)
                    if c:
                        r, g, b, a = r + c[0], g + c[1], b + c[2], a + 1
            n = samples * samples
            row.append((r // a, g // a, b // a, 255 * a // n) if a else (0, 0, 0, 0))
        rows.append(row)
    return rows


def dib_bytes(size, rows):
    xor = b"".join(struct.pack("<BBBB", b, g, r, a) for row in reversed(rows) for r, g, b, a in row)
    stride = (size + 31) // 32 * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask),
                         0, 0, 0, 0)
    return header + xor + bytes(mask)


def png_bytes(size, rows):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(
            ">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    images = [(SIZE, 16, 4, image_bytes())]
    for size in TRUE_COLOUR_SIZES:
        rows = true_colour_pixels(size)
        data = png_bytes(size, rows) if size == 256 else dib_bytes(size, rows)
        images.append((size, 0, 32, data))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries, blobs = b"", b""
    for size, colours, bits, data in images:
        # A width or height of 256 is written as 0.
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bits, len(data),
                               offset + len(blobs))
        blobs += data
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "id3edit.ico")
    with open(out, "wb") as f:
        f.write(directory + entries + blobs)


if __name__ == "__main__":
    main()
