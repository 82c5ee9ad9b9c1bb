#!/usr/bin/env python3
"""Writes the program icon: a teal tile with a white K over an amber shelf,
as nine images (48, 32 and 16 pixels; 16 colours, 256 colours and 24-bit).

Generated at build time so that no binary image lives in the repository.
Usage: make_icon.py OUTPUT.ico
"""
import math
import struct
import sys

TEAL = (27, 110, 140)
WHITE = (255, 255, 255)
AMBER = (245, 170, 40)

# The standard 16-colour palette; the 4-bit images use its nearest colours.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def in_tile(x, y):
    """Rounded square over the unit square, corner radius 0.2."""
    lo, hi, r = 0.03, 0.97, 0.2
    if not (lo <= x <= hi and lo <= y <= hi):
        return False
    cx = min(max(x, lo + r), hi - r)
    cy = min(max(y, lo + r), hi - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def near_segment(x, y, ax, ay, bx, by, half_width):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(x - (ax + t * dx), y - (ay + t * dy)) <= half_width


def in_k(x, y):
    if 0.25 <= x <= 0.41 and 0.16 <= y <= 0.74:
        return True
    return (near_segment(x, y, 0.40, 0.50, 0.70, 0.20, 0.08) or
            near_segment(x, y, 0.47, 0.44, 0.74, 0.74, 0.08)) and 0.16 <= y <= 0.74


def in_shelf(x, y):
    return 0.25 <= x <= 0.75 and 0.80 <= y <= 0.88


def sample(x, y):
    """Colour at a point of the unit square (y downwards), or None outside."""
    if not in_tile(x, y):
        return None
    if in_k(x, y):
        return WHITE
    if in_shelf(x, y):
        return AMBER
    return TEAL


def render(size, grid):
    """Rows top to bottom of (r, g, b) or None, averaging grid x grid samples."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            hits = []
            for sy in range(grid):
                for sx in range(grid):
                    hits.append(sample((px + (sx + 0.5) / grid) / size, (py + (sy + 0.5) / grid) / size))
            inside = [c for c in hits if c is not None]
            if len(inside) * 2 < len(hits):
                row.append(None)
                continue
            row.append(tuple(round(sum(c[i] for c in inside) / len(inside)) for i in range(3)))
        rows.append(row)
    return rows


def nearest(colour, palette):
    return min(range(len(palette)), key=lambda i: sum((colour[k] - palette[i][k]) ** 2 for k in range(3)))


def padded(data):
    return data + b"\0" * (-len(data) % 4)


def and_mask(rows):
    out = b""
    for row in reversed(rows):
        bits = bytearray((len(row) + 7) // 8)
        for x, c in enumerate(row):
            if c is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        out += padded(bytes(bits))
    return out


def image(size, bits):
    rows = render(size, 1 if bits == 4 else 4)
    if bits == 4:
        palette = VGA16
    elif bits == 8:
        palette = sorted({c for row in rows for c in row if c is not None})
        if len(palette) > 256:
            raise SystemExit("too many colours for a 256-colour image")
        palette += [(0, 0, 0)] * (256 - len(palette))
    else:
        palette = []
    xor = b""
    for row in reversed(rows):  # bottom-up, as bitmaps are stored
        if bits == 24:
            line = b"".join(bytes((c or (0, 0, 0))[::-1]) for c in row)
        else:
            indices = [0 if c is None else nearest(c, palette) for c in row]
            if bits == 4:
                line = bytes((indices[i] << 4) | indices[i + 1] for i in range(0, size, 2))
            else:
                line = bytes(indices)
        xor += padded(line)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, len(xor) + len(and_mask(rows)),
                         0, 0, len(palette), 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    return header + colours + xor + and_mask(rows)


def main():
    if len(sys.argv) != 2:
        raise SystemExit("usage: make_icon.py OUTPUT.ico")
    formats = [(size, bits) for size in (48, 32, 16) for bits in (4, 8, 24)]
    images = [image(size, bits) for size, bits in formats]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (size, bits), data in zip(formats, images):
        out += struct.pack("<BBBBHHII", size, size, 16 if bits == 4 else 0, 0, 1, bits, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
