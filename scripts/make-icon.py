#!/usr/bin/env python3
"""Draws Tavrin's icon, two blue panels under a grey menu bar above a key bar, as SVG, as a
256-pixel PNG, as the smaller PNGs a desktop's icon theme looks for (tavrin-16.png to
tavrin-128.png) and as a macOS .icns, into KivApp/resources/. Run it after changing the picture."""
import os
import struct
import zlib

SIZE = 256
RADIUS = 36
BLACK, GREY, BLUE, CYAN, YELLOW, WHITE = "#000000", "#aaaaaa", "#0000aa", "#00aaaa", "#ffff55", "#ffffff"

# (x, y, width, height, colour), painted in order over the rounded black square.
RECTS = [
    (20, 24, 216, 22, GREY),
    (20, 52, 106, 150, CYAN), (24, 56, 98, 142, BLUE),
    (130, 52, 106, 150, CYAN), (134, 56, 98, 142, BLUE),
    (24, 56, 98, 14, CYAN), (134, 56, 98, 14, CYAN),
    (32, 82, 56, 8, WHITE), (32, 98, 76, 8, GREY), (28, 112, 90, 16, CYAN), (32, 116, 50, 8, BLACK),
    (32, 134, 64, 8, GREY), (32, 150, 44, 8, GREY), (32, 166, 70, 8, GREY),
    (142, 82, 48, 8, WHITE), (142, 98, 70, 8, YELLOW), (142, 114, 58, 8, YELLOW),
    (142, 130, 76, 8, GREY), (142, 146, 40, 8, GREY),
    (20, 210, 216, 12, YELLOW),
    (40, 228, 32, 14, CYAN), (92, 228, 32, 14, CYAN), (144, 228, 32, 14, CYAN), (196, 228, 32, 14, CYAN),
]


def rgb(colour):
    return tuple(int(colour[i:i + 2], 16) for i in (1, 3, 5))


def inside_rounded_square(x, y):
    cx = min(max(x, RADIUS), SIZE - RADIUS)
    cy = min(max(y, RADIUS), SIZE - RADIUS)
    return (x - cx) ** 2 + (y - cy) ** 2 <= RADIUS ** 2


# The smaller sizes of the hicolor icon theme; 256 is the picture itself.
SMALLER_SIZES = [16, 22, 24, 32, 48, 64, 128]


def colour_at(px, py):
    """The colour at the point (px, py) of the 256-unit picture, or None outside it."""
    colour = BLACK if inside_rounded_square(px, py) else None
    for rx, ry, rw, rh, c in RECTS:
        if rx <= px < rx + rw and ry <= py < ry + rh:
            colour = c
    return colour


def pixel(x, y, size, samples):
    """Pixel (x, y) of the picture drawn `size` pixels wide: the mean of samples x samples points
    in it, so thin bars fade rather than vanish at small sizes."""
    unit = SIZE / size
    total = [0, 0, 0, 0]
    for sy in range(samples):
        for sx in range(samples):
            colour = colour_at((x + (sx + 0.5) / samples) * unit, (y + (sy + 0.5) / samples) * unit)
            if colour is not None:
                r, g, b = rgb(colour)
                total = [total[0] + r, total[1] + g, total[2] + b, total[3] + 1]
    if total[3] == 0:
        return (0, 0, 0, 0)
    return tuple(round(v / total[3]) for v in total[:3]) + (round(255 * total[3] / samples ** 2),)


def pixels(size):
    samples = 1 if size == SIZE else 4
    return [[pixel(x, y, size, samples) for x in range(size)] for y in range(size)]


def png_bytes(size=SIZE):
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in pixels(size))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def svg_text():
    shapes = [f'<rect width="{SIZE}" height="{SIZE}" rx="{RADIUS}" fill="{BLACK}"/>']
    shapes += [f'<rect x="{x}" y="{y}" width="{w}" height="{h}" fill="{c}"/>' for x, y, w, h, c in RECTS]
    body = "\n  ".join(shapes)
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{SIZE}" height="{SIZE}" '
            f'viewBox="0 0 {SIZE} {SIZE}">\n  {body}\n</svg>\n')


def icns_bytes(png):
    # "ic08" holds a 256 x 256 PNG.
    entry = b"ic08" + struct.pack(">I", 8 + len(png)) + png
    return b"icns" + struct.pack(">I", 8 + len(entry)) + entry


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "KivApp", "resources")
    png = png_bytes()
    with open(os.path.join(out, "tavrin.png"), "wb") as f:
        f.write(png)
    with open(os.path.join(out, "tavrin.svg"), "w") as f:
        f.write(svg_text())
    with open(os.path.join(out, "AppIcon.icns"), "wb") as f:
        f.write(icns_bytes(png))
    for size in SMALLER_SIZES:
        with open(os.path.join(out, f"tavrin-{size}.png"), "wb") as f:
            f.write(png_bytes(size))


if __name__ == "__main__":
    main()
