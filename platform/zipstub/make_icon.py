#!/usr/bin/env python3
"""Writes the self-extractor's icon: one 32x32 image in 16 colours, 766 bytes.

Usage: make_icon.py OUTPUT.ico
"""
import struct
import sys

W = H = 32
# The standard 16-colour palette.
PALETTE = [  # red, green, blue
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def pixel(x, y):
    """A box with a lid and a zipper down its middle; y counts from the top."""
    if x < 3 or x > 28 or y < 4 or y > 29:
        return None  # transparent
    if x in (3, 28) or y in (4, 29) or y == 10:
        return 0  # outline
    if 14 <= x <= 17 and y > 10:
        return 8 if (y % 2 == 0) == (x < 16) else 7  # zipper teeth
    return 11 if y < 10 else 3  # lid, body


def main():
    out = sys.argv[1]
    xor = bytearray()
    andmask = bytearray()
    for row in range(H):
        y = H - 1 - row  # bitmaps run bottom-up
        line = bytearray()
        mask = 0
        for x in range(W):
            p = pixel(x, y)
            nibble = 0 if p is None else p
            if x % 2 == 0:
                line.append(nibble << 4)
            else:
                line[-1] |= nibble
            mask = (mask << 1) | (1 if p is None else 0)
        xor += line
        andmask += struct.pack(">I", mask)
    header = struct.pack("<IiiHHIIiiII", 40, W, H * 2, 1, 4, 0, len(xor) + len(andmask), 0, 0, 0, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    image = header + palette + bytes(xor) + bytes(andmask)
    assert len(image) == 744, len(image)
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", W, H, 16, 0, 1, 4, len(image), 6 + 16)
    data = icondir + entry + image
    assert len(data) == 766
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
