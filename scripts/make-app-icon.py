#!/usr/bin/env python3
"""Draws the program's own icon (a blue rounded square with a white "V") at
16, 24, 32, 48, 64 and 256 pixels and writes them as one Windows icon file:
32-bit DIB images up to 64 pixels, a PNG image at 256. Standard library only.

    scripts/make-app-icon.py resources/icons/vantrel.ico
"""
import math
import struct
import sys
import zlib

SIZES = (16, 24, 32, 48, 64, 256)
SAMPLES = 4
BLUE = (26, 111, 214, 255)
WHITE = (255, 255, 255, 255)


def segment_distance(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(x - (ax + t * dx), y - (ay + t * dy))


def shade(u, v):
    """Colour at (u, v) in the unit square, or None outside the shape."""
    r = 0.2
    cx, cy = min(max(u, r), 1 - r), min(max(v, r), 1 - r)
    if math.hypot(u - cx, v - cy) > r or not (0 <= u <= 1 and 0 <= v <= 1):
        return None
    if min(segment_distance(u, v, 0.25, 0.27, 0.5, 0.75), segment_distance(u, v, 0.75, 0.27, 0.5, 0.75)) < 0.085:
        return WHITE
    return BLUE


def render(size):
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0] * 4
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = shade((px + (sx + 0.5) / SAMPLES) / size, (py + (sy + 0.5) / SAMPLES) / size)
                    if c:
                        for i in range(3):
                            acc[i] += c[i]
                        acc[3] += 1
            if acc[3]:
                row.append(tuple(int(round(acc[i] / acc[3])) for i in range(3)) + (int(round(255 * acc[3] / SAMPLES ** 2)),))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def png_bytes(rows):
    size = len(rows)
    raw = b"".join(b"\0" + bytes(v for px in row for v in px) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def dib_bytes(rows):
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_row = ((size + 31) // 32) * 4
    mask = b""
    for row in reversed(rows):
        bits = bytearray(mask_row)
        for x, px in enumerate(row):
            if px[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + pixels + mask


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "resources/icons/vantrel.ico"
    images = [(s, png_bytes(render(s)) if s >= 256 else dib_bytes(render(s))) for s in SIZES]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in images:
        data += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    data += b"".join(image for _, image in images)
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
