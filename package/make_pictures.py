#!/usr/bin/env python3
"""Draws the pictures the driver package ships: the maker's logo (VrloLogo.bmp), the
colour sample picture (qf862k.bmp, 100 x 100, 24-bit) and the module's printer icon.

usage: make_pictures.py OUTPUT_DIR ICON_PATH
"""
import os
import struct
import sys


def bmp24(width, height, pixel):
    """A bottom-up 24-bit BMP; pixel(x, y) gives (r, g, b) with y = 0 at the top."""
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        rows.append(bytes(row))
    image = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(image), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    return header + info + image


def logo(x, y):
    # A dark blue plate with a light card outline and a stripe: the maker's mark.
    w, h = 156, 108
    inside = 18 <= x < w - 18 and 14 <= y < h - 14
    edge = inside and (x in (18, w - 19) or y in (14, h - 15))
    stripe = inside and 30 <= y < 40
    if edge:
        return (235, 235, 245)
    if stripe:
        return (250, 190, 40)
    if inside:
        return (40, 80, 170)
    return (15, 30, 80)


def sample(x, y):
    # Colour bars across, a grey ramp down: shows what colour correction changes.
    bars = [(255, 255, 255), (255, 255, 0), (0, 255, 255), (0, 255, 0),
            (255, 0, 255), (255, 0, 0), (0, 0, 255), (0, 0, 0)]
    if y < 70:
        return bars[min(x * len(bars) // 100, len(bars) - 1)]
    level = x * 255 // 99
    return (level, level, level)


def icon():
    size = 32
    pixels = bytearray()
    for y in range(size - 1, -1, -1):
        for x in range(size):
            body = 4 <= x < 28 and 12 <= y < 24
            card = 8 <= x < 24 and 4 <= y < 12
            slot = 8 <= x < 24 and 20 <= y < 22
            if slot:
                b, g, r, a = 20, 20, 20, 255
            elif card:
                b, g, r, a = 250, 250, 250, 255
            elif body:
                b, g, r, a = 170, 80, 40, 255
            else:
                b, g, r, a = 0, 0, 0, 0
            pixels += bytes((b, g, r, a))
    mask = b"\0" * (size * 4)  # 1 bit per pixel, rows padded to 4 bytes; alpha decides
    dib = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    image = dib + bytes(pixels) + mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), 22)
    return directory + image


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    out, icon_path = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    os.makedirs(os.path.dirname(icon_path), exist_ok=True)
    with open(os.path.join(out, "VrloLogo.bmp"), "wb") as f:
        f.write(bmp24(156, 108, logo))
    with open(os.path.join(out, "qf862k.bmp"), "wb") as f:
        f.write(bmp24(100, 100, sample))
    with open(icon_path, "wb") as f:
        f.write(icon())


if __name__ == "__main__":
    main()
