"""Palette reduction and the byte layouts of .ico and .bmp files.

Every image is a classic device-independent bitmap: BITMAPINFOHEADER, a
colour table, the XOR bitmap and (for icons) a 1-bit AND mask, rows bottom-up
and padded to 4 bytes. No PNG-compressed images: old loaders cannot read them.
"""

import struct

from PIL import Image

# The standard 16-colour palette in the order Windows keeps it.
VGA16 = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]

ALPHA_CUT = 128   # pixels at least this opaque are drawn, the rest are masked


class Indexed:
    """A palette image with its transparency mask, ready to be written."""

    def __init__(self, width, height, bpp, palette, indices, opaque):
        self.width, self.height, self.bpp = width, height, bpp
        self.palette = palette      # list of (r, g, b), exactly 2**bpp long
        self.indices = indices      # row-major, top row first
        self.opaque = opaque        # row-major booleans

    def to_rgba(self):
        im = Image.new("RGBA", (self.width, self.height))
        im.putdata([self.palette[i] + (255,) if o else (0, 0, 0, 0)
                    for i, o in zip(self.indices, self.opaque)])
        return im


def _lab(colour, _cache={}):
    """CIE L*a*b* of an sRGB colour: distances there follow what the eye sees,
    so a soft green maps to green rather than to a grey or olive of similar
    brightness."""
    lab = _cache.get(colour)
    if lab is None:
        def linear(v):
            v /= 255.0
            return v / 12.92 if v <= 0.04045 else ((v + 0.055) / 1.055) ** 2.4
        r, g, b = (linear(v) for v in colour)
        x = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047
        y = 0.2126 * r + 0.7152 * g + 0.0722 * b
        z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883

        def f(t):
            return t ** (1 / 3) if t > 0.008856 else 7.787 * t + 16 / 116
        lab = _cache[colour] = (116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z)))
    return lab


def _distance(a, b):
    la, lb = _lab(tuple(a)), _lab(tuple(b))
    return (la[0] - lb[0]) ** 2 + (la[1] - lb[1]) ** 2 + (la[2] - lb[2]) ** 2


def _nearest(colour, palette):
    best, best_d = 0, None
    for i, p in enumerate(palette):
        d = _distance(colour, p)
        if best_d is None or d < best_d:
            best, best_d = i, d
    return best


def _split_alpha(rgba):
    px = list(rgba.getdata())
    opaque = [p[3] >= ALPHA_CUT for p in px]
    colours = [p[:3] for p in px]
    return colours, opaque


def to_vga16(rgba, dither=0.35):
    """Fixed 16-colour palette with serpentine Floyd-Steinberg dithering.

    The error is spread only among drawn pixels (the background carries none)
    and strongly damped: full diffusion turns every soft shade into noise at
    this size, while a little still hints at roundness.
    """
    w, h = rgba.size
    colours, opaque = _split_alpha(rgba)
    work = [[float(c) for c in col] for col in colours]
    indices = [0] * (w * h)
    cache = {}
    for y in range(h):
        xs = range(w) if y % 2 == 0 else range(w - 1, -1, -1)
        step = 1 if y % 2 == 0 else -1
        for x in xs:
            i = y * w + x
            if not opaque[i]:
                continue
            c = tuple(min(255, max(0, int(round(v)))) for v in work[i])
            k = cache.get(c)
            if k is None:
                k = cache[c] = _nearest(c, VGA16)
            indices[i] = k
            err = [(work[i][n] - VGA16[k][n]) * dither for n in range(3)]
            for dx, dy, wt in ((step, 0, 7), (-step, 1, 3), (0, 1, 5), (step, 1, 1)):
                nx, ny = x + dx, y + dy
                if 0 <= nx < w and ny < h and opaque[ny * w + nx]:
                    t = work[ny * w + nx]
                    for n in range(3):
                        t[n] += err[n] * wt / 16.0
    return Indexed(w, h, 4, list(VGA16), indices, opaque)


def to_optimised256(rgba):
    """Median-cut palette built from the drawn pixels only.

    Index 0 is kept black: masked pixels must have a black XOR colour so that
    the AND/XOR pair leaves the background untouched.
    """
    w, h = rgba.size
    colours, opaque = _split_alpha(rgba)
    drawn = sorted(set(c for c, o in zip(colours, opaque) if o))
    if len(drawn) <= 255:
        palette = [(0, 0, 0)] + drawn
    else:
        strip = Image.new("RGB", (len(drawn), 1))
        strip.putdata(drawn)
        q = strip.quantize(colors=255, method=Image.Quantize.MEDIANCUT,
                           dither=Image.Dither.NONE)
        flat = q.getpalette()[: 255 * 3]
        palette = [(0, 0, 0)] + [tuple(flat[n:n + 3]) for n in range(0, len(flat), 3)]
    palette += [(0, 0, 0)] * (256 - len(palette))
    lookup = {}
    indices = []
    for c, o in zip(colours, opaque):
        if not o:
            indices.append(0)
            continue
        k = lookup.get(c)
        if k is None:
            # Start at 1 so a drawn black pixel does not share the mask colour's slot
            # needlessly; either way it stays black.
            k = lookup[c] = 1 + _nearest(c, palette[1:])
        indices.append(k)
    return Indexed(w, h, 8, palette, indices, opaque)


def _rows_bottom_up(img, bits_per_pixel, values):
    w, h = img.width, img.height
    stride = ((w * bits_per_pixel + 31) // 32) * 4
    out = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            v = values[y * w + x]
            bit = x * bits_per_pixel
            shift = 8 - bits_per_pixel - (bit % 8)
            row[bit // 8] |= (v & ((1 << bits_per_pixel) - 1)) << shift
        out += row
    return bytes(out)


def _info_header(width, height_field, bpp, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height_field, 1, bpp, 0,
                       image_size, 0, 0, 0, 0)


def _colour_table(palette):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)


def icon_image_bytes(img):
    """One icon image: header with doubled height, colours, XOR, AND mask."""
    xor = _rows_bottom_up(img, img.bpp, img.indices)
    mask = _rows_bottom_up(img, 1, [0 if o else 1 for o in img.opaque])
    return (_info_header(img.width, img.height * 2, img.bpp, len(xor) + len(mask))
            + _colour_table(img.palette) + xor + mask)


def ico_bytes(images):
    """An .ico file holding the images in the order given."""
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, bodies = b"", b""
    for img in images:
        body = icon_image_bytes(img)
        colours = 0 if img.bpp >= 8 else 1 << img.bpp
        entries += struct.pack("<BBBBHHII", img.width % 256, img.height % 256,
                               colours, 0, 1, img.bpp, len(body), offset)
        bodies += body
        offset += len(body)
    return header + entries + bodies


def bmp_bytes(img):
    """A .bmp file (BITMAPFILEHEADER + DIB) without a mask."""
    bits = _rows_bottom_up(img, img.bpp, img.indices)
    dib = (_info_header(img.width, img.height, img.bpp, len(bits))
           + _colour_table(img.palette) + bits)
    return struct.pack("<2sIHHI", b"BM", 14 + len(dib), 0, 0,
                       14 + 40 + 4 * len(img.palette)) + dib
