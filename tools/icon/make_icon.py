#!/usr/bin/env python3
"""Draws the Ledgrix document icon and writes resources/ledgrix.ico.

The motif is a sheet of ledger paper: a page with a folded corner, a title
line, a green column header and green-barred rows with a description and an
amount column. Sizes of 48 pixels and up are drawn from one geometry with
pixel-snapped edges; 16, 24 and 32 are hand-drawn pixel maps, because scaled
geometry turns to mush there.

Standard library only, and deterministic: the same bytes on every run.
"""

import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
RESOURCES = os.path.normpath(os.path.join(HERE, "..", "..", "resources"))

# (size, bits per pixel, stored as PNG), in the order the icon group lists them.
IMAGES = [
    (256, 8, True),
    (128, 8, False),
    (64, 8, False),
    (256, 32, True),
    (48, 32, False),
    (32, 32, False),
    (24, 32, False),
    (16, 32, False),
]

INK = (0x2B, 0x36, 0x40)        # outline and figures
PAPER = (0xFF, 0xFF, 0xFF)
FOLD = (0xCF, 0xD8, 0xDF)
GREEN = (0x1F, 0x8F, 0x4E)      # header row and closing rule
BAND = (0xDD, 0xF2, 0xE3)       # every other ledger row
RULE = (0x8C, 0xC9, 0xA2)       # column rule
TEXT = (0x9A, 0xA6, 0xAF)       # description placeholders
LABEL = (0xE8, 0xF6, 0xEC)      # placeholders on the green header


# ---------------------------------------------------------------- canvas ---

class Canvas:
    """Premultiplied RGBA in floats; shapes are composited with exact area coverage."""

    def __init__(self, size):
        self.size = size
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(size * size)]

    def _blend(self, x, y, color, cover):
        if cover <= 0.0:
            return
        if cover > 1.0:
            cover = 1.0
        p = self.px[y * self.size + x]
        keep = 1.0 - cover
        p[0] = color[0] / 255.0 * cover + p[0] * keep
        p[1] = color[1] / 255.0 * cover + p[1] * keep
        p[2] = color[2] / 255.0 * cover + p[2] * keep
        p[3] = cover + p[3] * keep

    def rect(self, x0, y0, x1, y1, color):
        if x1 <= x0 or y1 <= y0:
            return
        n = self.size
        for y in range(max(0, int(y0)), min(n, int(y1) + 1)):
            cy = min(y + 1, y1) - max(y, y0)
            if cy <= 0:
                continue
            for x in range(max(0, int(x0)), min(n, int(x1) + 1)):
                cx = min(x + 1, x1) - max(x, x0)
                if cx > 0:
                    self._blend(x, y, color, cx * cy)

    def convex(self, poly, color):
        """Fills a convex polygon given clockwise in screen coordinates (y down)."""
        edges = []
        for i, (ax, ay) in enumerate(poly):
            bx, by = poly[(i + 1) % len(poly)]
            nx, ny = ay - by, bx - ax          # inward normal for clockwise order
            length = (nx * nx + ny * ny) ** 0.5
            nx, ny = nx / length, ny / length
            edges.append((nx, ny, -(nx * ax + ny * ay)))
        xs = [p[0] for p in poly]
        ys = [p[1] for p in poly]
        n = self.size
        half_diag = 0.7072
        for y in range(max(0, int(min(ys))), min(n, int(max(ys)) + 1)):
            for x in range(max(0, int(min(xs))), min(n, int(max(xs)) + 1)):
                cx, cy = x + 0.5, y + 0.5
                dists = [nx * cx + ny * cy + c for nx, ny, c in edges]
                if min(dists) <= -half_diag:
                    continue
                if min(dists) >= half_diag:
                    self._blend(x, y, color, 1.0)
                    continue
                square = [(x, y), (x + 1, y), (x + 1, y + 1), (x, y + 1)]
                for e in edges:
                    square = _clip(square, e)
                    if not square:
                        break
                self._blend(x, y, color, _area(square))

    def rgba(self):
        out = []
        for r, g, b, a in self.px:
            if a <= 0.0:
                out.append((0, 0, 0, 0))
                continue
            out.append((_byte(r / a), _byte(g / a), _byte(b / a), _byte(a)))
        return out


def _byte(v):
    return max(0, min(255, int(v * 255.0 + 0.5)))


def _clip(poly, edge):
    nx, ny, c = edge
    out = []
    for i, p in enumerate(poly):
        q = poly[(i + 1) % len(poly)]
        dp = nx * p[0] + ny * p[1] + c
        dq = nx * q[0] + ny * q[1] + c
        if dp >= 0:
            out.append(p)
        if (dp >= 0) != (dq >= 0):
            t = dp / (dp - dq)
            out.append((p[0] + (q[0] - p[0]) * t, p[1] + (q[1] - p[1]) * t))
    return out


def _area(poly):
    s = 0.0
    for i, (ax, ay) in enumerate(poly):
        bx, by = poly[(i + 1) % len(poly)]
        s += ax * by - bx * ay
    return abs(s) / 2.0


def _inset(poly, d):
    """Moves every edge of a clockwise convex polygon inward by d."""
    lines = []
    for i, (ax, ay) in enumerate(poly):
        bx, by = poly[(i + 1) % len(poly)]
        nx, ny = ay - by, bx - ax
        length = (nx * nx + ny * ny) ** 0.5
        nx, ny = nx / length, ny / length
        lines.append((nx, ny, -(nx * ax + ny * ay) - d))
    out = []
    for i in range(len(lines)):
        a1, b1, c1 = lines[i - 1]
        a2, b2, c2 = lines[i]
        det = a1 * b2 - a2 * b1
        out.append(((b1 * c2 - b2 * c1) / det, (a2 * c1 - a1 * c2) / det))
    return out


# --------------------------------------------------------------- artwork ---

# Geometry on a 256 grid; every edge is snapped to the pixel grid of the target size.
PAGE = (32, 4, 224, 252)
FOLD_SIZE = 64
STROKE = 8
TITLE = (60, 28, 132)
TITLE_HEIGHT = 12
TABLE_X = (56, 200)
HEADER_Y = (80, 108)
ROWS_Y = (108, 136, 164, 192, 220)
COLUMN_X = 144
BAR = 8
DESCRIPTIONS = (56, 40, 64, 46)
AMOUNTS = (26, 34, 18, 30)
AMOUNT_RIGHT = 188


def draw_vector(size):
    c = Canvas(size)
    s = size / 256.0

    def at(v):
        return round(v * s)

    def thick(v):
        return max(1, round(v * s))

    left, top, right, bottom = (at(v) for v in PAGE)
    fold = at(FOLD_SIZE)
    w = thick(STROKE)
    outline = [(left, top), (right - fold, top), (right, top + fold), (right, bottom), (left, bottom)]
    c.convex(outline, INK)
    c.convex(_inset(outline, w), PAPER)
    flap = [(right - fold, top), (right, top + fold), (right - fold, top + fold)]
    c.convex(flap, INK)
    c.convex(_inset(flap, w), FOLD)

    tx0, ty0, tx1 = TITLE
    c.rect(at(tx0), at(ty0), at(tx1), at(ty0) + thick(TITLE_HEIGHT), INK)

    x0, x1 = at(TABLE_X[0]), at(TABLE_X[1])
    column = at(COLUMN_X)
    bar = thick(BAR)
    pad = thick(12)
    rows = [at(v) for v in ROWS_Y]
    hy0, hy1 = at(HEADER_Y[0]), rows[0]
    c.rect(x0, hy0, x1, hy1, GREEN)
    label_y = (hy0 + hy1 - bar) // 2
    c.rect(x0 + pad, label_y, x0 + pad + thick(36), label_y + bar, LABEL)
    amount_right = at(AMOUNT_RIGHT)
    c.rect(amount_right - thick(26), label_y, amount_right, label_y + bar, LABEL)

    for i in range(4):
        ry0, ry1 = rows[i], rows[i + 1]
        if i % 2 == 1:
            c.rect(x0, ry0, x1, ry1, BAND)
        by = (ry0 + ry1 - bar) // 2
        c.rect(x0 + pad, by, x0 + pad + thick(DESCRIPTIONS[i]), by + bar, TEXT)
        c.rect(amount_right - thick(AMOUNTS[i]), by, amount_right, by + bar, INK)
    rule = thick(3)
    c.rect(x0, rows[-1], x1, rows[-1] + rule, GREEN)
    c.rect(column, hy1, column + rule, rows[-1], RULE)
    return c.rgba()


PIXEL_COLORS = {
    ".": None, "K": INK, "W": PAPER, "F": FOLD, "G": GREEN, "g": BAND,
    "r": RULE, "s": TEXT, "d": INK, "l": LABEL,
}

PIXELS_16 = [
    "..KKKKKKKK......",
    "..KWWWWWWKK.....",
    "..KWddddWKFK....",
    "..KWWWWWWKFFK...",
    "..KWWWWWWKKKKK..",
    "..KWWWWWWWWWWK..",
    "..KWGGGGGGGGWK..",
    "..KWGGGGGGGGWK..",
    "..KWssWWrWddWK..",
    "..KWggggrgggWK..",
    "..KWsssWrWWdWK..",
    "..KWggggrgggWK..",
    "..KWssWWrWddWK..",
    "..KWGGGGGGGGWK..",
    "..KWWWWWWWWWWK..",
    "..KKKKKKKKKKKK..",
]

PIXELS_24 = [
    "...KKKKKKKKKKKK.........",
    "...KWWWWWWWWWWKK........",
    "...KWWWWWWWWWWKFK.......",
    "...KWWddddddWWKFFK......",
    "...KWWddddddWWKFFFK.....",
    "...KWWWWWWWWWWKFFFFK....",
    "...KWWWWWWWWWWKKKKKKK...",
    "...KWWWWWWWWWWWWWWWWK...",
    "...KWWGGGGGGGGGGGGWWK...",
    "...KWWGlllGGGGGllGWWK...",
    "...KWWGGGGGGGGGGGGWWK...",
    "...KWWWWWWWWWrWWWWWWK...",
    "...KWWWsssssWrWWddWWK...",
    "...KWWgggggggrggggWWK...",
    "...KWWgsssgggrgdddWWK...",
    "...KWWgggggggrggggWWK...",
    "...KWWWWWWWWWrWWWWWWK...",
    "...KWWWssssWWrWWWdWWK...",
    "...KWWgggggggrggggWWK...",
    "...KWWgsssssgrgdddWWK...",
    "...KWWgggggggrggggWWK...",
    "...KWWGGGGGGGGGGGGWWK...",
    "...KWWWWWWWWWWWWWWWWK...",
    "...KKKKKKKKKKKKKKKKKK...",
]


PIXELS_32 = [
    "....KKKKKKKKKKKKKKKK............",
    "....KWWWWWWWWWWWWWWKK...........",
    "....KWWWWWWWWWWWWWWKFK..........",
    "....KWWddddddddWWWWKFFK.........",
    "....KWWddddddddWWWWKFFFK........",
    "....KWWWWWWWWWWWWWWKFFFFK.......",
    "....KWWWWWWWWWWWWWWKFFFFFK......",
    "....KWWWWWWWWWWWWWWKFFFFFFK.....",
    "....KWWWWWWWWWWWWWWKKKKKKKKK....",
    "....KWWWWWWWWWWWWWWWWWWWWWWK....",
    "....KWWGGGGGGGGGGGGGGGGGGWWK....",
    "....KWWGGllllGGGGGGGlllGGWWK....",
    "....KWWGGGGGGGGGGGGGGGGGGWWK....",
    "....KWWWWWWWWWWWWWrWWWWWWWWK....",
    "....KWWWWWWWWWWWWWrWWWWWWWWK....",
    "....KWWWWsssssssWWrWWdddWWWK....",
    "....KWWWWWWWWWWWWWrWWWWWWWWK....",
    "....KWWgggggggggggrggggggWWK....",
    "....KWWgggggggggggrggggggWWK....",
    "....KWWggsssssggggrgddddgWWK....",
    "....KWWgggggggggggrggggggWWK....",
    "....KWWWWWWWWWWWWWrWWWWWWWWK....",
    "....KWWWWWWWWWWWWWrWWWWWWWWK....",
    "....KWWWWssssssssWrWWWddWWWK....",
    "....KWWWWWWWWWWWWWrWWWWWWWWK....",
    "....KWWgggggggggggrggggggWWK....",
    "....KWWgggggggggggrggggggWWK....",
    "....KWWggssssssgggrggdddgWWK....",
    "....KWWgggggggggggrggggggWWK....",
    "....KWWGGGGGGGGGGGGGGGGGGWWK....",
    "....KWWWWWWWWWWWWWWWWWWWWWWK....",
    "....KKKKKKKKKKKKKKKKKKKKKKKK....",
]


def draw_pixels(rows):
    out = []
    for row in rows:
        for ch in row:
            color = PIXEL_COLORS[ch]
            out.append((0, 0, 0, 0) if color is None else color + (255,))
    return out


def draw(size):
    if size == 16:
        return draw_pixels(PIXELS_16)
    if size == 24:
        return draw_pixels(PIXELS_24)
    if size == 32:
        return draw_pixels(PIXELS_32)
    return draw_vector(size)


# ------------------------------------------------------------- palettes ---

def binary_alpha(pixels):
    """What a palette image with a 1-bit mask can show: opaque colour or nothing."""
    return [(r, g, b, 255) if a >= 128 else (0, 0, 0, 0) for r, g, b, a in pixels]


def quantize(pixels, limit):
    """Median cut over the opaque colours; returns (palette, index per pixel or -1)."""
    counts = {}
    for r, g, b, a in pixels:
        if a:
            counts[(r, g, b)] = counts.get((r, g, b), 0) + 1
    boxes = [sorted(counts.items())]
    while len(boxes) < limit:
        best, best_key = None, None
        for i, box in enumerate(boxes):
            if len(box) < 2:
                continue
            spans = [max(c[k] for c, _ in box) - min(c[k] for c, _ in box) for k in range(3)]
            key = (max(spans) * sum(n for _, n in box), -i)
            if best_key is None or key > best_key:
                best, best_key = i, key
        if best is None:
            break
        box = boxes[best]
        spans = [max(c[k] for c, _ in box) - min(c[k] for c, _ in box) for k in range(3)]
        axis = spans.index(max(spans))
        box = sorted(box, key=lambda e: (e[0][axis], e[0]))
        total = sum(n for _, n in box)
        running, cut = 0, 1
        for j, (_, n) in enumerate(box[:-1]):
            running += n
            cut = j + 1
            if running * 2 >= total:
                break
        boxes[best:best + 1] = [box[:cut], box[cut:]]
    palette, lookup = [], {}
    for box in boxes:
        total = sum(n for _, n in box)
        mean = tuple((sum(c[k] * n for c, n in box) + total // 2) // total for k in range(3))
        for colour, _ in box:
            lookup[colour] = len(palette)
        palette.append(mean)
    indices = [lookup[(r, g, b)] if a else -1 for r, g, b, a in pixels]
    return palette, indices


# ------------------------------------------------------------- encoders ---

def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def _png(width, height, color_type, rows, extra=b""):
    raw = b"".join(b"\x00" + row for row in rows)
    header = struct.pack(">IIBBBBB", width, height, 8, color_type, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", header) + extra
            + _chunk(b"IDAT", zlib.compress(raw, 9)) + _chunk(b"IEND", b""))


def png_rgba(size, pixels):
    rows = [bytes(v for p in pixels[y * size:(y + 1) * size] for v in p) for y in range(size)]
    return _png(size, size, 6, rows)


def png_palette(size, pixels):
    palette, indices = quantize(binary_alpha(pixels), 255)
    clear = len(palette)
    entries = palette + [(0, 0, 0)]
    plte = bytes(v for colour in entries for v in colour)
    trns = b"\xff" * clear + b"\x00"
    rows = [bytes(clear if i < 0 else i for i in indices[y * size:(y + 1) * size]) for y in range(size)]
    return _png(size, size, 3, rows, _chunk(b"PLTE", plte) + _chunk(b"tRNS", trns))


def _stride(nbytes):
    return (nbytes + 3) & ~3


def _and_mask(size, opaque):
    stride = _stride((size + 7) // 8)
    out = bytearray()
    for y in reversed(range(size)):
        row = bytearray(stride)
        for x in range(size):
            if not opaque[y * size + x]:
                row[x >> 3] |= 0x80 >> (x & 7)
        out += row
    return bytes(out)


def _bitmap_header(size, bits, image_bytes):
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, image_bytes, 0, 0, 0, 0)


def dib32(size, pixels):
    xor = bytearray()
    for y in reversed(range(size)):
        for r, g, b, a in pixels[y * size:(y + 1) * size]:
            xor += bytes((b, g, r, a)) if a else b"\x00\x00\x00\x00"
    mask = _and_mask(size, [p[3] > 0 for p in pixels])
    return _bitmap_header(size, 32, len(xor) + len(mask)) + bytes(xor) + mask


def dib8(size, pixels):
    # Masked pixels must be black in the colour plane: the system XORs it onto the screen.
    palette, indices = quantize(binary_alpha(pixels), 255)
    clear = len(palette)
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    table += b"\x00" * (1024 - len(table))
    stride = _stride(size)
    xor = bytearray()
    for y in reversed(range(size)):
        row = bytes(clear if i < 0 else i for i in indices[y * size:(y + 1) * size])
        xor += row + b"\x00" * (stride - size)
    mask = _and_mask(size, [i >= 0 for i in indices])
    return _bitmap_header(size, 8, len(xor) + len(mask)) + table + bytes(xor) + mask


def encode(size, bits, as_png, pixels):
    if as_png:
        return png_palette(size, pixels) if bits == 8 else png_rgba(size, pixels)
    return dib8(size, pixels) if bits == 8 else dib32(size, pixels)


def ico(images):
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = len(out) + 16 * len(images)
    directory, blobs = b"", b""
    for size, bits, data in images:
        dim = 0 if size == 256 else size
        directory += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, bits, len(data), offset)
        blobs += data
        offset += len(data)
    return out + directory + blobs


# -------------------------------------------------------------- preview ---

def decoded(size, bits, as_png, pixels):
    """The pixels as the stored image shows them (palette images lose soft alpha)."""
    if bits != 8:
        return pixels
    palette, indices = quantize(binary_alpha(pixels), 255)
    return [(0, 0, 0, 0) if i < 0 else palette[i] + (255,) for i in indices]


def preview(shown):
    """All images at 1:1 on light and dark ground, then enlarged pixel-exact."""
    scale = {256: 1, 128: 1, 64: 2, 48: 3, 32: 4, 24: 5, 16: 8}
    gap = 12
    width = gap + sum(size + gap for size, _ in shown)
    big_width = gap + sum(size * scale[size] + gap for size, _ in shown)
    width = max(width, big_width)
    height = gap + 256 + gap + 256 + gap + 256 + gap
    grounds = [(0xF4, 0xF4, 0xF4), (0x30, 0x30, 0x38), (0xFF, 0xFF, 0xFF)]
    canvas = [[(0xE0, 0xE0, 0xE0)] * width for _ in range(height)]

    def put(ox, oy, size, pixels, k, ground):
        for y in range(size * k):
            for x in range(size * k):
                r, g, b, a = pixels[(y // k) * size + x // k]
                canvas[oy + y][ox + x] = tuple((c * a + bg * (255 - a) + 127) // 255
                                               for c, bg in zip((r, g, b), ground))

    for band, ground in enumerate(grounds):
        top = gap + band * (256 + gap)
        for y in range(top, top + 256):
            canvas[y] = [ground] * width
        x = gap
        for size, pixels in shown:
            k = scale[size] if band == 2 else 1
            put(x, top + (256 - size * k) // 2, size, pixels, k, ground)
            x += size * k + gap
    rows = [bytes(v for p in row for v in p) for row in canvas]
    return _png(width, height, 2, rows)


def main():
    cache, images, shown = {}, [], []
    for size, bits, as_png in IMAGES:
        if size not in cache:
            cache[size] = draw(size)
        pixels = cache[size]
        images.append((size, bits, encode(size, bits, as_png, pixels)))
        shown.append((size, decoded(size, bits, as_png, pixels)))
    os.makedirs(RESOURCES, exist_ok=True)
    with open(os.path.join(RESOURCES, "ledgrix.ico"), "wb") as f:
        f.write(ico(images))
    with open(os.path.join(RESOURCES, "ledgrix-preview.png"), "wb") as f:
        f.write(preview(shown))
    return 0


if __name__ == "__main__":
    sys.exit(main())
