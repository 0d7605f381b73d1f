#!/usr/bin/env python3
"""Draws the Meadowbrook Gate icon and writes it as a Windows .ico file.

The artwork is a round badge: a summer sky over a meadow, a brook winding
through the grass, and a white five-bar field gate between two wooden posts.
Each of the six images (48, 32 and 16 pixels, in 16 and 256 colours) is drawn
from the same shapes, with simpler details where the pixels are few.

    python3 tools/draw_icon.py resources/meadowbrookgate.ico docs/icon.png

The second argument is optional: a PNG that shows the six images enlarged on
a checkerboard, so the transparency mask is visible too.  Only the standard
library is used.
"""
import math
import struct
import sys
import zlib

SIZES = (48, 32, 16)

# The sixteen colours every Windows display can show; the 4-bit images use
# exactly this table so they look the same on any palette.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

# Colours of the scene in the 256-colour images; the 16-colour images show
# each part in the standard colour that reads best for it.
SKY_TOP = (88, 150, 230)
SKY_LOW = (190, 224, 250)
COLOURS = {
    "sun": ((255, 214, 80), 11),
    "hill": ((110, 180, 80), 10),
    "meadow": ((70, 150, 50), 10),
    "meadow_near": ((52, 124, 36), 2),
    "brook": ((50, 110, 215), 12),
    "brook_light": ((150, 200, 250), 14),
    "post": ((128, 82, 42), 1),
    "post_dark": ((84, 52, 24), 0),
    "gate": ((252, 252, 246), 15),
    "gate_shade": ((176, 176, 166), 7),
    "rim": ((34, 80, 30), 2),
}


def inside_badge(x, y):
    """The icon's shape: a disc that fills the square, less a hair."""
    return (x - 0.5) ** 2 + (y - 0.5) ** 2 <= 0.497 ** 2


def brook_centre(x):
    return 0.67 + 0.06 * math.sin(x * 5.0 + 0.6)


def gate_part(x, y, size):
    """The gate: two posts, rails between them and a diagonal brace."""
    left, right = 0.22, 0.78
    post_w = 1.6 / size if size <= 16 else 0.07
    top, bottom = 0.42, 0.80
    rails = 4 if size >= 48 else (3 if size >= 32 else 2)
    rail_h = max(0.05, 1.0 / size)
    if size <= 16:
        rail_h = 1.0 / size
    for post in (left, right):
        if abs(x - post) <= post_w / 2 and top - 0.05 <= y <= bottom + 0.05:
            return "post_dark" if (x < post and size >= 32) else "post"
    if not left < x < right or not top <= y <= bottom:
        return None
    for i in range(rails):
        ry = top + (bottom - top - rail_h) * i / (rails - 1)
        if ry <= y <= ry + rail_h:
            shaded = size >= 48 and (y - ry) > rail_h * 0.7
            return "gate_shade" if shaded else "gate"
    t = (x - left) / (right - left)
    brace_y = bottom - t * (bottom - top)
    if abs(y - brace_y) <= max(rail_h * 0.55, 0.55 / size):
        return "gate"
    return None


def scene(x, y, size):
    """What the picture shows at (x, y) in the unit square, y downwards:
    a role name, or an RGB tuple for the sky's gradient."""
    if math.hypot(x - 0.5, y - 0.5) > 0.5 - max(0.045, 1.0 / size):
        return "rim"
    part = gate_part(x, y, size)
    if part:
        return part
    horizon = 0.44 + 0.04 * math.sin(x * 3.3 + 1.0)
    if y < horizon:
        if size >= 32 and math.hypot(x - 0.70, y - 0.22) <= 0.08:
            return "sun"
        return "sky"
    bc = brook_centre(x)
    width = 0.045 if size >= 32 else 0.07
    if abs(y - bc) <= width:
        if size >= 48 and abs(y - bc + width * 0.4) <= width * 0.25:
            return "brook_light"
        return "brook"
    if y < horizon + 0.07:
        return "hill"
    return "meadow_near" if y > bc else "meadow"


def colour_of(part, y, bpp):
    if part == "sky":
        if bpp == 4:
            return VGA16[14]
        k = max(0.0, min(1.0, (y - 0.05) / 0.5))
        return tuple(round(a + (b - a) * k) for a, b in zip(SKY_TOP, SKY_LOW))
    rgb, vga = COLOURS[part]
    return VGA16[vga] if bpp == 4 else rgb


def render(size, samples, bpp):
    """size x size pixels, each the average of samples x samples points;
    returns (rows of RGB, rows of transparency flags), top row first."""
    pixels, mask = [], []
    for py in range(size):
        row, mrow = [], []
        for px in range(size):
            acc = [0, 0, 0]
            n = 0
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) / samples) / size
                    y = (py + (sy + 0.5) / samples) / size
                    if inside_badge(x, y):
                        c = colour_of(scene(x, y, size), y, bpp)
                        acc[0] += c[0]
                        acc[1] += c[1]
                        acc[2] += c[2]
                        n += 1
            # a pixel belongs to the shape when its centre does
            opaque = inside_badge((px + 0.5) / size, (py + 0.5) / size)
            if opaque and n:
                row.append(tuple(round(v / n) for v in acc))
            else:
                row.append((0, 0, 0))
            mrow.append(not opaque)
        pixels.append(row)
        mask.append(mrow)
    return pixels, mask


def nearest(colour, palette):
    best, best_d = 0, None
    for i, p in enumerate(palette):
        d = sum((a - b) ** 2 for a, b in zip(colour, p))
        if best_d is None or d < best_d:
            best, best_d = i, d
    return best


def median_cut(colours, count):
    """Reduces a list of distinct colours to at most count representatives."""
    boxes = [list(colours)]
    while len(boxes) < count:
        boxes.sort(key=lambda b: max(max(c[i] for c in b) - min(c[i] for c in b)
                                     for i in range(3)) if len(b) > 1 else -1)
        box = boxes.pop()
        if len(box) < 2:
            boxes.append(box)
            break
        axis = max(range(3), key=lambda i: max(c[i] for c in box) - min(c[i] for c in box))
        box.sort(key=lambda c: c[axis])
        half = len(box) // 2
        boxes += [box[:half], box[half:]]
    return [tuple(round(sum(c[i] for c in b) / len(b)) for i in range(3)) for b in boxes]


def row_bytes(bits):
    return (bits + 31) // 32 * 4


def dib(size, bpp, palette, indices, mask):
    """One icon image: BITMAPINFOHEADER, colour table, XOR bitmap, AND mask."""
    colours = 1 << bpp
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bpp, 0, 0, 0, 0, colours, 0)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    table += b"\0" * (4 * colours - len(table))
    xor = b""
    for row in reversed(indices):
        if bpp == 8:
            data = bytes(row)
        else:
            data = bytes((row[i] << 4) | row[i + 1] for i in range(0, size, 2))
        xor += data + b"\0" * (row_bytes(size * bpp) - len(data))
    and_mask = b""
    for mrow in reversed(mask):
        bits = bytearray(row_bytes(size))
        for i, transparent in enumerate(mrow):
            if transparent:
                bits[i // 8] |= 0x80 >> (i % 8)
        and_mask += bytes(bits)
    return header + table + xor + and_mask


def build_icon():
    images = []  # (size, colour count field, bpp, bytes, rgb rows, mask)
    for size in SIZES:
        rgb, mask = render(size, 1, 4)
        idx = [[nearest(c, VGA16) for c in row] for row in rgb]
        shown = [[VGA16[i] for i in row] for row in idx]
        images.append((size, 16, 4, dib(size, 4, VGA16, idx, mask), shown, mask))
    # the smallest image stays crisp: blending there only blurs the gate
    smooth = {size: render(size, 4 if size > 16 else 1, 8) for size in SIZES}
    distinct = sorted({c for rgb, _ in smooth.values() for row in rgb for c in row})
    palette = distinct if len(distinct) <= 256 else median_cut(distinct, 256)
    palette = sorted(set(palette))
    lookup = {}
    for size in SIZES:
        rgb, mask = smooth[size]
        idx = []
        for row in rgb:
            out = []
            for c in row:
                if c not in lookup:
                    lookup[c] = nearest(c, palette)
                out.append(lookup[c])
            idx.append(out)
        shown = [[palette[i] for i in row] for row in idx]
        images.append((size, 0, 8, dib(size, 8, palette, idx, mask), shown, mask))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, count, bpp, data, _, _ in images:
        directory += struct.pack("<BBBBHHII", size, size, count, 0, 1, bpp, len(data), offset)
        offset += len(data)
    return directory + b"".join(img[3] for img in images), images


def png(width, height, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    raw = b"".join(b"\0" + bytes(v for px in row for v in px) for row in rows)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def preview(images):
    """All six images side by side, each enlarged to 192 pixels, over a
    checkerboard where the mask is transparent."""
    cell, gap = 192, 12
    width = gap + len(images) * (cell + gap)
    height = cell + 2 * gap
    rows = [[(255, 255, 255)] * width for _ in range(height)]
    for n, (size, _, _, _, shown, mask) in enumerate(images):
        scale = cell // size
        x0 = gap + n * (cell + gap)
        for y in range(cell):
            for x in range(cell):
                sy, sx = y // scale, x // scale
                if mask[sy][sx]:
                    c = (204, 204, 204) if ((x // 8) + (y // 8)) % 2 else (240, 240, 240)
                else:
                    c = shown[sy][sx]
                rows[gap + y][x0 + x] = c
    return png(width, height, rows)


def main(argv):
    if len(argv) not in (2, 3):
        sys.stderr.write(__doc__)
        return 2
    data, images = build_icon()
    with open(argv[1], "wb") as f:
        f.write(data)
    if len(argv) == 3:
        with open(argv[2], "wb") as f:
            f.write(preview(images))
    print(f"{argv[1]}: {len(data)} bytes, {len(images)} images")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
