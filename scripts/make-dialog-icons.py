#!/usr/bin/env python3
"""Draws the three 64 x 64 message-dialog pictures (flat symbols on a
transparent background) as PNG files, with 4 x 4 supersampling for smooth
edges. Needs only the standard library.

    scripts/make-dialog-icons.py resources/icons
"""
import math
import os
import struct
import sys
import zlib

SIZE = 64
SAMPLES = 4


def png(path, pixels):
    raw = b"".join(b"\0" + bytes(v for px in row for v in px) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


def render(shade):
    """shade(x, y) -> (r, g, b, a) or None, sampled SAMPLES^2 times a pixel."""
    rows = []
    for py in range(SIZE):
        row = []
        for px in range(SIZE):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = shade(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES)
                    if c:
                        a = c[3] / 255.0
                        acc[0] += c[0] * a
                        acc[1] += c[1] * a
                        acc[2] += c[2] * a
                        acc[3] += a
            n = SAMPLES * SAMPLES
            alpha = acc[3] / n
            if alpha > 0:
                row.append(tuple(int(round(acc[i] / acc[3])) for i in range(3)) + (int(round(alpha * 255)),))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def segment_distance(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(x - (ax + t * dx), y - (ay + t * dy))


def error_icon(x, y):
    if math.hypot(x - 32, y - 32) > 30:
        return None
    for (ax, ay, bx, by) in ((20, 20, 44, 44), (44, 20, 20, 44)):
        if segment_distance(x, y, ax, ay, bx, by) < 4.5:
            return (255, 255, 255, 255)
    return (220, 38, 38, 255)


def info_icon(x, y):
    if math.hypot(x - 32, y - 32) > 30:
        return None
    if math.hypot(x - 32, y - 18) < 4.5:
        return (255, 255, 255, 255)
    if segment_distance(x, y, 32, 28, 32, 46) < 4 or (25 <= x <= 39 and 45 <= y <= 49):
        return (255, 255, 255, 255)
    return (37, 99, 235, 255)


def warning_icon(x, y):
    # Triangle with rounded feel: inside all three edges.
    top, left, right = (32, 4), (2, 58), (62, 58)

    def side(p, a, b):
        return (b[0] - a[0]) * (p[1] - a[1]) - (b[1] - a[1]) * (p[0] - a[0])

    p = (x, y)
    inside = side(p, top, right) >= 0 and side(p, right, left) >= 0 and side(p, left, top) >= 0
    if not inside:
        return None
    if segment_distance(x, y, 32, 22, 32, 40) < 3.5 or math.hypot(x - 32, y - 49) < 3.8:
        return (0, 0, 0, 255)
    return (250, 204, 21, 255)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "resources/icons"
    os.makedirs(out, exist_ok=True)
    for name, shade in (("msg_error", error_icon), ("msg_info", info_icon), ("msg_warning", warning_icon)):
        png(os.path.join(out, name + ".png"), render(shade))


if __name__ == "__main__":
    main()
