#!/usr/bin/env python3
"""Draws the program's icons and mode-switch bitmaps into resources/.

The outputs are committed; run this again only to change the artwork.
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "resources")


def knob_pixels(corner):
    """24x24 knob: white disc, black rim, black wedge from a narrow tip at the
    upper-left edge to a broad end at the lower right; `corner` outside."""
    size, c = 24, 11.5
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            dx, dy = x - c, y - c
            r = math.hypot(dx, dy)
            if r > 11.6:
                row.append(corner)
                continue
            if r > 10.4:
                row.append((0, 0, 0))
                continue
            # Distance along the upper-left to lower-right diagonal, from the tip.
            t = (dx + dy) / math.sqrt(2) + 10.4   # 0 at the upper-left rim
            across = abs(dx - dy) / math.sqrt(2)
            half_width = 0.5 + t * 0.22           # widens towards the lower right
            row.append((0, 0, 0) if 0 <= t <= 17 and across <= half_width else (255, 255, 255))
        rows.append(row)
    return rows


def write_bmp(path, rows):
    h, w = len(rows), len(rows[0])
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):                    # bottom-up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        data += line
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def icon_pixels(size, second):
    """Two overlapping pages; the second icon shows them joined by a band."""
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]
    s = size / 32.0

    def page(x0, y0, colour):
        for y in range(int(y0 * s), int((y0 + 20) * s)):
            for x in range(int(x0 * s), int((x0 + 15) * s)):
                edge = (x in (int(x0 * s), int((x0 + 15) * s) - 1)
                        or y in (int(y0 * s), int((y0 + 20) * s) - 1))
                px[y][x] = (0, 0, 0, 255) if edge else colour + (255,)

    page(3, 3, (229, 231, 199))
    page(14, 9, (197, 199, 167) if not second else (120, 160, 220))
    for y in range(int(14 * s), int(18 * s)):
        for x in range(int(6 * s), int(26 * s)):
            if second or x < int(14 * s):
                px[y][x] = (0, 0, 0, 255)
    return px


def icon_image(size, second):
    px = icon_pixels(size, second)
    xor = bytearray()
    for row in reversed(px):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(px):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + xor + mask


def write_ico(path, second):
    images = [icon_image(s, second) for s in (16, 32)]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for s, img in zip((16, 32), images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    for img in images:
        out += img
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    write_bmp(os.path.join(OUT, "knob_normal.bmp"), knob_pixels((197, 199, 167)))
    write_bmp(os.path.join(OUT, "knob_hover.bmp"), knob_pixels((213, 215, 183)))
    write_ico(os.path.join(OUT, "ostrand.ico"), False)
    write_ico(os.path.join(OUT, "ostrand_about.ico"), True)
