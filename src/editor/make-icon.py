#!/usr/bin/env python3
"""Draws the program's icon, a yellow tag with a note on it, and writes it as
id3edit.ico: one 16 x 16 image of the 16 standard colours. Run it after
changing the picture; its output is committed beside it."""
import os
import struct

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


def main():
    image = image_bytes()
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "id3edit.ico")
    with open(out, "wb") as f:
        f.write(directory + entry + image)


if __name__ == "__main__":
    main()
