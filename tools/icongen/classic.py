"""Pixel-exact pictures in the 16 standard colours: the application icon, the
About picture, the spare icon and the two menu bitmaps.

They are drawn pixel by pixel rather than scaled from a large picture, so
every edge is crisp and no dithering is needed.
"""

import math

from PIL import Image, ImageDraw

from dib import VGA16

BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = VGA16[:8]
GRAY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = VGA16[8:]


class Pixels:
    def __init__(self, size, background=None):
        self.im = Image.new("RGBA", (size, size), (0, 0, 0, 0) if background is None
                            else background + (255,))
        self.px = self.im.load()
        self.size = size

    def dot(self, x, y, c):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.px[x, y] = c + (255,)

    def fill(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.dot(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1 + 1):
            self.dot(x, y0, c)
            self.dot(x, y1, c)
        for y in range(y0, y1 + 1):
            self.dot(x0, y, c)
            self.dot(x1, y, c)

    def box(self, x0, y0, x1, y1, inside, edge=BLACK):
        self.fill(x0, y0, x1, y1, inside)
        self.frame(x0, y0, x1, y1, edge)


def _pencil(p, tip, length, half):
    """A pencil lying at 45 degrees, tip at the upper left."""
    tx, ty = tip
    for y in range(p.size):
        for x in range(p.size):
            s = ((x - tx) + (y - ty)) / math.sqrt(2)
            q = ((x - tx) - (y - ty)) / math.sqrt(2)
            if s < -0.3 or s > length:
                continue
            cone = min(1.0, (s + 0.3) / (length * 0.28))
            w = half * cone
            if abs(q) > w + 0.45:
                continue
            if abs(q) > w - 0.6 and s > length * 0.28:
                c = BLACK                      # outline of the body
            elif s < length * 0.1:
                c = BLACK                      # the lead
            elif s < length * 0.28:
                c = WHITE if abs(q) < w - 0.5 else BLACK   # bare wood
            elif s < length * 0.74:
                c = YELLOW if q < 0.4 else OLIVE
            elif s < length * 0.84:
                c = SILVER
            else:
                c = RED
            p.dot(x, y, c)


def app_icon_32():
    """A window whose caption is being written over with a pencil."""
    p = Pixels(32)
    p.box(0, 3, 27, 28, WHITE)
    p.fill(1, 4, 26, 9, NAVY)
    for x in range(3, 9):                       # the old caption text
        if x % 3 != 2:
            p.fill(x, 6, x, 7, WHITE)
    p.fill(10, 5, 18, 8, YELLOW)                # the part being relabelled
    p.fill(19, 5, 19, 8, WHITE)                 # text cursor
    p.box(22, 5, 25, 8, SILVER)
    p.fill(1, 10, 26, 10, GRAY)
    for y, x1 in ((13, 22), (16, 18), (19, 21), (22, 14), (25, 19)):
        p.fill(3, y, x1, y, SILVER)
    _pencil(p, (14, 7), 22, 3.3)
    return p.im


def spare_icon_32():
    """A luggage-style label on a string."""
    p = Pixels(32)
    outline = [(3, 16), (10, 8), (29, 8), (29, 24), (10, 24)]
    body = Image.new("L", (32, 32), 0)
    ImageDraw.Draw(body).polygon(outline, fill=1, outline=2)
    for y in range(32):
        for x in range(32):
            v = body.getpixel((x, y))
            if v == 1:
                p.dot(x, y, YELLOW)
            elif v == 2:
                p.dot(x, y, BLACK)
    p.fill(7, 15, 9, 17, WHITE)
    p.frame(6, 14, 10, 18, BLACK)
    for y in (12, 16, 20):
        p.fill(14, y, 26 if y != 20 else 21, y, NAVY)
    for x, y in [(6, 13), (5, 12), (5, 11), (4, 10), (4, 9), (3, 8), (3, 7),
                                (2, 6), (2, 5), (3, 4), (4, 3), (5, 3)]:
        p.dot(x, y, MAROON)
    p.fill(11, 23, 29, 24, OLIVE)
    p.fill(28, 9, 29, 24, OLIVE)
    p.frame(28, 8, 29, 24, BLACK)
    p.fill(10, 24, 29, 24, BLACK)
    return p.im


def _calendar(p, x0, y0, x1, y1, band, rings, cells):
    p.box(x0, y0, x1, y1, WHITE)
    p.fill(x0 + 1, y0 + 1, x1 - 1, y0 + band, RED)
    for rx in rings:
        p.fill(rx, y0 - 2, rx, y0 + 2, BLACK)
        p.dot(rx, y0 - 2, GRAY)
    for cx, cy, c in cells:
        p.dot(cx, cy, c)


def _flag(p, pole_x, top, x1, stripe):
    """Red-white-red on a pole; the stripes are `stripe` pixels high."""
    p.fill(pole_x, top - 1, pole_x, p.size - 1, BLACK)
    p.dot(pole_x, top - 2, YELLOW)
    bottom = top + 3 * stripe + 1
    p.frame(pole_x, top, x1, bottom, BLACK)
    for i, c in enumerate((RED, WHITE, RED)):
        y0 = top + 1 + i * stripe
        p.fill(pole_x + 1, y0, x1 - 1, y0 + stripe - 1, c)


def about_icon_32():
    """A calendar with a national flag: the About box lists today's holidays."""
    p = Pixels(32)
    cells = []
    for row in range(4):
        for col in range(4):
            x, y = 3 + col * 4, 13 + row * 4
            c = RED if (row, col) == (1, 2) else GRAY
            cells += [(x, y, c), (x + 1, y, c), (x, y + 1, c), (x + 1, y + 1, c)]
    _calendar(p, 1, 5, 20, 29, 5, (6, 15), cells)
    _flag(p, 20, 3, 31, 3)
    return p.im


def about_icon_16():
    p = Pixels(16)
    cells = []
    for row in range(3):
        for col in range(3):
            x, y = 2 + col * 3, 8 + row * 2
            c = RED if (row, col) == (1, 1) else GRAY
            cells += [(x, y, c), (x + 1, y, c)]
    _calendar(p, 0, 3, 10, 15, 2, (3, 7), cells)
    _flag(p, 10, 2, 15, 2)
    return p.im


def restore_bitmap():
    """14 x 14: two overlapping windows, black on white."""
    p = Pixels(14, WHITE)
    p.frame(4, 1, 12, 8, BLACK)
    p.fill(4, 2, 12, 2, BLACK)
    p.fill(1, 5, 9, 12, WHITE)
    p.frame(1, 5, 9, 12, BLACK)
    p.fill(1, 6, 9, 6, BLACK)
    return p.im


def close_bitmap():
    """16 x 16: a cross, black on white, strokes two pixels wide."""
    p = Pixels(16, WHITE)
    for i in range(8):
        p.dot(4 + i, 4 + i, BLACK)
        p.dot(11 - i, 4 + i, BLACK)
    for i in range(7):
        p.dot(5 + i, 4 + i, BLACK)
        p.dot(10 - i, 4 + i, BLACK)
    return p.im
