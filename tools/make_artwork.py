#!/usr/bin/env python3
"""Draws Orvella's own artwork: the start button pictures, the selection and new-item
pictures of the menu, the program icon, the icons of the options pages, the
uninstaller's side picture and the pictures of the log-off and shut-down dialogs.  Pure
Python (zlib only), so the build needs nothing else.

usage: make_artwork.py OUTPUT_FOLDER
"""
import math
import operator
import os
import struct
import sys
import zlib

SUPERSAMPLE = 4


def png_bytes(width, height, rgba_rows):
    """rgba_rows: list of rows, each a list of (r, g, b, a) with straight alpha."""
    raw = bytearray()
    for row in rgba_rows:
        raw.append(0)
        for r, g, b, a in row:
            raw += bytes((r, g, b, a))

    def chunk(tag, data):
        body = tag + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def render(size, shade):
    """Renders a square picture of `size` pixels; see render_rect()."""
    return render_rect(size, size, shade)


def over(dst, src):
    """Premultiplied source-over."""
    a = src[3]
    return tuple(src[i] + dst[i] * (1 - a) for i in range(4))


def orb_shader(base, glow, pressed):
    """A glassy round button with a four-petal mark: Orvella's start button."""
    def shade(x, y):
        cx, cy = x - 0.5, y - 0.5
        d = math.hypot(cx, cy)
        out = (0.0, 0.0, 0.0, 0.0)
        radius = 0.44
        if d <= radius + 0.03:
            # soft outer ring
            ring = max(0.0, 1 - abs(d - radius) / 0.03) * 0.35
            out = over(out, (0.05 * ring, 0.08 * ring, 0.12 * ring, ring))
        if d <= radius:
            t = (y - 0.06) / 0.88
            top = tuple(glow[i] for i in range(3))
            bottom = tuple(base[i] for i in range(3))
            col = tuple(top[i] * (1 - t) + bottom[i] * t for i in range(3))
            if pressed:
                col = tuple(c * 0.72 for c in col)
            out = over(out, col + (1.0,))
            # glass highlight on the upper half
            hx, hy = cx / 0.36, (cy + 0.17) / 0.2
            if hx * hx + hy * hy <= 1:
                h = 0.28 * (1 - (hx * hx + hy * hy)) * (0.4 if pressed else 1.0)
                out = over(out, (h, h, h, h))
            # four petals: rounded squares leaning towards the centre
            petal = 0.115
            gap = 0.022
            for sx in (-1, 1):
                for sy in (-1, 1):
                    px = sx * (gap + petal)
                    py = sy * (gap + petal)
                    dx = abs(cx - px) - petal + 0.03
                    dy = abs(cy - py) - petal + 0.03
                    q = math.hypot(max(dx, 0), max(dy, 0)) + min(max(dx, dy), 0) - 0.03
                    if q <= 0:
                        w = 0.96 if not pressed else 0.85
                        out = over(out, (w, w, w, 1.0))
        return out
    return shade


def item_picture(width, height, top, bottom, border, fill_alpha, border_alpha):
    """A rounded, softly lit rectangle drawn stretched behind a menu item: the selection
    pictures ("select%i.png") and the new-item highlights ("hilight%i.png")."""
    radius = 0.18

    def shade(x, y):
        # Distance to the rounded rectangle's edge, in units of the shorter side.
        aspect = width / height
        px, py = (x - 0.5) * aspect, y - 0.5
        hx, hy = aspect / 2 - 0.02, 0.5 - 0.04
        qx, qy = abs(px) - (hx - radius), abs(py) - (hy - radius)
        d = math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - radius
        if d > 0:
            return (0.0, 0.0, 0.0, 0.0)
        col = tuple(top[i] * (1 - y) + bottom[i] * y for i in range(3))
        if d > -0.06:
            a = border_alpha
            col = border
        else:
            a = fill_alpha * (1.0 - 0.35 * y)
        return tuple(c * a for c in col) + (a,)
    return render_rect(width, height, shade)


def render_rect(width, height, shade):
    """Renders a width x height picture: shade(x, y) -> premultiplied (r, g, b, a) in 0..1
    for a point in the unit square, sampled SUPERSAMPLE^2 times per pixel; the result is
    rows of straight-alpha (r, g, b, a) bytes."""
    rows = []
    n = SUPERSAMPLE
    for py in range(height):
        row = []
        for px in range(width):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(n):
                for sx in range(n):
                    c = shade((px + (sx + 0.5) / n) / width, (py + (sy + 0.5) / n) / height)
                    for i in range(4):
                        acc[i] += c[i]
            acc = [v / (n * n) for v in acc]
            a = acc[3]
            if a <= 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(min(255, round(acc[i] / a * 255)) for i in range(3)) +
                           (min(255, round(a * 255)),))
        rows.append(row)
    return rows


# (top colour, bottom colour, border colour, fill alpha, border alpha)
SELECTION_STYLES = [
    ((0.55, 0.75, 1.0), (0.20, 0.45, 0.85), (0.70, 0.85, 1.0), 0.55, 0.9),   # blue glass
    ((1.0, 1.0, 1.0), (0.80, 0.84, 0.90), (1.0, 1.0, 1.0), 0.35, 0.8),       # frosted
    ((1.0, 0.80, 0.45), (0.90, 0.50, 0.10), (1.0, 0.85, 0.55), 0.55, 0.9),   # amber
    ((0.60, 0.90, 0.60), (0.20, 0.60, 0.25), (0.70, 0.95, 0.70), 0.50, 0.9), # green
]
HIGHLIGHT_STYLES = [
    ((1.0, 0.90, 0.55), (1.0, 0.75, 0.30), (1.0, 0.85, 0.45), 0.30, 0.55),   # warm
    ((0.65, 0.95, 0.70), (0.35, 0.80, 0.45), (0.60, 0.90, 0.65), 0.28, 0.5), # fresh green
    ((0.75, 0.85, 1.0), (0.50, 0.65, 0.95), (0.70, 0.80, 1.0), 0.28, 0.5),   # pale blue
]


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def ico_bytes(pngs):
    """An icon file holding PNG images (Vista and later read them)."""
    header = struct.pack("<HHH", 0, 1, len(pngs))
    offset = 6 + 16 * len(pngs)
    entries = b""
    body = b""
    for size, data in pngs:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
        body += data
    return header + entries + body


def bmp_bytes(width, height, rgb_rows):
    """A bottom-up 24-bit BMP."""
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rgb_rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        pixels += line
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + bytes(pixels)


def side_picture(width, height):
    """The uninstaller's side band: a deep blue gradient with the orb mark."""
    shade = orb_shader((0.10, 0.33, 0.70), (0.45, 0.75, 1.0), False)
    rows = []
    orb = 100
    ox, oy = (width - orb) // 2, 40
    orb_rows = render(orb, shade)
    for y in range(height):
        t = y / (height - 1)
        base = (int(12 + 18 * t), int(40 + 40 * t), int(92 + 60 * t))
        row = []
        for x in range(width):
            c = base
            if ox <= x < ox + orb and oy <= y < oy + orb:
                r, g, b, a = orb_rows[y - oy][x - ox]
                f = a / 255
                c = tuple(int(c[i] * (1 - f) + (r, g, b)[i] * f) for i in range(3))
            row.append(c)
        rows.append(row)
    return rows


# ---- The program icons 101 to 104 of the options pages ----
# 101: a picture fixed on the screen (a pinned landscape), 102: a picture that moves with
# the menu (a landscape on a menu panel with a move arrow), 103: a separator line between
# two menu lines, 104: a search box.  16, 32 and 48 pixel images each.

PROGRAM_ICON_SIZES = (16, 32, 48)


def rounded_box(x, y, left, top, right, bottom, radius):
    """Signed distance to a rounded rectangle (negative inside)."""
    cx, cy = (left + right) / 2, (top + bottom) / 2
    hx, hy = (right - left) / 2, (bottom - top) / 2
    qx, qy = abs(x - cx) - (hx - radius), abs(y - cy) - (hy - radius)
    return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - radius


def solid(color, alpha=1.0):
    return tuple(c * alpha for c in color) + (alpha,)


def landscape(x, y, left, top, right, bottom):
    """A small landscape (sky, sun, two hills) inside the given rectangle, or None."""
    if not (left <= x <= right and top <= y <= bottom):
        return None
    u, v = (x - left) / (right - left), (y - top) / (bottom - top)
    sky = (0.45 + 0.35 * v, 0.70 + 0.2 * v, 1.0)
    out = solid(sky)
    if math.hypot(u - 0.72, v - 0.30) < 0.14:
        out = solid((1.0, 0.85, 0.25))
    if v > 0.62 + 0.18 * math.sin(u * 3.2 + 0.4):
        out = solid((0.30, 0.66, 0.25))
    if v > 0.80 + 0.08 * math.sin(u * 5.0 + 2.0):
        out = solid((0.18, 0.50, 0.18))
    return out


def framed_picture(x, y, left, top, right, bottom):
    """A landscape in a white frame with a grey outline."""
    out = (0.0, 0.0, 0.0, 0.0)
    d = rounded_box(x, y, left, top, right, bottom, 0.03)
    if d <= 0:
        out = solid((0.42, 0.45, 0.50))
    if d <= -0.03:
        out = solid((1.0, 1.0, 1.0))
    inner = landscape(x, y, left + 0.07, top + 0.07, right - 0.07, bottom - 0.07)
    if inner and d <= -0.03:
        out = inner
    return out


def pinned_picture_shader(x, y):
    out = framed_picture(x, y, 0.06, 0.22, 0.94, 0.92)
    # The pushpin: a red head with a highlight over a short grey needle.
    if abs(x - 0.5) < 0.035 and 0.12 < y < 0.40:
        out = solid((0.35, 0.35, 0.38))
    d = math.hypot(x - 0.5, y - 0.16)
    if d < 0.15:
        out = solid((0.55, 0.05, 0.05))
    if d < 0.12:
        out = solid((0.88, 0.14, 0.12))
    if math.hypot(x - 0.46, y - 0.12) < 0.045:
        out = solid((1.0, 0.65, 0.60))
    return out


def moving_picture_shader(x, y):
    out = (0.0, 0.0, 0.0, 0.0)
    # A menu panel whose background is the picture, with two text lines over it.
    out = framed_picture(x, y, 0.04, 0.04, 0.72, 0.80)
    for line_y in (0.30, 0.52):
        if 0.16 <= x <= 0.58 and abs(y - line_y) < 0.045 and out[3] > 0:
            out = solid((0.15, 0.18, 0.25))
    # A bold arrow towards the lower right: the panel and its picture move together.
    ax, ay = (x - 0.62) / 0.36, (y - 0.60) / 0.36
    s, t = (ax + ay) / math.sqrt(2), (ay - ax) / math.sqrt(2)  # along and across the diagonal
    shaft = 0.15 <= s <= 0.75 and abs(t) <= 0.13
    head = 0.62 <= s <= 1.22 and abs(t) <= (1.22 - s) * 0.75
    shaft_edge = 0.10 <= s <= 0.80 and abs(t) <= 0.20
    head_edge = 0.55 <= s <= 1.34 and abs(t) <= (1.34 - s) * 0.75
    if shaft_edge or head_edge:
        out = solid((1.0, 1.0, 1.0))
    if shaft or head:
        out = solid((0.10, 0.40, 0.85))
    return out


def separator_shader(x, y):
    out = (0.0, 0.0, 0.0, 0.0)
    # Two menu lines (an icon square and a text bar), and the etched line between them.
    for line_y in (0.22, 0.78):
        if rounded_box(x, y, 0.06, line_y - 0.10, 0.26, line_y + 0.10, 0.04) <= 0:
            out = solid((0.30, 0.55, 0.90))
        if rounded_box(x, y, 0.34, line_y - 0.06, 0.94, line_y + 0.06, 0.03) <= 0:
            out = solid((0.55, 0.58, 0.64))
    if 0.04 <= x <= 0.96:
        if 0.43 <= y < 0.51:
            out = solid((0.28, 0.30, 0.35))
        elif 0.51 <= y < 0.58:
            out = solid((1.0, 1.0, 1.0))
    return out


def search_box_shader(x, y):
    out = (0.0, 0.0, 0.0, 0.0)
    d = rounded_box(x, y, 0.02, 0.24, 0.98, 0.76, 0.10)
    if d <= 0:
        out = solid((0.35, 0.45, 0.60))
    if d <= -0.05:
        out = solid((1.0, 1.0, 1.0))
    # A caret-like text cursor on the left, a magnifying glass on the right.
    if abs(x - 0.16) < 0.03 and 0.36 < y < 0.64:
        out = solid((0.15, 0.15, 0.20))
    ring = math.hypot(x - 0.66, y - 0.45)
    if 0.09 <= ring <= 0.15:
        out = solid((0.12, 0.30, 0.65))
    s, t = (x - 0.66 + y - 0.45) / math.sqrt(2), (y - 0.45 - (x - 0.66)) / math.sqrt(2)
    if 0.14 <= s <= 0.33 and abs(t) <= 0.045:
        out = solid((0.12, 0.30, 0.65))
    return out


PROGRAM_ICONS = [
    ("picture-fixed.ico", pinned_picture_shader),
    ("picture-moves.ico", moving_picture_shader),
    ("separator.ico", separator_shader),
    ("search-box.ico", search_box_shader),
]


def write_program_icons(out):
    for name, shader in PROGRAM_ICONS:
        pngs = [(s, png_bytes(s, s, render(s, shader))) for s in PROGRAM_ICON_SIZES]
        write(os.path.join(out, name), ico_bytes(pngs))


# ---- The log-off and shut-down dialogs: a baseline JPEG writer, the dialogs' backgrounds
# and the picture buttons (images\<id>.jpg hot, <id + 100> pressed, <id + 200> normal). ----

JPEG_ZIGZAG = [
    0, 1, 8, 16, 9, 2, 3, 10, 17, 24, 32, 25, 18, 11, 4, 5, 12, 19, 26, 33, 40, 48, 41, 34,
    27, 20, 13, 6, 7, 14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44,
    51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63]
JPEG_LUMA_QUANT = [
    16, 11, 10, 16, 24, 40, 51, 61, 12, 12, 14, 19, 26, 58, 60, 55, 14, 13, 16, 24, 40, 57,
    69, 56, 14, 17, 22, 29, 51, 87, 80, 62, 18, 22, 37, 56, 68, 109, 103, 77, 24, 35, 55, 64,
    81, 104, 113, 92, 49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99]
JPEG_CHROMA_QUANT = [
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99] + [99] * 32
# The typical Huffman tables: (code counts by length 1..16, symbols).
JPEG_DC_LUMA = ([0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0], list(range(12)))
JPEG_DC_CHROMA = ([0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0], list(range(12)))
JPEG_AC_LUMA = ([0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7D], bytes.fromhex(
    "01020300041105122131410613516107227114328191a1082342b1c11552d1f02433627282090a161718"
    "191a25262728292a3435363738393a434445464748494a535455565758595a636465666768696a737475"
    "767778797a838485868788898a92939495969798999aa2a3a4a5a6a7a8a9aab2b3b4b5b6b7b8b9bac2c3"
    "c4c5c6c7c8c9cad2d3d4d5d6d7d8d9dae1e2e3e4e5e6e7e8e9eaf1f2f3f4f5f6f7f8f9fa"))
JPEG_AC_CHROMA = ([0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77], bytes.fromhex(
    "000102031104052131061241510761711322328108144291a1b1c109233352f0156272d10a162434e125"
    "f11718191a262728292a35363738393a434445464748494a535455565758595a636465666768696a7374"
    "75767778797a82838485868788898a92939495969798999aa2a3a4a5a6a7a8a9aab2b3b4b5b6b7b8b9ba"
    "c2c3c4c5c6c7c8c9cad2d3d4d5d6d7d8d9dae2e3e4e5e6e7e8e9eaf2f3f4f5f6f7f8f9fa"))
JPEG_COS = [[(math.sqrt(0.5) if u == 0 else 1.0) * math.cos((2 * x + 1) * u * math.pi / 16) / 2
             for x in range(8)] for u in range(8)]


def jpeg_huffman_codes(table):
    counts, symbols = table
    codes, code, k = {}, 0, 0
    for length, count in enumerate(counts, 1):
        for _ in range(count):
            codes[symbols[k]] = (code, length)
            code += 1
            k += 1
        code <<= 1
    return codes


def jpeg_bytes(width, height, rgb_rows, quality=92):
    """A baseline JPEG (4:4:4, the typical Huffman tables) of rows of (r, g, b) bytes."""
    scale = 5000 // quality if quality < 50 else 200 - 2 * quality
    quants = [[min(255, max(1, (v * scale + 50) // 100)) for v in table]
              for table in (JPEG_LUMA_QUANT, JPEG_CHROMA_QUANT)]
    tables = [(jpeg_huffman_codes(JPEG_DC_LUMA), jpeg_huffman_codes(JPEG_AC_LUMA)),
              (jpeg_huffman_codes(JPEG_DC_CHROMA), jpeg_huffman_codes(JPEG_AC_CHROMA))]
    planes = [[], [], []]
    for y in range(height):
        row = rgb_rows[y]
        for plane in planes:
            plane.append([])
        for r, g, b in row:
            planes[0][y].append(0.299 * r + 0.587 * g + 0.114 * b - 128)
            planes[1][y].append(-0.168736 * r - 0.331264 * g + 0.5 * b)
            planes[2][y].append(0.5 * r - 0.418688 * g - 0.081312 * b)
    out = bytearray()
    acc, nbits = 0, 0

    def put(code, length):
        nonlocal acc, nbits
        acc = (acc << length) | code
        nbits += length
        while nbits >= 8:
            nbits -= 8
            byte = (acc >> nbits) & 0xFF
            out.append(byte)
            if byte == 0xFF:
                out.append(0)
        acc &= (1 << nbits) - 1

    def magnitude(v):
        size = abs(v).bit_length()
        return size, (v if v >= 0 else v + (1 << size) - 1)

    previous = [0, 0, 0]
    for by in range(0, height, 8):
        for bx in range(0, width, 8):
            for c in range(3):
                plane = planes[c]
                block = [[plane[min(by + y, height - 1)][min(bx + x, width - 1)]
                          for x in range(8)] for y in range(8)]
                rows = [[sum(map(operator.mul, cosines, line)) for cosines in JPEG_COS]
                        for line in block]
                coeffs = [0] * 64
                quant = quants[0 if c == 0 else 1]
                for u, column in enumerate(zip(*rows)):
                    for v, cosines in enumerate(JPEG_COS):
                        value = sum(map(operator.mul, cosines, column))
                        coeffs[v * 8 + u] = int(round(value / quant[v * 8 + u]))
                dc_codes, ac_codes = tables[0 if c == 0 else 1]
                diff = coeffs[0] - previous[c]
                previous[c] = coeffs[0]
                size, bits = magnitude(diff)
                put(*dc_codes[size])
                if size:
                    put(bits, size)
                run = 0
                for k in range(1, 64):
                    value = coeffs[JPEG_ZIGZAG[k]]
                    if value == 0:
                        run += 1
                        continue
                    while run > 15:
                        put(*ac_codes[0xF0])
                        run -= 16
                    size, bits = magnitude(value)
                    put(*ac_codes[(run << 4) | size])
                    put(bits, size)
                    run = 0
                if run:
                    put(*ac_codes[0x00])
    if nbits:
        put((1 << (8 - nbits)) - 1, 8 - nbits)

    def segment(marker, body):
        return struct.pack(">BBH", 0xFF, marker, len(body) + 2) + body

    header = b"\xff\xd8" + segment(0xE0, b"JFIF\0\x01\x01\0\0\x01\0\x01\0\0")
    for index, quant in enumerate(quants):
        header += segment(0xDB, bytes([index]) + bytes(quant[JPEG_ZIGZAG[k]] for k in range(64)))
    header += segment(0xC0, struct.pack(">BHHB", 8, height, width, 3) +
                      bytes([1, 0x11, 0, 2, 0x11, 1, 3, 0x11, 1]))
    for tc_th, (counts, symbols) in ((0x00, JPEG_DC_LUMA), (0x10, JPEG_AC_LUMA),
                                     (0x01, JPEG_DC_CHROMA), (0x11, JPEG_AC_CHROMA)):
        header += segment(0xC4, bytes([tc_th]) + bytes(counts) + bytes(symbols))
    header += segment(0xDA, bytes([3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0]))
    return header + bytes(out) + b"\xff\xd9"


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def to_bytes(colour):
    return tuple(min(255, max(0, int(round(c * 255)))) for c in colour)


# Each dialog's colours: background top, background bottom, footer, tile, tile hot, tile
# pressed.
POWER_SCHEMES = {
    "shutdown": ((0.05, 0.17, 0.36), (0.09, 0.29, 0.55), (0.03, 0.11, 0.25),
                 (0.16, 0.42, 0.76), (0.25, 0.55, 0.92), (0.09, 0.27, 0.52)),
    "logoff": ((0.03, 0.22, 0.27), (0.06, 0.38, 0.43), (0.02, 0.15, 0.18),
               (0.09, 0.55, 0.58), (0.16, 0.68, 0.70), (0.05, 0.36, 0.39)),
}


def power_background(width, height, scheme):
    """The dialog's background: a deep gradient with a soft light from the upper left, a
    faint rule under the title (4.4 of 16 rows) and a darker footer behind Cancel (from row
    13 of 16)."""
    top, bottom, footer = scheme[0], scheme[1], scheme[2]
    rows = []
    rule_y = height * 4.4 / 16
    footer_y = height * 13 / 16
    for y in range(height):
        t = y / (height - 1)
        row = []
        for x in range(width):
            if y >= footer_y:
                colour = mix(footer, top, 0.25 * (height - y) / (height - footer_y))
                if y < footer_y + 1:
                    colour = mix(colour, (1, 1, 1), 0.12)
            else:
                colour = mix(top, bottom, t)
                glow = max(0.0, 1 - math.hypot(x / width - 0.15, y / height - 0.05) / 0.9)
                colour = mix(colour, (1, 1, 1), 0.10 * glow * glow)
                if abs(y - rule_y) < 0.75 and width / 13 <= x <= width - width / 13:
                    colour = mix(colour, (1, 1, 1), 0.22)
            row.append(to_bytes(colour))
        rows.append(row)
    return rows


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def in_triangle(px, py, a, b, c):
    def side(p, q, r):
        return (p[0] - r[0]) * (q[1] - r[1]) - (q[0] - r[0]) * (p[1] - r[1])
    d1, d2, d3 = side((px, py), a, b), side((px, py), b, c), side((px, py), c, a)
    return not ((d1 < 0 or d2 < 0 or d3 < 0) and (d1 > 0 or d2 > 0 or d3 > 0))


STROKE = 0.075


def glyph_power(x, y):
    d = math.hypot(x - 0.5, y - 0.53)
    angle = math.degrees(math.atan2(y - 0.53, x - 0.5))
    ring = abs(d - 0.24) < STROKE / 2 and not (-125 < angle < -55)
    return ring or segment_distance(x, y, 0.5, 0.2, 0.5, 0.5) < STROKE / 2


def glyph_restart(x, y):
    cx, cy, r = 0.5, 0.53, 0.24
    d = math.hypot(x - cx, y - cy)
    angle = math.degrees(math.atan2(y - cy, x - cx)) % 360
    if abs(d - r) < STROKE / 2 and not (262 < angle < 318):
        return True
    theta = math.radians(262)
    px, py = cx + r * math.cos(theta), cy + r * math.sin(theta)
    tx, ty = -math.sin(theta), math.cos(theta)     # clockwise on the screen
    nx, ny = math.cos(theta), math.sin(theta)
    tip = (px + 0.13 * tx, py + 0.13 * ty)
    return in_triangle(x, y, tip, (px + 0.1 * nx, py + 0.1 * ny), (px - 0.1 * nx, py - 0.1 * ny))


def glyph_moon(x, y):
    return math.hypot(x - 0.5, y - 0.5) < 0.26 and math.hypot(x - 0.63, y - 0.39) > 0.21


SNOWFLAKE = []
for _k in range(6):
    _a = math.radians(60 * _k - 90)
    _ex, _ey = 0.5 + 0.29 * math.cos(_a), 0.5 + 0.29 * math.sin(_a)
    SNOWFLAKE.append((0.5, 0.5, _ex, _ey))
    _bx, _by = 0.5 + 0.17 * math.cos(_a), 0.5 + 0.17 * math.sin(_a)
    for _s in (-1, 1):
        _b = _a + _s * math.radians(45)
        SNOWFLAKE.append((_bx, _by, _bx + 0.1 * math.cos(_b), _by + 0.1 * math.sin(_b)))


def glyph_snowflake(x, y):
    if math.hypot(x - 0.5, y - 0.5) > 0.33:
        return False
    return any(segment_distance(x, y, *s) < 0.03 for s in SNOWFLAKE)


def person(x, y, cx, cy, grow=0.0):
    head = math.hypot(x - cx, y - (cy - 0.15)) < 0.095 + grow
    ex, ey = (x - cx) / (0.17 + grow), (y - (cy + 0.17)) / (0.16 + grow)
    body = ex * ex + ey * ey < 1 and y < cy + 0.17 + grow
    return head or body


def glyph_switch_user(x, y):
    if person(x, y, 0.6, 0.55):
        return True
    return person(x, y, 0.38, 0.49) and not person(x, y, 0.6, 0.55, 0.045)


def glyph_log_off(x, y):
    half = STROKE / 2
    frame = (segment_distance(x, y, 0.56, 0.24, 0.28, 0.24) < half or
             segment_distance(x, y, 0.28, 0.24, 0.28, 0.76) < half or
             segment_distance(x, y, 0.28, 0.76, 0.56, 0.76) < half)
    shaft = segment_distance(x, y, 0.42, 0.5, 0.68, 0.5) < half
    head = in_triangle(x, y, (0.8, 0.5), (0.66, 0.36), (0.66, 0.64))
    return frame or shaft or head


# id: the choice's symbol.
POWER_GLYPHS = {101: glyph_snowflake, 102: glyph_moon, 103: glyph_power, 104: glyph_restart,
                105: glyph_switch_user, 106: glyph_log_off}
POWER_BUTTON_SIZE = 72
POWER_SAMPLES = 3


def glyph_coverage(glyph, size, scale):
    """The symbol's coverage per pixel (0..1), scaled about the centre by `scale`."""
    n = POWER_SAMPLES
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            hits = 0
            for sy in range(n):
                for sx in range(n):
                    x = ((px + (sx + 0.5) / n) / size - 0.5) / scale + 0.5
                    y = ((py + (sy + 0.5) / n) / size - 0.5) / scale + 0.5
                    hits += glyph(x, y)
            row.append(hits / (n * n))
        rows.append(row)
    return rows


def power_button(size, tile, coverage, border):
    """A flat square tile with a faint light at the top, the white symbol and, for the hot
    picture, a white frame."""
    rows = []
    frame = max(2, size // 30)
    for y in range(size):
        row = []
        for x in range(size):
            colour = mix(tile, (1, 1, 1), 0.10 * (1 - y / size))
            if border and (x < frame or y < frame or x >= size - frame or y >= size - frame):
                colour = mix(colour, (1, 1, 1), 0.85)
            colour = mix(colour, (1, 1, 1), coverage[y][x])
            row.append(to_bytes(colour))
        rows.append(row)
    return rows


def draw_power_artwork(images):
    for name, scheme in POWER_SCHEMES.items():
        write(os.path.join(images, name + "back.jpg"),
              jpeg_bytes(480, 270, power_background(480, 270, scheme)))
    size = POWER_BUTTON_SIZE
    for number, glyph in POWER_GLYPHS.items():
        scheme = POWER_SCHEMES["logoff" if number >= 105 else "shutdown"]
        tile, hot, pressed = scheme[3], scheme[4], scheme[5]
        upright = glyph_coverage(glyph, size, 1.0)
        pushed = glyph_coverage(glyph, size, 0.9)
        write(os.path.join(images, "%d.jpg" % number),
              jpeg_bytes(size, size, power_button(size, hot, upright, True)))
        write(os.path.join(images, "%d.jpg" % (number + 100)),
              jpeg_bytes(size, size, power_button(size, pressed, pushed, False)))
        write(os.path.join(images, "%d.jpg" % (number + 200)),
              jpeg_bytes(size, size, power_button(size, tile, upright, False)))


def main():
    out = sys.argv[1]
    images = os.path.join(out, "images")
    os.makedirs(images, exist_ok=True)
    blue, light = (0.08, 0.30, 0.66), (0.36, 0.68, 0.98)
    hover_blue, hover_light = (0.12, 0.42, 0.82), (0.55, 0.82, 1.0)
    write(os.path.join(images, "start-normal.png"),
          png_bytes(96, 96, render(96, orb_shader(blue, light, False))))
    write(os.path.join(images, "start-hover.png"),
          png_bytes(96, 96, render(96, orb_shader(hover_blue, hover_light, False))))
    write(os.path.join(images, "start-pushed.png"),
          png_bytes(96, 96, render(96, orb_shader(blue, light, True))))
    icon_pngs = [(s, png_bytes(s, s, render(s, orb_shader(blue, light, False))))
                 for s in (16, 32, 48, 256)]
    write(os.path.join(out, "orvella.ico"), ico_bytes(icon_pngs))
    for i, (top, bottom, border, fill_a, border_a) in enumerate(SELECTION_STYLES, 1):
        write(os.path.join(images, "select%d.png" % i),
              png_bytes(64, 24, item_picture(64, 24, top, bottom, border, fill_a, border_a)))
    for i, (top, bottom, border, fill_a, border_a) in enumerate(HIGHLIGHT_STYLES, 1):
        write(os.path.join(images, "hilight%d.png" % i),
              png_bytes(64, 24, item_picture(64, 24, top, bottom, border, fill_a, border_a)))
    # The wizard's frame is 122 by 196 dialog units: 183 by 318 pixels at 96 dpi.
    write(os.path.join(out, "uninstall-side.bmp"), bmp_bytes(183, 318, side_picture(183, 318)))
    write_program_icons(out)
    draw_power_artwork(images)


if __name__ == "__main__":
    main()
