#!/usr/bin/env python3
"""Draws the folder tree's eight 16x16 images as 24-bit bitmaps on white (the
image list masks white out).

Usage: make_tree_bitmaps.py OUTPUT_FOLDER
Writes DIRCLOSE.bmp DIROPEN.bmp COMPUTER.bmp HARDDISK.bmp CDROMDISK.bmp
FLOPPYDISK.bmp RAMDISK.bmp REMOTEDISK.bmp.
"""
import os
import struct
import sys

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
GREY = (128, 128, 128)
SILVER = (192, 192, 192)
YELLOW = (255, 204, 51)
DARKYELLOW = (204, 153, 0)
BLUE = (0, 64, 160)
CYAN = (0, 160, 200)
GREEN = (0, 160, 0)


def box(px, x0, y0, x1, y1, fill, edge=BLACK):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            px[y][x] = edge if x in (x0, x1) or y in (y0, y1) else fill


def folder(px, open_):
    box(px, 1, 3, 6, 5, YELLOW, DARKYELLOW)
    box(px, 1, 5, 14, 13, YELLOW, DARKYELLOW)
    if open_:
        for y in range(8, 14):
            for x in range(3 + (13 - y) // 2, 15):
                px[y][x] = DARKYELLOW if y in (8, 13) else (255, 230, 140)


def drive(px, light):
    box(px, 1, 6, 14, 11, SILVER)
    px[9][11] = light
    px[9][12] = light


def draw(name):
    px = [[WHITE] * 16 for _ in range(16)]
    if name == "DIRCLOSE":
        folder(px, False)
    elif name == "DIROPEN":
        folder(px, True)
    elif name == "COMPUTER":
        box(px, 2, 1, 13, 10, SILVER)
        box(px, 4, 3, 11, 8, CYAN)
        box(px, 1, 12, 14, 14, SILVER)
    elif name == "HARDDISK":
        drive(px, GREEN)
    elif name == "CDROMDISK":
        for y in range(16):
            for x in range(16):
                d = (x - 7.5) ** 2 + (y - 7.5) ** 2
                if d <= 49:
                    px[y][x] = BLACK if d > 42 else (WHITE if d < 4 else SILVER)
    elif name == "FLOPPYDISK":
        box(px, 2, 2, 13, 13, BLUE)
        box(px, 5, 2, 10, 6, SILVER)
        box(px, 4, 9, 11, 13, WHITE)
    elif name == "RAMDISK":
        box(px, 1, 5, 14, 10, GREEN)
        for x in range(2, 14, 2):
            px[11][x] = DARKYELLOW
    elif name == "REMOTEDISK":
        drive(px, GREEN)
        for y in range(12, 16):
            px[y][7] = BLACK
        for x in range(3, 13):
            px[15][x] = BLACK
    return px


def write_bmp(path, px):
    rows = b""
    for y in range(15, -1, -1):  # bottom-up
        rows += b"".join(struct.pack("BBB", b, g, r) for (r, g, b) in px[y])
    header = struct.pack("<2sIHHI", b"BM", 54 + len(rows), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, 16, 16, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + rows)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name in ("DIRCLOSE", "DIROPEN", "COMPUTER", "HARDDISK", "CDROMDISK", "FLOPPYDISK", "RAMDISK",
                 "REMOTEDISK"):
        write_bmp(os.path.join(out, name + ".bmp"), draw(name))


if __name__ == "__main__":
    main()
