#!/usr/bin/env python3
"""Draws Orvella's own artwork: the start button pictures, the selection and new-item
pictures of the menu, the program icon, the icons of the options pages and the
uninstaller's side picture.  Pure Python (zlib only), so the build needs nothing else.

usage: make_artwork.py OUTPUT_FOLDER
"""
import math
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


if __name__ == "__main__":
    main()
