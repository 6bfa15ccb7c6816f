#!/usr/bin/env python3
"""Draws the installer dialog bitmaps of the program directory.

    make_bitmaps.py OUTPUT_DIR

writes four uncompressed 24-bit bottom-up BMP files:

  banner.template.bmp   493 x 58   background of the dialog banner; the build
                                   draws the publisher's banner bitmap (or
                                   banner.bmp) on it at (440, 6)
  welcome.template.bmp  493 x 312  background of the welcome and end dialogs;
                                   the build draws the publisher's welcome
                                   bitmap at (0, 0) or welcome.bmp at (2, 76)
  banner.bmp             48 x 48   default banner logo
  welcome.bmp           160 x 160  default welcome logo, drawn over the
                                   template's left strip so that it blends in

Only the standard library is used, so the build needs nothing but python3.
"""
import struct
import sys
from pathlib import Path

WHITE = (255, 255, 255)
STRIP_WIDTH = 164            # left strip of the welcome template
STRIP_TOP = (16, 52, 110)    # strip colour at the top ...
STRIP_BOTTOM = (70, 130, 200)  # ... and at the bottom
WELCOME_LOGO_AT = (2, 76)    # where the build places welcome.bmp
WELCOME_HEIGHT = 312


def mix(a, b, t):
    """Colour between a (t = 0) and b (t = 1)."""
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def write_bmp(path, width, height, pixel):
    """Writes pixel(x, y) -> (r, g, b), y counted from the top."""
    row_size = (width * 3 + 3) & ~3
    image = bytearray()
    for y in range(height - 1, -1, -1):        # BMP rows run bottom-up
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        image += row
    header_size = 14 + 40
    file_header = struct.pack("<2sIHHI", b"BM", header_size + len(image), 0, 0, header_size)
    info_header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(image),
                              2835, 2835, 0, 0)
    Path(path).write_bytes(file_header + info_header + image)


def strip_colour(y):
    return mix(STRIP_TOP, STRIP_BOTTOM, y / (WELCOME_HEIGHT - 1))


def banner_template(x, y):
    # White, fading to a pale blue towards the right edge behind the logo.
    if x < 380:
        return WHITE
    return mix(WHITE, (214, 228, 245), (x - 380) / 112)


def welcome_template(x, y):
    if x < STRIP_WIDTH:
        return strip_colour(y)
    if x < STRIP_WIDTH + 2:                   # thin light edge of the strip
        return (200, 214, 235)
    return WHITE


def package_emblem(x, y, size, background):
    """A closed box seen from the front: lid, body and a band round it."""
    m = size // 8                               # margin
    left, right = m, size - m - 1
    lid_top, lid_bottom = m, m + size // 4
    body_bottom = size - m - 1
    band_half = max(1, size // 16)
    centre = size // 2
    inside = left <= x <= right
    if inside and lid_top <= y <= lid_bottom:
        if abs(x - centre) <= band_half:
            return (200, 40, 40)
        return (240, 196, 120) if y > lid_top + 1 else (150, 100, 40)
    if inside and lid_bottom < y <= body_bottom:
        if abs(x - centre) <= band_half:
            return (200, 40, 40)
        if x in (left, right) or y == body_bottom:
            return (150, 100, 40)
        return (222, 170, 96)
    return background(x, y)


def banner_logo(x, y):
    return package_emblem(x, y, 48, lambda bx, by: banner_template(440 + bx, 6 + by))


def welcome_logo(x, y):
    ox, oy = WELCOME_LOGO_AT
    return package_emblem(x, y, 160, lambda bx, by: welcome_template(ox + bx, oy + by))


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_bitmaps.py OUTPUT_DIR")
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    write_bmp(out / "banner.template.bmp", 493, 58, banner_template)
    write_bmp(out / "welcome.template.bmp", 493, WELCOME_HEIGHT, welcome_template)
    write_bmp(out / "banner.bmp", 48, 48, banner_logo)
    write_bmp(out / "welcome.bmp", 160, 160, welcome_logo)


if __name__ == "__main__":
    main()
