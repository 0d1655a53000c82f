#!/usr/bin/env python3
"""Draws the console's icon: the SVG and the PNGs of the hicolor sizes.

The shapes are few (a rounded dark plate and three coloured
light circles), so they are described once here and written both as SVG and
rasterised by hand with 4x4 supersampling; no image library is needed.
Run it again after changing a shape and commit what it writes.
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SIZES = (16, 24, 32, 48, 64, 128, 256)

# Shapes on a 256 unit canvas, painted in order: (kind, geometry, rgb, alpha)
PLATE = ("rrect", (8, 8, 248, 248, 44), (0x1B, 0x22, 0x33), 1.0)
CIRCLES = [
    ("circle", (100, 150, 62), (0xE8, 0x30, 0x3A), 0.85),
    ("circle", (156, 150, 62), (0x2E, 0x6B, 0xF0), 0.85),
    ("circle", (128, 104, 62), (0x3C, 0xD0, 0x5A), 0.85),
]
SHAPES = [PLATE] + CIRCLES


def inside(kind, g, x, y):
    if kind == "circle":
        cx, cy, r = g
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    x0, y0, x1, y1, r = g
    if not (x0 <= x <= x1 and y0 <= y <= y1):
        return False
    dx = max(x0 + r - x, 0, x - (x1 - r))
    dy = max(y0 + r - y, 0, y - (y1 - r))
    return dx * dx + dy * dy <= r * r


def render(size):
    ss = 4
    scale = 256.0 / size
    rows = []
    for py in range(size):
        row = bytearray([0])
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]  # premultiplied
            for sy in range(ss):
                for sx in range(ss):
                    x = (px + (sx + 0.5) / ss) * scale
                    y = (py + (sy + 0.5) / ss) * scale
                    r = g = b = a = 0.0
                    for kind, geo, rgb, alpha in SHAPES:
                        if inside(kind, geo, x, y):
                            r = rgb[0] / 255 * alpha + r * (1 - alpha)
                            g = rgb[1] / 255 * alpha + g * (1 - alpha)
                            b = rgb[2] / 255 * alpha + b * (1 - alpha)
                            a = alpha + a * (1 - alpha)
                    acc[0] += r
                    acc[1] += g
                    acc[2] += b
                    acc[3] += a
            n = ss * ss
            a = acc[3] / n
            if a > 0:
                pix = [round(min(1, c / n / a) * 255) for c in acc[:3]] + [round(a * 255)]
            else:
                pix = [0, 0, 0, 0]
            row.extend(pix)
        rows.append(bytes(row))
    return png(size, size, b"".join(rows))


def png(w, h, raw):
    def chunk(tag, data):
        body = tag + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def svg():
    parts = ['<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">']
    for kind, g, rgb, alpha in SHAPES:
        colour = "#%02x%02x%02x" % rgb
        if kind == "circle":
            parts.append(f'  <circle cx="{g[0]}" cy="{g[1]}" r="{g[2]}" fill="{colour}" fill-opacity="{alpha}"/>')
        else:
            x0, y0, x1, y1, r = g
            parts.append(f'  <rect x="{x0}" y="{y0}" width="{x1 - x0}" height="{y1 - y0}" rx="{r}" '
                         f'fill="{colour}" fill-opacity="{alpha}"/>')
    parts.append("</svg>")
    return "\n".join(parts) + "\n"


def main():
    out = os.path.join(HERE, "icons")
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "lumetra.svg"), "w") as f:
        f.write(svg())
    for size in SIZES:
        with open(os.path.join(out, f"lumetra-{size}.png"), "wb") as f:
            f.write(render(size))


if __name__ == "__main__":
    main()
