#!/usr/bin/env python3
"""Draws the program's pictures and writes them into res/art.

The pictures are drawn as vector shapes, rendered with 4x4 supersampling and written as Windows
icon and bitmap files. Run it again after changing a drawing; the files it writes are committed.

    python3 tools/art/draw_art.py
"""

import math
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "res", "art")
SS = 4  # supersampling factor


class Canvas:
    """An RGBA canvas in premultiplied floats; shapes are given in output pixel coordinates."""

    def __init__(self, w, h, scale=1.0):
        # Shapes are given in design units; `scale` maps them to output pixels.
        self.k = scale
        self.w, self.h = w, h
        self.W, self.H = w * SS, h * SS
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(self.W * self.H)]

    def _blend(self, i, color, cover=1.0):
        r, g, b, a = color
        a *= cover
        p = self.px[i]
        p[0] = r * a + p[0] * (1 - a)
        p[1] = g * a + p[1] * (1 - a)
        p[2] = b * a + p[2] * (1 - a)
        p[3] = a + p[3] * (1 - a)

    def fill(self, inside, color, box=None):
        """Fills every sample whose centre satisfies inside(x, y) (design units)."""
        k = self.k
        x0, y0, x1, y1 = box if box else (0, 0, self.w / k, self.h / k)
        sx0, sy0 = max(0, int(x0 * k * SS)), max(0, int(y0 * k * SS))
        sx1, sy1 = min(self.W, int(math.ceil(x1 * k * SS))), min(self.H, int(math.ceil(y1 * k * SS)))
        for sy in range(sy0, sy1):
            y = (sy + 0.5) / SS / k
            row = sy * self.W
            for sx in range(sx0, sx1):
                x = (sx + 0.5) / SS / k
                if inside(x, y):
                    self._blend(row + sx, color)

    def rect(self, x0, y0, x1, y1, color):
        self.fill(lambda x, y: x0 <= x < x1 and y0 <= y < y1, color, (x0, y0, x1, y1))

    def frame(self, x0, y0, x1, y1, t, color):
        self.rect(x0, y0, x1, y0 + t, color)
        self.rect(x0, y1 - t, x1, y1, color)
        self.rect(x0, y0 + t, x0 + t, y1 - t, color)
        self.rect(x1 - t, y0 + t, x1, y1 - t, color)

    def round_rect(self, x0, y0, x1, y1, r, color):
        def inside(x, y):
            if not (x0 <= x < x1 and y0 <= y < y1):
                return False
            cx = min(max(x, x0 + r), x1 - r)
            cy = min(max(y, y0 + r), y1 - r)
            return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
        self.fill(inside, color, (x0, y0, x1, y1))

    def ellipse(self, cx, cy, rx, ry, color):
        self.fill(lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0, color,
                  (cx - rx, cy - ry, cx + rx, cy + ry))

    def ring(self, cx, cy, r, t, color):
        def inside(x, y):
            d = math.hypot(x - cx, y - cy)
            return r - t <= d <= r
        self.fill(inside, color, (cx - r, cy - r, cx + r, cy + r))

    def polygon(self, pts, color):
        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]

        def inside(x, y):
            c = False
            n = len(pts)
            j = n - 1
            for i in range(n):
                xi, yi = pts[i]
                xj, yj = pts[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    c = not c
                j = i
            return c
        self.fill(inside, color, (min(xs), min(ys), max(xs) + 1, max(ys) + 1))

    def line(self, x0, y0, x1, y1, t, color):
        dx, dy = x1 - x0, y1 - y0
        length = math.hypot(dx, dy) or 1.0
        nx, ny = -dy / length * t / 2, dx / length * t / 2
        self.polygon([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)], color)

    def pixels(self):
        """Downsampled straight-alpha RGBA bytes, top row first."""
        out = []
        n = SS * SS
        for y in range(self.h):
            for x in range(self.w):
                r = g = b = a = 0.0
                for sy in range(y * SS, y * SS + SS):
                    row = sy * self.W
                    for sx in range(x * SS, x * SS + SS):
                        p = self.px[row + sx]
                        r += p[0]; g += p[1]; b += p[2]; a += p[3]
                a /= n
                if a > 0:
                    r, g, b = r / n / a, g / n / a, b / n / a
                out.append((to8(r), to8(g), to8(b), to8(a)))
        return out


def to8(v):
    return max(0, min(255, int(round(v * 255))))


def rgb(hexstr, a=1.0):
    h = hexstr.lstrip("#")
    return (int(h[0:2], 16) / 255, int(h[2:4], 16) / 255, int(h[4:6], 16) / 255, a)


# ---------------------------------------------------------------------------------------- files

def bmp_dib_32(w, h, pix):
    """A 32-bit DIB as stored in an icon: header with doubled height, BGRA rows bottom-up, AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, a = pix[y * w + x]
            rows.append(struct.pack("BBBB", b, g, r, a))
    mask_stride = ((w + 31) // 32) * 4
    mask = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(mask_stride)
        for x in range(w):
            if pix[y * w + x][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return header + b"".join(rows) + bytes(mask)


def write_ico(path, images):
    """images: list of (size, pixels)."""
    dibs = [bmp_dib_32(s, s, p) for s, p in images]
    head = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for (s, _), dib in zip(images, dibs):
        entries += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(dib), offset)
        offset += len(dib)
    with open(path, "wb") as f:
        f.write(head + entries + b"".join(dibs))


def write_bmp24(path, w, h, pix, background):
    """A 24-bit bitmap; transparent pixels take the background colour (the image list's mask colour)."""
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(w):
            r, g, b, a = pix[y * w + x]
            if a < 128:
                r, g, b = background
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        data += row
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + bytes(data))


def palette_256():
    pal = []
    for r in range(6):
        for g in range(6):
            for b in range(6):
                pal.append((r * 51, g * 51, b * 51))
    for i in range(40):
        v = int(round(i * 255 / 39))
        pal.append((v, v, v))
    return pal


def write_bmp8(path, w, h, pix):
    """A 256-colour bitmap with a fixed palette and ordered dithering."""
    pal = palette_256()
    bayer = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]
    stride = (w + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(w):
            r, g, b, a = pix[y * w + x]
            d = (bayer[y % 4][x % 4] / 16.0 - 0.5) * 51
            if abs(r - g) < 10 and abs(g - b) < 10:
                v = max(0, min(255, (r + g + b) / 3 + d / 8))
                idx = 216 + int(round(v * 39 / 255))
            else:
                q = [max(0, min(5, int(round((c + d) / 51)))) for c in (r, g, b)]
                idx = q[0] * 36 + q[1] * 6 + q[2]
            row.append(idx)
        row += bytes(stride - len(row))
        data += row
    offset = 54 + 256 * 4
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, len(data), 2835, 2835, 256, 0)
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in pal)
    with open(path, "wb") as f:
        f.write(header + info + palette + bytes(data))


# ------------------------------------------------------------------------------------- drawings

INK = rgb("#1f2a44")
PAPER = rgb("#ffffff")
PAPER_EDGE = rgb("#6b7a90")
BLUE = rgb("#2f6fd0")
RED = rgb("#d23a2f")
GREEN = rgb("#2e9d4f")
YELLOW = rgb("#f2b705")
GREY = rgb("#8a94a6")
DARK = rgb("#3b4252")


def draw_page(c, x0, y0, x1, y1, fold, edge=PAPER_EDGE, t=1.0):
    c.polygon([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)], edge)
    c.polygon([(x0 + t, y0 + t), (x1 - fold - t * 0.4, y0 + t), (x1 - t, y0 + fold + t * 0.4),
               (x1 - t, y1 - t), (x0 + t, y1 - t)], PAPER)
    c.polygon([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)], rgb("#c9d3e0"))


def draw_printer(c, s, x, y):
    """A printer in a box of size s*16 at (x, y), scaled from a 16-pixel design."""
    k = s
    c.round_rect(x + 1 * k, y + 6 * k, x + 15 * k, y + 12.5 * k, 1.5 * k, DARK)
    c.rect(x + 2 * k, y + 7 * k, x + 14 * k, y + 8 * k, GREY)
    c.rect(x + 4 * k, y + 1 * k, x + 12 * k, y + 6.5 * k, PAPER_EDGE)
    c.rect(x + 4.8 * k, y + 1.8 * k, x + 11.2 * k, y + 6.5 * k, PAPER)
    c.rect(x + 3.5 * k, y + 10 * k, x + 12.5 * k, y + 15 * k, PAPER_EDGE)
    c.rect(x + 4.3 * k, y + 10.8 * k, x + 11.7 * k, y + 15 * k, PAPER)
    for i in range(2):
        c.rect(x + 5.3 * k, y + (12 + i * 1.5) * k, x + 10.7 * k, y + (12.6 + i * 1.5) * k, GREY)
    c.ellipse(x + 13 * k, y + 9.2 * k, 0.7 * k, 0.7 * k, GREEN)


def app_icon(size):
    c = Canvas(size, size)
    k = size / 48.0
    # A stack of documents behind a printer: many documents, printed one by one.
    for i, off in enumerate((10, 5, 0)):
        draw_page(c, (4 + off) * k, (2 + off * 0.6) * k, (26 + off) * k, (30 + off * 0.6) * k, 6 * k, t=max(1.0, 1.2 * k))
        if i == 2:
            for j in range(4):
                c.rect(7 * k, (10 + j * 4) * k, 21 * k, (11.6 + j * 4) * k, BLUE if j == 0 else GREY)
    draw_printer(c, 2.0 * k, 14 * k, 14 * k)
    return c.pixels()


def claris_document(size):
    c = Canvas(size, size)
    k = size / 32.0
    draw_page(c, 5 * k, 1 * k, 27 * k, 31 * k, 7 * k, t=max(1.0, 1.0 * k))
    # A drawing, a line of text and a table: the three kinds of a works document.
    c.ellipse(12 * k, 12 * k, 4.2 * k, 4.2 * k, BLUE)
    c.polygon([(15 * k, 17 * k), (22 * k, 17 * k), (18.5 * k, 10.5 * k)], GREEN)
    for j in range(3):
        c.rect(9 * k, (20 + j * 3) * k, 23 * k, (21.4 + j * 3) * k, GREY if j else RED)
    return c.pixels()


def toolbar_picture(key, size=16):
    c = Canvas(size, size, scale=size / 16.0)
    if key == "New":
        draw_page(c, 3, 1, 13, 15, 4)
        c.polygon([(12, 0.5), (13, 3), (15.5, 3.3), (13.6, 5), (14.2, 7.5), (12, 6.2), (9.8, 7.5),
                   (10.4, 5), (8.5, 3.3), (11, 3)], YELLOW)
    elif key == "Property":
        draw_page(c, 2, 1, 13, 15, 3)
        for j in range(4):
            c.rect(4, 4 + j * 2.6, 6.5, 5.4 + j * 2.6, BLUE)
            c.rect(7.5, 4 + j * 2.6, 11, 5.4 + j * 2.6, GREY)
    elif key == "Print":
        draw_printer(c, 1.0, 0, 0)
    elif key == "Delete":
        draw_page(c, 1, 1, 11, 15, 3)
        c.line(7, 7, 15, 15, 2.6, RED)
        c.line(15, 7, 7, 15, 2.6, RED)
    elif key == "Paste":
        c.round_rect(2, 2, 12, 15.5, 1, rgb("#9c6b30"))
        c.rect(5, 1, 9, 3.5, GREY)
        draw_page(c, 6, 6, 15, 15.5, 2.5)
        for j in range(2):
            c.rect(8, 9.5 + j * 2.5, 13, 10.6 + j * 2.5, GREY)
    elif key == "VW_Large":
        for ix in range(2):
            for iy in range(2):
                c.rect(1.5 + ix * 7.5, 1.5 + iy * 7.5, 6.5 + ix * 7.5, 6.5 + iy * 7.5, BLUE)
    elif key == "VW_Small":
        for ix in range(2):
            for iy in range(3):
                x, y = 1 + ix * 8, 2 + iy * 4.5
                c.rect(x, y, x + 3, y + 3, BLUE)
                c.rect(x + 4, y + 1, x + 7, y + 2, INK)
    elif key == "VW_List":
        for ix in range(2):
            for iy in range(4):
                x, y = 1 + ix * 8, 1.5 + iy * 3.5
                c.rect(x, y, x + 2, y + 2, BLUE)
                c.rect(x + 3, y + 0.5, x + 7, y + 1.5, INK)
    elif key == "VW_Detail":
        for iy in range(4):
            y = 1.5 + iy * 3.5
            c.rect(1, y, 3, y + 2, BLUE)
            c.rect(4, y + 0.5, 15, y + 1.5, INK)
    elif key == "Mail":
        c.rect(1, 3.5, 15, 13, PAPER_EDGE)
        c.rect(2, 4.5, 14, 12, PAPER)
        c.line(2, 4.8, 8, 9.5, 1.2, PAPER_EDGE)
        c.line(14, 4.8, 8, 9.5, 1.2, PAPER_EDGE)
    elif key == "Inet":
        c.ellipse(8, 8, 7, 7, BLUE)
        c.fill(lambda x, y: abs(((x - 8) / 3.2) ** 2 + ((y - 8) / 7) ** 2 - 1) < 0.25, PAPER)
        c.rect(1, 7.4, 15, 8.6, PAPER)
        c.rect(7.4, 1, 8.6, 15, PAPER)
    elif key == "Info":
        c.ellipse(8, 8, 7, 7, BLUE)
        c.ellipse(8, 4.6, 1.3, 1.3, PAPER)
        c.rect(6.8, 6.8, 9.2, 12.5, PAPER)
    return c.pixels()


TOOLBAR_KEYS = ["Delete", "Property", "New", "Inet", "Info", "Mail", "Paste", "Print",
                "VW_Detail", "VW_List", "VW_Large", "VW_Small"]


def about_picture():
    w, h = 400, 300
    c = Canvas(w, h)
    # A calm, light body from white to a pale grey (the palette's grey ramp): the version and the
    # description are written over it in black, at (136, 72) and (56, 184).
    for y in range(h):
        v = 1.0 - 0.10 * y / (h - 1)
        c.rect(0, y, w, y + 1, (v, v, v, 1.0))
    # Bands in the product's blue across the top and navy along the bottom. Each channel lies
    # two units above one of the palette's levels, so that the dithering leaves the bands solid.
    c.rect(0, 0, w, 50, (53 / 255, 104 / 255, 206 / 255, 1.0))
    c.rect(0, 50, w, 54, (104 / 255, 155 / 255, 206 / 255, 1.0))
    # A fan of documents flowing into a printer, between the two labels.
    for i in range(7):
        x = 30 + i * 34
        y = 106 - abs(i - 3) * 6
        draw_page(c, x, y, x + 44, y + 58, 12, t=1.5)
        c.ellipse(x + 14, y + 22, 6, 6, BLUE)
        c.rect(x + 8, y + 38, x + 36, y + 41, GREY)
    draw_printer(c, 4.6, 296, 96)
    c.rect(0, 268, w, 300, (53 / 255, 53 / 255, 104 / 255, 1.0))
    return c.pixels()


def supersample_fast(scale):
    global SS
    SS = scale


def main():
    os.makedirs(OUT, exist_ok=True)
    write_ico(os.path.join(OUT, "velmok.ico"), [(s, app_icon(s)) for s in (16, 32, 48)])
    # The document icons at 100 %, 150 % and 200 % of their design size.
    write_ico(os.path.join(OUT, "claris32.ico"), [(s, claris_document(s)) for s in (32, 48, 64)])
    write_ico(os.path.join(OUT, "claris16.ico"), [(s, claris_document(s)) for s in (16, 24, 32)])
    for size, name in ((16, "toolbar.bmp"), (24, "toolbar24.bmp"), (32, "toolbar32.bmp")):
        n = len(TOOLBAR_KEYS)
        strip = [None] * (size * size * n)
        for i, key in enumerate(TOOLBAR_KEYS):
            pix = toolbar_picture(key, size)
            for y in range(size):
                for x in range(size):
                    strip[y * size * n + i * size + x] = pix[y * size + x]
        write_bmp24(os.path.join(OUT, name), size * n, size, strip, (192, 192, 192))
    supersample_fast(2)
    write_bmp8(os.path.join(OUT, "about.bmp"), 400, 300, about_picture())


if __name__ == "__main__":
    main()
