#!/usr/bin/env python3
"""Draws Velkast's application icon: the Windows icon file and the PNGs of
the desktop's icon theme.

The icon is a padlock on a rounded blue tile. The icon file holds nine images
in this order: 48, 32 and 16 pixels at 4 bits per pixel, the same at 8 bits,
the same at 24 bits. Every image is an uncompressed DIB followed by its 1-bit
AND mask (1 = transparent). The theme's PNGs are drawn at each of their
sizes, in full colour with smooth edges (alpha from the shapes' coverage):
THEME_DIR/<n>x<n>/apps/org.velkast.Velkast.png.

Standard library only and fully deterministic, so running it again gives the
same bytes:  python3 tools/icon/draw_icon.py res/Velkast.ico res/hicolor
"""

import math
import os
import struct
import sys
import zlib

SIZES = (48, 32, 16)
DEPTHS = (4, 8, 24)
THEME_SIZES = (16, 24, 32, 48, 64, 128, 256)
THEME_NAME = "org.velkast.Velkast"
SUPERSAMPLE = 4  # samples per pixel along each axis

# The 16-colour palette every Windows display shows the same way.
VGA_PALETTE = (
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
)


# ---------------------------------------------------------------- geometry
# Shapes are signed distance functions on the unit square (negative inside),
# y growing downwards.

def rounded_rect(x, y, left, top, right, bottom, radius):
    cx, cy = (left + right) / 2, (top + bottom) / 2
    hx, hy = (right - left) / 2 - radius, (bottom - top) / 2 - radius
    qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - radius


def shackle(x, y):
    """The lock's bow: a half ring with two legs, as a stroked path."""
    cx, cy, r, half_width = 0.5, 0.40, 0.17, 0.07
    if y <= cy:
        centre_line = abs(math.hypot(x - cx, y - cy) - r)
    else:
        leg_bottom = 0.56
        dy = max(y - leg_bottom, 0.0)
        centre_line = min(math.hypot(x - (cx - r), dy), math.hypot(x - (cx + r), dy))
    return centre_line - half_width


def tile(x, y):
    return rounded_rect(x, y, 0.02, 0.02, 0.98, 0.98, 0.20)


def body(x, y):
    return rounded_rect(x, y, 0.19, 0.49, 0.81, 0.90, 0.07)


def keyhole(x, y):
    head = math.hypot(x - 0.5, y - 0.64) - 0.07
    slot = rounded_rect(x, y, 0.46, 0.64, 0.54, 0.80, 0.01)
    return min(head, slot)


# Top layer first; a sample belongs to the first shape that contains it.
LAYERS = (("keyhole", keyhole), ("body", body), ("shackle", shackle), ("tile", tile))


def role_at(x, y, outlines):
    """Returns (role, is_outline) of the topmost shape at (x, y), or None."""
    for name, shape in LAYERS:
        d = shape(x, y)
        if d < 0.0:
            return name, d > -outlines.get(name, 0.0)
    return None


def outline_widths(size):
    """Outlines of one pixel up to 48 pixels, then as wide as a 48-pixel
    image's pixel is; at 16 pixels only the lock body keeps one, so the thin
    bow stays a solid stroke and the tile keeps its full colour."""
    width = max(1, round(size / 48)) / size
    if size <= 16:
        return {"body": width}
    return {"tile": width, "shackle": width, "body": width}


# ---------------------------------------------------------------- colours

def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


# Smooth colours for the 8- and 24-bit images: (top colour, bottom colour,
# outline colour) for every role; the fill shades from top to bottom.
RICH = {
    "tile": ((52, 132, 214), (16, 54, 120), (10, 34, 84)),
    "shackle": ((236, 240, 245), (150, 158, 170), (70, 76, 86)),
    "body": ((255, 214, 82), (214, 140, 24), (112, 70, 8)),
    "keyhole": ((58, 40, 12), (40, 26, 6), (40, 26, 6)),
}

# Flat colours from the 16-colour palette for the 4-bit images:
# (upper fill, lower fill, outline).
FLAT = {
    "tile": ((0, 0, 128), (0, 0, 128), (0, 0, 0)),
    "shackle": ((255, 255, 255), (192, 192, 192), (128, 128, 128)),
    "body": ((255, 255, 0), (255, 255, 0), (128, 128, 0)),
    "keyhole": ((0, 0, 0), (0, 0, 0), (0, 0, 0)),
}


def rich_colour(role, is_outline, y):
    top, bottom, edge = RICH[role]
    return edge if is_outline else mix(top, bottom, y)


def flat_colour(role, is_outline, y):
    upper, lower, edge = FLAT[role]
    if is_outline:
        return edge
    return upper if y < 0.5 else lower


# ---------------------------------------------------------------- rendering

def samples(size, py, px, outlines):
    """The (role, is_outline), y of every sample of pixel (px, py) that a
    shape covers."""
    n = SUPERSAMPLE
    hits = []
    for sy in range(n):
        for sx in range(n):
            x = (px + (sx + 0.5) / n) / size
            y = (py + (sy + 0.5) / n) / size
            hit = role_at(x, y, outlines)
            if hit is not None:
                hits.append((hit, y))
    return hits


def render(size, flat):
    """Returns rows (top first) of pixels, each an (r, g, b) tuple or None."""
    outlines = outline_widths(size)
    n = SUPERSAMPLE
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            hits = samples(size, py, px, outlines)
            if 2 * len(hits) < n * n:
                row.append(None)
            elif flat:
                row.append(majority_colour(hits))
            else:
                row.append(average_colour(hits))
        rows.append(row)
    return rows


def average_colour(hits):
    total = [0.0, 0.0, 0.0]
    for (role, is_outline), y in hits:
        c = rich_colour(role, is_outline, y)
        for i in range(3):
            total[i] += c[i]
    return tuple(int(round(v / len(hits))) for v in total)


def majority_colour(hits):
    counts = {}
    order = []
    for (role, is_outline), y in hits:
        c = flat_colour(role, is_outline, y)
        if c not in counts:
            counts[c] = 0
            order.append(c)
        counts[c] += 1
    return max(order, key=lambda c: counts[c])  # first seen wins a tie


# ---------------------------------------------------------------- palettes

def median_cut(colours, limit):
    """Reduces a {colour: count} histogram to at most `limit` colours."""
    boxes = [sorted(colours.items())]
    while len(boxes) < limit:
        best, best_range, best_axis = None, 0, 0
        for i, box in enumerate(boxes):
            if len(box) < 2:
                continue
            for axis in range(3):
                values = [c[axis] for c, _ in box]
                spread = max(values) - min(values)
                if spread > best_range:
                    best, best_range, best_axis = i, spread, axis
        if best is None:
            break
        box = sorted(boxes.pop(best), key=lambda e: (e[0][best_axis], e[0]))
        half = sum(n for _, n in box) / 2
        running, cut = 0, 1
        for cut in range(1, len(box)):
            running += box[cut - 1][1]
            if running >= half:
                break
        boxes[best:best] = [box[:cut], box[cut:]]
    palette = []
    for box in boxes:
        weight = sum(n for _, n in box)
        palette.append(tuple(int(round(sum(c[i] * n for c, n in box) / weight))
                             for i in range(3)))
    return palette


def nearest(palette, colour):
    return min(range(len(palette)),
               key=lambda i: sum((palette[i][k] - colour[k]) ** 2 for k in range(3)))


def palette_for(rows, depth):
    if depth == 4:
        return list(VGA_PALETTE)
    histogram = {}
    for row in rows:
        for c in row:
            if c is not None:
                histogram[c] = histogram.get(c, 0) + 1
    # Index 0 stays black: transparent pixels carry colour 0 under the mask.
    palette = [(0, 0, 0)] + median_cut(histogram, 255)
    return palette + [(0, 0, 0)] * (256 - len(palette))


# ---------------------------------------------------------------- file format

def row_bytes(width, depth):
    return (width * depth + 31) // 32 * 4


def pack_indices(indices, depth):
    out = bytearray()
    if depth == 8:
        out.extend(indices)
    else:
        for i in range(0, len(indices), 2):
            low = indices[i + 1] if i + 1 < len(indices) else 0
            out.append(indices[i] << 4 | low)
    return out


def dib(rows, depth):
    size = len(rows)
    colour_rows = []
    palette = []
    if depth == 24:
        for row in rows:
            line = bytearray()
            for c in row:
                b = (0, 0, 0) if c is None else c
                line.extend((b[2], b[1], b[0]))
            colour_rows.append(line)
    else:
        palette = palette_for(rows, depth)
        cache = {}
        for row in rows:
            indices = []
            for c in row:
                if c is None:
                    indices.append(0)
                else:
                    if c not in cache:
                        cache[c] = nearest(palette, c)
                    indices.append(cache[c])
            colour_rows.append(pack_indices(indices, depth))

    mask_rows = []
    for row in rows:
        bits = bytearray((size + 7) // 8)
        for x, c in enumerate(row):
            if c is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask_rows.append(bits)

    xor_stride, and_stride = row_bytes(size, depth), row_bytes(size, 1)
    pixels = bytearray()
    for line in reversed(colour_rows):  # DIB rows run bottom-up
        pixels.extend(line.ljust(xor_stride, b"\0"))
    for line in reversed(mask_rows):
        pixels.extend(line.ljust(and_stride, b"\0"))

    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, depth, 0,
                         len(pixels), 0, 0, 0, 0)
    colour_table = b"".join(struct.pack("<BBBB", c[2], c[1], c[0], 0) for c in palette)
    return header + colour_table + bytes(pixels)


def icon_file():
    images = []
    for depth in DEPTHS:
        for size in SIZES:
            images.append((size, depth, dib(render(size, flat=(depth == 4)), depth)))

    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body_bytes = b""
    for size, depth, data in images:
        colour_count = 16 if depth == 4 else 0
        directory += struct.pack("<BBBBHHII", size, size, colour_count, 0, 1, depth,
                                 len(data), offset)
        offset += len(data)
        body_bytes += data
    return directory + body_bytes


# ---------------------------------------------------------------- theme PNGs

def png_file(size):
    """An 8-bit RGBA PNG: the rich colours, alpha the share of samples that
    a shape covers."""
    outlines = outline_widths(size)
    raw = bytearray()
    for py in range(size):
        raw.append(0)  # no filter
        for px in range(size):
            hits = samples(size, py, px, outlines)
            colour = average_colour(hits) if hits else (0, 0, 0)
            alpha = int(round(255 * len(hits) / SUPERSAMPLE ** 2))
            raw.extend((*colour, alpha))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data)))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def write(path, data):
    os.makedirs(os.path.dirname(path) or ".", exist_ok=True)
    with open(path, "wb") as out:
        out.write(data)


def main(argv):
    if len(argv) not in (2, 3):
        sys.stderr.write("usage: draw_icon.py OUTPUT.ico [THEME_DIR]\n")
        return 2
    write(argv[1], icon_file())
    if len(argv) == 3:
        for size in THEME_SIZES:
            write(os.path.join(argv[2], f"{size}x{size}", "apps", THEME_NAME + ".png"),
                  png_file(size))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
