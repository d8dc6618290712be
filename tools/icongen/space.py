"""Our own space pictures: planets, moons, stars, ships and the like.

Drawn on a 128 x 128 canvas (four times the icon size, so edges come out
smooth when scaled down) with fixed random seeds, so every run gives the same
pixels. Details are kept at least six canvas pixels wide: anything thinner
vanishes at 32 x 32.
"""

import math
import random

from PIL import Image, ImageDraw, ImageFilter

S = 128


def canvas():
    return Image.new("RGBA", (S, S), (0, 0, 0, 0))


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def ramp(colours, t):
    """Colour at t in [0, 1] along evenly spaced colour stops."""
    t = clamp(t) * (len(colours) - 1)
    i = min(int(t), len(colours) - 2)
    return mix(colours[i], colours[i + 1], t - i)


def rgb(hexstr):
    return tuple(int(hexstr[i:i + 2], 16) for i in (0, 2, 4))


class Noise:
    """Smooth value noise over the unit square, a few octaves deep."""

    def __init__(self, seed, cells=(4, 8, 16), weights=(0.55, 0.3, 0.15)):
        r = random.Random(seed)
        self.layers = []
        for n, w in zip(cells, weights):
            grid = [[r.random() for _ in range(n + 1)] for _ in range(n + 1)]
            self.layers.append((n, w, grid))

    def __call__(self, x, y):
        total = 0.0
        for n, w, grid in self.layers:
            fx = clamp(x, 0.0, 0.99999) * n
            fy = clamp(y, 0.0, 0.99999) * n
            ix, iy = int(fx), int(fy)
            tx, ty = fx - ix, fy - iy
            tx, ty = tx * tx * (3 - 2 * tx), ty * ty * (3 - 2 * ty)
            a = grid[iy][ix] + (grid[iy][ix + 1] - grid[iy][ix]) * tx
            b = grid[iy + 1][ix] + (grid[iy + 1][ix + 1] - grid[iy + 1][ix]) * tx
            total += w * (a + (b - a) * ty)
        return total


def put(px, x, y, colour, alpha):
    """Paints colour with coverage alpha (0..1) over what is there."""
    if alpha <= 0:
        return
    r, g, b, a = px[x, y]
    a0 = a / 255.0
    out_a = alpha + a0 * (1 - alpha)
    if out_a <= 0:
        return
    c = [(colour[i] * alpha + (r, g, b)[i] * a0 * (1 - alpha)) / out_a for i in range(3)]
    px[x, y] = (int(round(clamp(c[0], 0, 255))), int(round(clamp(c[1], 0, 255))),
                int(round(clamp(c[2], 0, 255))), int(round(out_a * 255)))


def over(base, layer):
    return Image.alpha_composite(base, layer)


LIGHT = (-0.5, -0.55, 0.67)


def sphere(im, cx, cy, r, texture, light=LIGHT, ambient=0.16, shine=0.0, rim=None):
    """A lit ball: texture(nx, ny, nz) gives the surface colour at a point."""
    px = im.load()
    ln = math.sqrt(sum(c * c for c in light))
    lx, ly, lz = (c / ln for c in light)
    for y in range(max(0, int(cy - r - 1)), min(S, int(cy + r + 2))):
        for x in range(max(0, int(cx - r - 1)), min(S, int(cx + r + 2))):
            dx, dy = (x + 0.5 - cx) / r, (y + 0.5 - cy) / r
            d2 = dx * dx + dy * dy
            cover = clamp(r - math.sqrt(d2) * r + 0.5)
            if cover <= 0:
                continue
            nz = math.sqrt(max(0.0, 1 - d2))
            col = texture(dx, dy, nz)
            lam = max(0.0, dx * lx + dy * ly + nz * lz)
            shade = ambient + (1 - ambient) * lam
            c = [col[i] * shade for i in range(3)]
            if shine:
                # A soft highlight where the light reflects towards the viewer.
                hx, hy, hz = lx, ly, lz + 1
                hn = math.sqrt(hx * hx + hy * hy + hz * hz)
                glint = max(0.0, (dx * hx + dy * hy + nz * hz) / hn) ** 24 * shine
                c = [v + 255 * glint for v in c]
            if rim:
                # Atmosphere: a thin coloured glow along the edge.
                t = clamp((math.sqrt(d2) - 0.82) / 0.18) ** 2
                c = list(mix(c, rim, t * 0.8))
            put(px, x, y, c, cover)
    return im


def glow(im, cx, cy, r0, r1, colour, strength=1.0):
    """A radial glow, solid inside r0 and fading out to r1."""
    px = im.load()
    for y in range(max(0, int(cy - r1)), min(S, int(cy + r1 + 1))):
        for x in range(max(0, int(cx - r1)), min(S, int(cx + r1 + 1))):
            d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            if d >= r1:
                continue
            a = 1.0 if d <= r0 else (1 - (d - r0) / (r1 - r0)) ** 1.6
            put(px, x, y, colour, a * strength)
    return im


def sky_disc(seed, top="101a4a", bottom="04061a", stars=26, shape="circle"):
    """A round (or rounded-square) window onto the night sky."""
    im = canvas()
    mask = Image.new("L", (S, S), 0)
    md = ImageDraw.Draw(mask)
    if shape == "circle":
        md.ellipse((3, 3, S - 4, S - 4), fill=255)
    else:
        md.rounded_rectangle((4, 4, S - 5, S - 5), radius=22, fill=255)
    grad = Image.new("RGBA", (S, S))
    gp = grad.load()
    c0, c1 = rgb(top), rgb(bottom)
    for y in range(S):
        for x in range(S):
            t = clamp((x * 0.3 + y * 0.7) / S)
            c = mix(c0, c1, t)
            gp[x, y] = (int(c[0]), int(c[1]), int(c[2]), 255)
    im.paste(grad, (0, 0), mask)
    r = random.Random(seed)
    px = im.load()
    for _ in range(stars):
        x, y = r.randrange(12, S - 12), r.randrange(12, S - 12)
        if mask.getpixel((x, y)) == 255:
            b = r.choice((200, 230, 255))
            for dx, dy in ((0, 0), (1, 0), (0, 1), (1, 1)):
                put(px, x + dx, y + dy, (b, b, min(255, b + 20)), 1.0)
    return im, mask


def in_mask(layer, mask):
    out = canvas()
    out.paste(layer, (0, 0), mask)
    return out


def star_points(cx, cy, r_out, r_in, n, turn=-math.pi / 2):
    pts = []
    for i in range(2 * n):
        rr = r_out if i % 2 == 0 else r_in
        a = turn + i * math.pi / n
        pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
    return pts


# ---------------------------------------------------------------- planets

def craters_of(seed, count, rmin, rmax):
    r = random.Random(seed)
    out = []
    for _ in range(count):
        a = r.uniform(0, 2 * math.pi)
        d = math.sqrt(r.random()) * 0.85
        out.append((d * math.cos(a), d * math.sin(a), r.uniform(rmin, rmax)))
    return out


def cratered(base, craters, dark=0.6, noise=None, tint=0.25):
    """Surface with bowl-shaped craters, lit rim towards the light."""
    def tex(nx, ny, nz):
        c = base
        if noise:
            c = mix(c, tuple(v * 0.7 for v in base), noise((nx + 1) / 2, (ny + 1) / 2) * tint * 2)
        for cx, cy, cr in craters:
            d = math.hypot(nx - cx, ny - cy) / cr
            if d < 1.0:
                if d < 0.78:
                    return tuple(v * dark for v in c)
                side = ((nx - cx) * -0.5 + (ny - cy) * -0.55) / cr
                return tuple(min(255, v * (1.15 + 0.25 * side)) for v in c)
        return c
    return tex


def banded(colours, noise, wobble=0.12, tilt=0.0, spot=None):
    def tex(nx, ny, nz):
        y = ny * math.cos(tilt) + nx * math.sin(tilt)
        t = (y + 1) / 2 + (noise((nx + 1) / 2, (ny + 1) / 4) - 0.5) * wobble
        c = ramp(colours, t)
        if spot:
            sx, sy, sr, sc = spot
            d = math.hypot((nx - sx) / (sr * 1.5), (ny - sy) / sr)
            if d < 1:
                c = mix(sc, c, d ** 2)
        return c
    return tex


def continents(ocean, land, noise, level=0.52, caps=None, clouds=None, cloud_noise=None):
    def tex(nx, ny, nz):
        n = noise((nx + 1) / 2, (ny + 1) / 2)
        c = ocean if n < level else mix(land[0], land[1], clamp((n - level) * 5))
        if caps and abs(ny) > caps:
            c = (240, 246, 255)
        if clouds and cloud_noise:
            m = cloud_noise((nx + 1) / 2, (ny + 1) / 2)
            if m > clouds:
                c = mix(c, (255, 255, 255), clamp((m - clouds) * 8))
        return c
    return tex


def ring_layers(cx, cy, rx, ry, inner, colours, gaps=()):
    """Back (upper) and front (lower) halves of a flat ring seen at a slant."""
    back, front = canvas(), canvas()
    bp, fp = back.load(), front.load()
    for y in range(S):
        for x in range(S):
            u, v = (x + 0.5 - cx) / rx, (y + 0.5 - cy) / ry
            rho = math.hypot(u, v)
            if inner <= rho <= 1.0:
                t = (rho - inner) / (1.0 - inner)
                if any(a <= t <= b for a, b in gaps):
                    continue
                edge = clamp(min(rho - inner, 1.0 - rho) * rx)
                put(fp if v > 0 else bp, x, y, ramp(colours, t), edge)
    return back, front


def ringed(planet_colour_fn, r, ring_colours, tilt_deg, rx=60, ry=17, inner=0.62, gaps=()):
    back, front = ring_layers(64, 64, rx, ry, inner, ring_colours, gaps)
    ball = canvas()
    sphere(ball, 64, 64, r, planet_colour_fn)
    im = over(over(back, ball), front)
    return im.rotate(tilt_deg, resample=Image.BICUBIC)


def planet_mars():
    im = canvas()
    n = Noise(11)
    tex = cratered(rgb("d0602c"), craters_of(12, 7, 0.1, 0.2), noise=n, tint=0.5)
    def t2(nx, ny, nz):
        if ny < -0.78:
            return (250, 246, 240)
        return tex(nx, ny, nz)
    return sphere(im, 64, 64, 58, t2)


def planet_ocean():
    im = canvas()
    land = Noise(21)
    sky = Noise(22, cells=(6, 12, 24))
    tex = continents(rgb("1a6fd8"), (rgb("e7d08a"), rgb("3aa655")), land, level=0.6,
                     clouds=0.62, cloud_noise=sky)
    return sphere(im, 64, 64, 58, tex, rim=(150, 210, 255), shine=0.5)


def planet_jupiter():
    im = canvas()
    cols = [rgb(c) for c in ("e8d7b8", "c98d5b", "f0e3c6", "b86f45", "ead2a6",
                             "c58b62", "f3e6cc", "a46a48", "e4cfa8")]
    tex = banded(cols, Noise(31), wobble=0.08, spot=(0.3, 0.32, 0.2, rgb("c24a2a")))
    return sphere(im, 64, 64, 59, tex)


def planet_saturn():
    cols = [rgb(c) for c in ("f2dca0", "d9b873", "f5e4b5", "cfa862", "efd9a0")]
    return ringed(banded(cols, Noise(41), wobble=0.05), 42,
                  [rgb("cdb88a"), rgb("f3e3b8"), rgb("b59a6a"), rgb("e9d7a9")], 18,
                  ry=22, gaps=((0.55, 0.62),))


def planet_ice_rings():
    cols = [rgb(c) for c in ("b9f0ff", "7fd7ee", "a6e8f7", "63c2dd")]
    return ringed(banded(cols, Noise(51), wobble=0.1), 40,
                  [rgb("ffffff"), rgb("cde8f5"), rgb("ffffff")], -24, rx=62, ry=26, inner=0.6)


def planet_lava():
    im = canvas()
    n = Noise(61, cells=(5, 10, 20))
    def tex(nx, ny, nz):
        v = n((nx + 1) / 2, (ny + 1) / 2)
        crack = abs(v - 0.5)
        if crack < 0.035:
            return (255, 200, 60)
        if crack < 0.07:
            return (240, 90, 20)
        return mix(rgb("2a1a16"), rgb("4a2a20"), v)
    sphere(im, 64, 64, 58, tex, ambient=0.3)
    return im


def planet_ice():
    im = canvas()
    n = Noise(71, cells=(4, 9, 18))
    def tex(nx, ny, nz):
        v = n((nx + 1) / 2, (ny + 1) / 2)
        if abs(v - 0.45) < 0.025 or abs(v - 0.62) < 0.02:
            return rgb("3a8fc0")
        return mix(rgb("f4fbff"), rgb("b7dcf0"), v)
    return sphere(im, 64, 64, 58, tex, rim=(180, 230, 255), shine=0.6)


def planet_toxic():
    im = canvas()
    n = Noise(81, cells=(3, 7, 14))
    def tex(nx, ny, nz):
        a = math.atan2(ny, nx) + math.hypot(nx, ny) * 4.0
        v = 0.5 + 0.5 * math.sin(a * 3 + n((nx + 1) / 2, (ny + 1) / 2) * 6)
        return ramp([rgb("5a8f1c"), rgb("b6d82e"), rgb("e8f06a")], v)
    return sphere(im, 64, 64, 58, tex, rim=(220, 255, 120))


def planet_purple_rings():
    cols = [rgb(c) for c in ("6a3fa8", "9a6ad0", "5a2f90", "b58ae0")]
    return ringed(banded(cols, Noise(91), wobble=0.15), 34,
                  [rgb("ff9ad6"), rgb("ffd0ec"), rgb("e060b0")], 32, rx=62, ry=14, inner=0.66)


def planet_desert():
    im = canvas()
    n = Noise(101, cells=(6, 12, 24))
    def tex(nx, ny, nz):
        v = 0.5 + 0.5 * math.sin((nx * 1.2 + ny) * 14 + n((nx + 1) / 2, (ny + 1) / 2) * 5)
        return mix(rgb("f1c879"), rgb("c48a3e"), v * 0.8)
    return sphere(im, 64, 64, 58, tex, rim=(255, 220, 170))


def planet_neptune():
    im = canvas()
    cols = [rgb(c) for c in ("3a6ee8", "2b52c6", "4a84f0", "2c4fb8", "3d71e0")]
    base = banded(cols, Noise(111), wobble=0.06, spot=(-0.2, 0.25, 0.16, rgb("1a2a70")))
    def tex(nx, ny, nz):
        if abs(ny + 0.35 - nx * 0.1) < 0.035 and -0.3 < nx < 0.6:
            return (235, 245, 255)
        if abs(ny - 0.55 - nx * 0.1) < 0.03 and -0.5 < nx < 0.2:
            return (235, 245, 255)
        return base(nx, ny, nz)
    return sphere(im, 64, 64, 58, tex, rim=(140, 190, 255))


def planet_cratered():
    im = canvas()
    tex = cratered(rgb("9c8f86"), craters_of(121, 16, 0.08, 0.2), dark=0.55,
                   noise=Noise(122), tint=0.4)
    return sphere(im, 64, 64, 58, tex)


def planet_forest():
    im = canvas()
    land = Noise(131, cells=(5, 10, 20))
    tex = continents(rgb("2e7fb0"), (rgb("2f8f3a"), rgb("1e5f2a")), land, level=0.38,
                     caps=0.86)
    return sphere(im, 64, 64, 58, tex, rim=(170, 230, 200))


def planet_pink_bands():
    im = canvas()
    cols = [rgb(c) for c in ("ffd6e0", "f58fb0", "ffe9d6", "e06f9a", "ffd0dc", "c95f8c")]
    return sphere(im, 64, 64, 58, banded(cols, Noise(141), wobble=0.1, tilt=0.45))


def planet_storm():
    im = canvas()
    n = Noise(151)
    def tex(nx, ny, nz):
        sx, sy = nx - 0.15, ny - 0.1
        d = math.hypot(sx, sy)
        a = math.atan2(sy, sx)
        v = 0.5 + 0.5 * math.sin(a * 2 - d * 18 + n((nx + 1) / 2, (ny + 1) / 2) * 3)
        c = ramp([rgb("1d3d7a"), rgb("4f86c6"), rgb("d7ecff")], v * clamp(1.3 - d))
        if d < 0.08:
            c = rgb("12285a")
        return c
    return sphere(im, 64, 64, 58, tex)


def planet_double():
    im = canvas()
    sphere(im, 44, 46, 38, banded([rgb("f2a03a"), rgb("d9662a"), rgb("f7c46a")], Noise(161)))
    sphere(im, 92, 92, 28, cratered(rgb("7fb7e8"), craters_of(162, 4, 0.12, 0.25)))
    return im


def planet_with_moon():
    im = canvas()
    sphere(im, 56, 68, 52, continents(rgb("b0421e"), (rgb("e88a3a"), rgb("f5c27a")),
                                      Noise(171), level=0.5))
    sphere(im, 104, 22, 16, cratered(rgb("d8d8d8"), craters_of(172, 3, 0.2, 0.3)))
    return im


def planet_crystal():
    """A faceted, gem-like world: flat-shaded cells around random points."""
    im = canvas()
    r = random.Random(181)
    seeds = []
    for _ in range(26):
        a, d = r.uniform(0, 2 * math.pi), math.sqrt(r.random())
        seeds.append((d * math.cos(a), d * math.sin(a)))
    cols = [rgb("8e5bd8"), rgb("b98cf0"), rgb("6a3ab8"), rgb("d7b8ff")]
    def tex(nx, ny, nz):
        best = min(range(len(seeds)), key=lambda i: (nx - seeds[i][0]) ** 2 + (ny - seeds[i][1]) ** 2)
        return cols[best % len(cols)]
    return sphere(im, 64, 64, 58, tex, shine=0.8)


def planet_rainbow_rings():
    cols = [rgb("263a8a"), rgb("3550b0"), rgb("1c2a66")]
    rings = [rgb(c) for c in ("ff4040", "ffa030", "ffe040", "40d060", "40a0ff", "a060ff")]
    return ringed(banded(cols, Noise(191), wobble=0.2), 33, rings, -12, rx=62, ry=18, inner=0.6)


def planet_cloudy():
    im = canvas()
    n = Noise(201, cells=(3, 6, 12))
    def tex(nx, ny, nz):
        v = n((nx + 1) / 2 + ny * 0.2, (ny + 1) / 2)
        return ramp([rgb("e8c060"), rgb("fff2c8"), rgb("f0d080")], v)
    return sphere(im, 64, 64, 58, tex, rim=(255, 250, 220))


# ---------------------------------------------------------------- moons

def _moon(base, seed, light, count=8):
    im = canvas()
    tex = cratered(base, craters_of(seed, count, 0.1, 0.22), noise=Noise(seed + 1), tint=0.3)
    return sphere(im, 64, 64, 58, tex, light=light, ambient=0.1)


def moon_red_gibbous():
    return _moon(rgb("f07050"), 211, (0.75, -0.25, 0.6))


def moon_blue_half():
    return _moon(rgb("7aa8ff"), 221, (-1.0, -0.2, 0.3))


def moon_gold_gibbous():
    return _moon(rgb("f2c14e"), 231, (-0.3, -0.8, 0.5))


def moon_ice_full():
    im = canvas()
    n = Noise(241, cells=(4, 8, 16))
    def tex(nx, ny, nz):
        v = n((nx + 1) / 2, (ny + 1) / 2)
        if abs(v - 0.5) < 0.022 or abs(v - 0.35) < 0.018:
            return rgb("b0502a")
        return mix(rgb("fbf6ee"), rgb("e3d4c0"), v)
    return sphere(im, 64, 64, 58, tex, light=(0, 0, 1), ambient=0.35)


# ---------------------------------------------------------------- deep sky

def _galaxy(seed, arm_colour, core_colour, backdrop, twist=2.6, arms=2):
    sky, mask = sky_disc(seed, *backdrop)
    layer = canvas()
    d = ImageDraw.Draw(layer)
    r = random.Random(seed)
    for arm in range(arms):
        for i in range(260):
            t = i / 260.0
            a = arm * 2 * math.pi / arms + t * twist * math.pi
            rad = 8 + t * 50
            x = 64 + rad * math.cos(a) + r.gauss(0, 3 + 4 * t)
            y = 64 + rad * math.sin(a) * 0.8 + r.gauss(0, 3 + 4 * t)
            s = 3.2 - 1.6 * t
            c = mix(core_colour, arm_colour, min(1.0, t * 1.6))
            d.ellipse((x - s, y - s, x + s, y + s),
                      fill=(int(c[0]), int(c[1]), int(c[2]), 255))
    layer = layer.filter(ImageFilter.GaussianBlur(1.6))
    glow(layer, 64, 64, 7, 20, (255, 250, 230))
    return in_mask(over(sky, layer), mask)


def galaxy_blue():
    return _galaxy(301, rgb("5fb0ff"), rgb("fff4d0"), ("1a1050", "05051a"))


def galaxy_pink():
    return _galaxy(311, rgb("ff6fc0"), rgb("fff0f0"), ("2a0a30", "080310"), twist=3.2, arms=3)


def galaxy_gold():
    return _galaxy(321, rgb("ffb040"), rgb("ffffff"), ("1a1a10", "050505"), twist=1.8)


def galaxy_elliptical():
    sky, mask = sky_disc(331, "142040", "02030a", stars=30)
    layer = canvas()
    lp = layer.load()
    for y in range(S):
        for x in range(S):
            u, v = (x - 64) / 50.0, (y - 64) / 26.0
            ru = (u * 0.9 + v * 0.45, -u * 0.45 + v * 0.9)
            d = math.hypot(ru[0], ru[1] * 1.6)
            if d < 1:
                put(lp, x, y, ramp([rgb("fffbe8"), rgb("ffd890"), rgb("d0884a")], d), (1 - d) ** 0.6)
    return in_mask(over(sky, layer), mask)


def _nebula(seed, colours, backdrop):
    sky, mask = sky_disc(seed, *backdrop, shape="square", stars=0)
    layer = canvas()
    r = random.Random(seed)
    d = ImageDraw.Draw(layer)
    for i in range(40):
        c = r.choice(colours)
        x, y = r.gauss(64, 22), r.gauss(64, 18)
        w, h = r.uniform(10, 30), r.uniform(8, 24)
        d.ellipse((x - w, y - h, x + w, y + h), fill=c + (r.randrange(60, 140),))
    layer = layer.filter(ImageFilter.GaussianBlur(6))
    out = over(sky, layer)
    px = out.load()
    for _ in range(22):
        x, y = r.randrange(14, S - 14), r.randrange(14, S - 14)
        for dx, dy in ((0, 0), (1, 0), (0, 1), (1, 1)):
            put(px, x + dx, y + dy, (255, 255, 255), 1.0)
    glow(out, 70, 58, 3, 10, (255, 255, 255))
    return in_mask(out, mask)


def nebula_red():
    return _nebula(401, [rgb("ff4060"), rgb("ff9040"), rgb("c02080"), rgb("ffd0a0")],
                   ("200818", "060208"))


def nebula_teal():
    return _nebula(411, [rgb("20d0c0"), rgb("40a0ff"), rgb("80ffb0"), rgb("2060c0")],
                   ("061a24", "02060a"))


def nebula_ring():
    sky, mask = sky_disc(421, "0c1030", "02030c", stars=30)
    layer = canvas()
    lp = layer.load()
    for y in range(S):
        for x in range(S):
            d = math.hypot((x - 64) / 1.15, y - 64)
            if 14 < d < 46:
                t = (d - 14) / 32.0
                put(lp, x, y, ramp([rgb("40e0ff"), rgb("80ff90"), rgb("ff8040"), rgb("ff3060")], t),
                    math.sin(t * math.pi) ** 0.5)
    layer = layer.filter(ImageFilter.GaussianBlur(2))
    glow(layer, 64, 64, 3, 8, (255, 255, 255))
    return in_mask(over(sky, layer), mask)


# ---------------------------------------------------------------- stars

def star_red_giant():
    """A swollen red star with flares looping off its edge."""
    im = canvas()
    d = ImageDraw.Draw(im)
    for ang, size in ((-40, 20), (70, 16), (160, 22), (235, 14)):
        a = math.radians(ang)
        cx, cy = 64 + 48 * math.cos(a), 64 + 48 * math.sin(a)
        d.ellipse((cx - size, cy - size, cx + size, cy + size), outline=(255, 150, 40, 255), width=6)
    glow(im, 64, 64, 50, 60, (255, 110, 40), 0.95)
    n = Noise(501, cells=(8, 16, 32))
    def tex(nx, ny, nz):
        v = n((nx + 1) / 2, (ny + 1) / 2)
        return ramp([rgb("fff0b0"), rgb("ffa040"), rgb("e04018"), rgb("a01808")],
                    clamp(v * 1.4 - 0.2 + (1 - nz) * 0.5))
    return sphere(im, 64, 64, 48, tex, light=(0, 0, 1), ambient=0.9)


def star_blue():
    im = canvas()
    d = ImageDraw.Draw(im)
    for a, length, w in ((0, 62, 7), (90, 62, 7), (45, 38, 5), (135, 38, 5)):
        rad = math.radians(a)
        ca, sa = math.cos(rad), math.sin(rad)
        pts = [(64 + ca * length, 64 + sa * length), (64 - sa * w, 64 + ca * w),
               (64 - ca * length, 64 - sa * length), (64 + sa * w, 64 - ca * w)]
        d.polygon(pts, fill=(150, 200, 255, 255))
    glow(im, 64, 64, 20, 36, (120, 170, 255))
    return glow(im, 64, 64, 12, 20, (240, 250, 255))


def star_binary():
    im = canvas()
    d = ImageDraw.Draw(im)
    d.ellipse((8, 40, 120, 88), outline=(200, 210, 255, 255), width=5)
    glow(im, 40, 60, 22, 30, (255, 170, 40))
    sphere(im, 40, 60, 22, lambda *a: rgb("ffd050"), light=(0, 0, 1), ambient=1.0)
    glow(im, 98, 76, 12, 18, (120, 170, 255))
    sphere(im, 98, 76, 12, lambda *a: rgb("d0e6ff"), light=(0, 0, 1), ambient=1.0)
    return im


def supernova():
    im = canvas()
    d = ImageDraw.Draw(im)
    r = random.Random(531)
    for rad, col in ((62, "ff4020"), (48, "ff9a20"), (34, "ffe040")):
        pts = []
        n = 18
        for i in range(2 * n):
            rr = rad * (r.uniform(0.85, 1.0) if i % 2 == 0 else r.uniform(0.45, 0.6))
            a = i * math.pi / n
            pts.append((64 + rr * math.cos(a), 64 + rr * math.sin(a)))
        d.polygon(pts, fill=rgb(col) + (255,))
    return glow(im, 64, 64, 12, 22, (255, 255, 255))


def pulsar():
    im = canvas()
    d = ImageDraw.Draw(im)
    d.polygon([(64, 64), (6, 2), (22, 2)], fill=(120, 230, 255, 255))
    d.polygon([(64, 64), (122, 126), (106, 126)], fill=(120, 230, 255, 255))
    d.ellipse((28, 44, 100, 84), outline=(190, 150, 255, 255), width=5)
    d.ellipse((44, 30, 84, 98), outline=(190, 150, 255, 255), width=5)
    glow(im, 64, 64, 12, 22, (200, 240, 255))
    return sphere(im, 64, 64, 12, lambda *a: (235, 250, 255), light=(0, 0, 1), ambient=1.0)


def black_hole():
    back, front = ring_layers(64, 66, 62, 18, 0.45, [rgb("fff0b0"), rgb("ffa030"), rgb("c03810")])
    hole = canvas()
    glow(hole, 64, 60, 30, 36, (255, 200, 120))
    d = ImageDraw.Draw(hole)
    d.ellipse((64 - 30, 60 - 30, 64 + 30, 60 + 30), fill=(0, 0, 0, 255))
    # The far side of the disc, bent over the top of the hole by its gravity.
    arc = canvas()
    ImageDraw.Draw(arc).arc((64 - 40, 60 - 40, 64 + 40, 60 + 40), 190, 350,
                            fill=(255, 190, 80, 255), width=7)
    return over(over(over(back, hole), arc), front)


def eclipse():
    im = canvas()
    d = ImageDraw.Draw(im)
    for i in range(16):
        a = i * math.pi / 8 + 0.2
        long = 62 if i % 2 == 0 else 50
        pts = [(64 + 30 * math.cos(a - 0.18), 64 + 30 * math.sin(a - 0.18)),
               (64 + long * math.cos(a), 64 + long * math.sin(a)),
               (64 + 30 * math.cos(a + 0.18), 64 + 30 * math.sin(a + 0.18))]
        d.polygon(pts, fill=(255, 220, 120, 255))
    glow(im, 64, 64, 40, 48, (255, 250, 220))
    d.ellipse((64 - 38, 64 - 38, 64 + 38, 64 + 38), fill=(20, 20, 40, 255))
    return glow(im, 86, 46, 2, 9, (255, 255, 255))


def _comet(head, tail_colours, angle_deg):
    """A bright head trailing a fan of tapering streaks."""
    im = canvas()
    px = im.load()
    hx, hy = 98, 30
    streaks = [(-9, 112, 20), (0, 124, 26), (9, 100, 18), (17, 72, 12)]   # turn, length, width
    for y in range(S):
        for x in range(S):
            dx, dy = x + 0.5 - hx, y + 0.5 - hy
            best = None
            for turn, length, width in streaks:
                a = math.radians(angle_deg + turn)
                ux, uy = math.cos(a), math.sin(a)
                t = (dx * ux + dy * uy) / length
                if t < 0 or t > 1:
                    continue
                across = abs(-dx * uy + dy * ux)
                w = width / 2 * (1 - t) + 1
                cover = clamp(w - across + 0.5)
                if cover > 0 and (best is None or t < best[0]):
                    best = (t, cover)
            if best:
                put(px, x, y, ramp(tail_colours, best[0]), best[1])
    glow(im, hx, hy, 12, 20, head)
    return glow(im, hx, hy, 7, 12, (255, 255, 255))


def comet_blue():
    return _comet((170, 220, 255), [rgb("ffffff"), rgb("80c8ff"), rgb("2060d0")], 140)


def comet_gold():
    return _comet((255, 220, 120), [rgb("fff6d0"), rgb("ffb030"), rgb("d04010")], 115)


def _constellation(seed, points, links, backdrop):
    sky, mask = sky_disc(seed, *backdrop, stars=14)
    d = ImageDraw.Draw(sky)
    for a, b in links:
        d.line((points[a], points[b]), fill=(120, 170, 255, 255), width=4)
    for x, y in points:
        d.polygon(star_points(x, y, 11, 4, 4), fill=(255, 255, 220, 255))
    return in_mask(sky, mask)


def constellation_dipper():
    pts = [(20, 44), (40, 40), (58, 48), (74, 58), (78, 84), (108, 92), (110, 62)]
    return _constellation(701, pts, [(0, 1), (1, 2), (2, 3), (3, 4), (4, 5), (5, 6), (6, 3)],
                          ("0a1440", "020614"))


def constellation_w():
    pts = [(16, 48), (40, 84), (64, 56), (88, 86), (112, 44)]
    return _constellation(711, pts, [(0, 1), (1, 2), (2, 3), (3, 4)], ("24103c", "06020e"))


def meteor_shower():
    sky, mask = sky_disc(721, "1a2460", "0a0c20", stars=20, shape="square")
    d = ImageDraw.Draw(sky)
    r = random.Random(722)
    for i in range(5):
        x, y = 30 + i * 20 + r.randrange(-6, 6), 14 + r.randrange(0, 30)
        for k in range(10):
            t = k / 10.0
            c = mix((255, 255, 255), (255, 140, 40), t)
            d.line((x - k * 4, y + k * 4, x - k * 4 - 5, y + k * 4 + 5),
                   fill=(int(c[0]), int(c[1]), int(c[2]), 255), width=max(2, 6 - k // 2))
    d.polygon([(4, 128), (4, 100), (30, 92), (60, 104), (90, 94), (124, 106), (124, 128)],
              fill=(16, 36, 24, 255))
    return in_mask(sky, mask)


# ---------------------------------------------------------------- craft

def _rocket(body, accent, angle, width=22, stripes=True, fins=None):
    im = canvas()
    d = ImageDraw.Draw(im)
    w = width
    # Flame first, so the body covers its root.
    d.polygon([(64 - w * 0.6, 100), (64, 127), (64 + w * 0.6, 100)], fill=(255, 120, 20, 255))
    d.polygon([(64 - w * 0.35, 100), (64, 118), (64 + w * 0.35, 100)], fill=(255, 230, 90, 255))
    fin = fins or accent
    d.polygon([(64 - w, 64), (64 - w - 16, 100), (64 - w - 16, 108), (64 - w, 98)], fill=fin + (255,))
    d.polygon([(64 + w, 64), (64 + w + 16, 100), (64 + w + 16, 108), (64 + w, 98)], fill=fin + (255,))
    # Left side from the shoulder up to the tip; the right side mirrors it.
    left = [(64 - w * math.sin(t / 20 * math.pi / 2), 46 - 40 * math.cos(t / 20 * math.pi / 2))
            for t in range(20, -1, -1)]
    right = [(128 - x, y) for x, y in reversed(left)]
    outline = [(64 - w, 102)] + left + right + [(64 + w, 102)]
    d.polygon(outline, fill=body + (255,))
    d.polygon([(x, y) for x, y in left + right if y < 24], fill=accent + (255,))
    if stripes:
        d.rectangle((64 - w, 84, 64 + w, 92), fill=accent + (255,))
    d.rectangle((64 - w * 0.7, 102, 64 + w * 0.7, 108), fill=(90, 90, 100, 255))
    d.ellipse((64 - 11, 44, 64 + 11, 66), fill=(70, 80, 100, 255))
    d.ellipse((64 - 8, 47, 64 + 8, 63), fill=(120, 210, 255, 255))
    d.ellipse((64 - 5, 49, 64, 54), fill=(230, 250, 255, 255))
    # Shade the right half of the body a touch, for roundness.
    shade = canvas()
    ImageDraw.Draw(shade).rectangle((64 + w * 0.35, 0, 128, 104), fill=(0, 0, 0, 40))
    shaded = Image.alpha_composite(im, shade)
    im = Image.composite(shaded, im, im.getchannel("A").point(lambda a: 255 if a else 0))
    return im.rotate(angle, resample=Image.BICUBIC, center=(64, 64))


def rocket_red():
    return _rocket(rgb("f4f4f4"), rgb("e03030"), -40)


def rocket_blue():
    return _rocket(rgb("3a78e0"), rgb("ffd040"), 0, fins=rgb("1d4aa0"))


def rocket_green():
    return _rocket(rgb("50c060"), rgb("f0f0f0"), 35, width=20, fins=rgb("e87a20"))


def rocket_chubby():
    return _rocket(rgb("ffb6d0"), rgb("8a50d0"), -15, width=30, stripes=False)


def shuttle():
    im = canvas()
    d = ImageDraw.Draw(im)
    d.polygon([(64, 4), (76, 30), (78, 60), (112, 104), (112, 114), (16, 114), (16, 104),
               (50, 60), (52, 30)], fill=(245, 245, 245, 255))
    d.polygon([(16, 104), (50, 60), (56, 60), (24, 104)], fill=(40, 40, 50, 255))
    d.polygon([(112, 104), (78, 60), (72, 60), (104, 104)], fill=(40, 40, 50, 255))
    d.polygon([(64, 4), (72, 20), (56, 20)], fill=(40, 40, 50, 255))
    d.polygon([(58, 24), (70, 24), (68, 32), (60, 32)], fill=(60, 120, 190, 255))
    d.rectangle((56, 114, 72, 120), fill=(80, 80, 90, 255))
    d.polygon([(50, 120), (64, 128), (78, 120)], fill=(255, 160, 40, 255))
    d.rectangle((60, 40, 68, 100), fill=(200, 200, 210, 255))
    return im.rotate(-30, resample=Image.BICUBIC)


def rocket_boosters():
    im = canvas()
    d = ImageDraw.Draw(im)
    for x0 in (30, 82):
        d.polygon([(x0 - 4, 110), (x0 + 8, 126), (x0 + 20, 110)], fill=(255, 170, 40, 255))
        d.rectangle((x0, 30, x0 + 16, 112), fill=(240, 240, 240, 255))
        d.polygon([(x0, 30), (x0 + 8, 14), (x0 + 16, 30)], fill=(240, 240, 240, 255))
        d.rectangle((x0 + 10, 30, x0 + 16, 112), fill=(200, 200, 205, 255))
    d.polygon([(52, 112), (64, 127), (76, 112)], fill=(255, 120, 30, 255))
    d.rectangle((46, 20, 82, 114), fill=(214, 110, 40, 255))
    d.rectangle((70, 20, 82, 114), fill=(180, 86, 30, 255))
    d.polygon([(46, 20), (64, 0), (82, 20)], fill=(214, 110, 40, 255))
    return im


def _saucer(body, dome, lights, tilt, beam=None):
    im = canvas()
    d = ImageDraw.Draw(im)
    if beam:
        d.polygon([(46, 74), (82, 74), (112, 126), (16, 126)], fill=beam + (200,))
    d.ellipse((38, 30, 90, 82), fill=dome + (255,))
    d.ellipse((48, 38, 62, 50), fill=(255, 255, 255, 255))
    d.ellipse((6, 56, 122, 90), fill=tuple(int(v * 0.7) for v in body) + (255,))
    d.ellipse((6, 52, 122, 82), fill=body + (255,))
    d.ellipse((20, 56, 108, 70), fill=tuple(min(255, int(v * 1.2) + 20) for v in body) + (255,))
    for i, x in enumerate((20, 42, 64, 86, 108)):
        y = 73 if x in (42, 64, 86) else 69
        c = lights[i % len(lights)]
        d.ellipse((x - 6, y - 5, x + 6, y + 5), fill=c + (255,))
    return im.rotate(tilt, resample=Image.BICUBIC)


def saucer_silver():
    return _saucer(rgb("b8c0cc"), rgb("70d8ff"), [rgb("ff3030"), rgb("ffe030")], 10)


def saucer_green_beam():
    im = _saucer(rgb("50c040"), rgb("c0ff60"), [rgb("ffffff")], 0, beam=rgb("fff490"))
    return im.transform((S, S), Image.AFFINE, (1, 0, 0, 0, 1, 10), resample=Image.BICUBIC)


def saucer_purple():
    return _saucer(rgb("9050d0"), rgb("ffb0f0"), [rgb("40ff80"), rgb("ff9020")], -16)


def fighter_arrow():
    im = canvas()
    d = ImageDraw.Draw(im)
    d.polygon([(64, 2), (120, 108), (64, 88), (8, 108)], fill=(230, 232, 240, 255))
    d.polygon([(64, 2), (120, 108), (64, 88)], fill=(190, 194, 206, 255))
    d.polygon([(64, 24), (80, 70), (64, 64), (48, 70)], fill=(220, 40, 50, 255))
    d.ellipse((56, 40, 72, 62), fill=(60, 180, 255, 255))
    for x in (34, 94):
        d.ellipse((x - 9, 94, x + 9, 112), fill=(255, 150, 40, 255))
        d.ellipse((x - 5, 98, x + 5, 108), fill=(255, 240, 160, 255))
    return im.rotate(-45, resample=Image.BICUBIC)


def capsule():
    """A crew capsule coasting nose-first, thrusters puffing."""
    im = canvas()
    d = ImageDraw.Draw(im)
    for x, y in ((30, 34), (98, 34)):
        d.ellipse((x - 9, y - 9, x + 9, y + 9), fill=(235, 240, 250, 255))
    d.polygon([(50, 14), (78, 14), (112, 96), (16, 96)], fill=(216, 220, 228, 255))
    d.polygon([(64, 14), (78, 14), (112, 96), (64, 96)], fill=(180, 186, 198, 255))
    d.rectangle((50, 6, 78, 16), fill=(150, 156, 170, 255))
    d.rectangle((20, 56, 108, 62), fill=(60, 90, 170, 255))
    d.ellipse((52, 30, 76, 52), fill=(60, 64, 80, 255))
    d.ellipse((56, 34, 72, 48), fill=(110, 200, 255, 255))
    d.ellipse((58, 36, 64, 41), fill=(240, 250, 255, 255))
    d.chord((10, 84, 118, 116), 0, 180, fill=(120, 70, 40, 255))
    d.rectangle((16, 94, 112, 100), fill=(150, 90, 50, 255))
    return im.rotate(-25, resample=Image.BICUBIC)


def cruiser():
    im = canvas()
    d = ImageDraw.Draw(im)
    d.rectangle((8, 56, 108, 80), fill=(150, 156, 170, 255))
    d.polygon([(108, 56), (126, 68), (108, 80)], fill=(170, 176, 190, 255))
    d.rectangle((28, 42, 80, 56), fill=(120, 126, 140, 255))
    d.rectangle((40, 30, 62, 42), fill=(110, 116, 130, 255))
    d.rectangle((8, 80, 96, 90), fill=(100, 106, 120, 255))
    for x in range(34, 104, 12):
        d.rectangle((x, 63, x + 6, 69), fill=(255, 230, 120, 255))
    for y in (58, 72):
        d.ellipse((0, y - 6, 12, y + 6), fill=(80, 200, 255, 255))
        d.ellipse((2, y - 3, 8, y + 3), fill=(230, 255, 255, 255))
    return im.rotate(20, resample=Image.BICUBIC)


def station_ring():
    im = canvas()
    d = ImageDraw.Draw(im)
    d.ellipse((4, 30, 124, 98), outline=(200, 204, 214, 255), width=14)
    d.ellipse((4, 30, 124, 98), outline=(150, 154, 166, 255), width=4)
    for a in range(0, 360, 30):
        x = 64 + 53 * math.cos(math.radians(a))
        y = 64 + 27 * math.sin(math.radians(a))
        d.ellipse((x - 3, y - 3, x + 3, y + 3), fill=(255, 220, 120, 255))
    for a in (0, 90, 180, 270):
        x = 64 + 54 * math.cos(math.radians(a + 45))
        y = 64 + 28 * math.sin(math.radians(a + 45))
        d.line((64, 64, x, y), fill=(170, 174, 186, 255), width=5)
    d.ellipse((50, 50, 78, 78), fill=(220, 224, 232, 255))
    d.ellipse((58, 58, 70, 70), fill=(90, 160, 230, 255))
    d.rectangle((60, 6, 68, 50), fill=(170, 174, 186, 255))
    d.rectangle((40, 2, 88, 14), fill=(50, 90, 200, 255))
    return im


def station_modules():
    im = canvas()
    d = ImageDraw.Draw(im)
    for x0 in (10, 82):
        for y0 in (8, 84):
            d.rectangle((x0, y0, x0 + 36, y0 + 36), fill=(40, 70, 170, 255))
            for k in range(1, 4):
                d.line((x0 + k * 9, y0, x0 + k * 9, y0 + 36), fill=(120, 160, 240, 255), width=2)
                d.line((x0, y0 + k * 9, x0 + 36, y0 + k * 9), fill=(120, 160, 240, 255), width=2)
    d.rectangle((26, 44, 30, 84), fill=(180, 180, 190, 255))
    d.rectangle((98, 44, 102, 84), fill=(180, 180, 190, 255))
    d.rectangle((14, 56, 114, 72), fill=(230, 230, 236, 255))
    d.rectangle((14, 66, 114, 72), fill=(190, 190, 200, 255))
    d.rectangle((52, 46, 76, 82), fill=(240, 240, 244, 255))
    d.ellipse((58, 56, 70, 68), fill=(255, 200, 60, 255))
    return im.rotate(25, resample=Image.BICUBIC)


def probe_dish():
    im = canvas()
    d = ImageDraw.Draw(im)
    d.line((64, 70, 124, 110), fill=(170, 170, 180, 255), width=4)
    d.line((64, 70, 10, 120), fill=(170, 170, 180, 255), width=4)
    d.rectangle((112, 104, 126, 118), fill=(200, 160, 60, 255))
    d.rectangle((48, 66, 80, 90), fill=(210, 170, 60, 255))
    d.rectangle((64, 66, 80, 90), fill=(170, 130, 40, 255))
    d.ellipse((10, 6, 118, 70), fill=(200, 200, 210, 255))
    d.ellipse((16, 10, 112, 62), fill=(245, 245, 250, 255))
    d.line((64, 36, 64, 12), fill=(120, 120, 130, 255), width=4)
    d.ellipse((58, 30, 70, 42), fill=(120, 120, 130, 255))
    return im


def lander():
    im = canvas()
    d = ImageDraw.Draw(im)
    for x0, x1 in ((34, 8), (94, 120)):
        d.line((x0, 84, x1, 118), fill=(190, 190, 196, 255), width=6)
        d.ellipse((x1 - 10, 114, x1 + 10, 124), fill=(160, 160, 168, 255))
    d.line((64, 90, 64, 118), fill=(190, 190, 196, 255), width=6)
    d.ellipse((54, 114, 74, 124), fill=(160, 160, 168, 255))
    d.polygon([(26, 64), (102, 64), (110, 94), (18, 94)], fill=(226, 176, 52, 255))
    d.polygon([(64, 64), (102, 64), (110, 94), (64, 94)], fill=(190, 140, 36, 255))
    d.polygon([(36, 30), (92, 30), (100, 64), (28, 64)], fill=(205, 208, 214, 255))
    d.polygon([(46, 36), (62, 36), (60, 52), (44, 52)], fill=(40, 50, 70, 255))
    d.line((82, 30, 96, 8), fill=(160, 160, 170, 255), width=4)
    d.ellipse((88, 0, 108, 14), fill=(230, 230, 236, 255))
    return im


def alien_blob():
    """A purple blob with three eyes on stalks."""
    im = canvas()
    d = ImageDraw.Draw(im)
    for x, top in ((36, 14), (64, 4), (92, 14)):
        d.line((64 + (x - 64) * 0.4, 56, x, top + 12), fill=(130, 70, 190, 255), width=7)
        d.ellipse((x - 14, top, x + 14, top + 26), fill=(255, 255, 255, 255))
        d.ellipse((x - 6, top + 8, x + 6, top + 20), fill=(20, 20, 30, 255))
    sphere(im, 64, 86, 40, lambda *a: rgb("a060e0"), ambient=0.45)
    d = ImageDraw.Draw(im)
    d.chord((42, 80, 86, 112), 10, 170, fill=(60, 20, 80, 255))
    d.rectangle((52, 92, 58, 98), fill=(255, 255, 255, 255))
    d.rectangle((70, 92, 76, 98), fill=(255, 255, 255, 255))
    return im


def alien_cyclops():
    im = canvas()
    d = ImageDraw.Draw(im)
    d.line((64, 24, 64, 4), fill=(230, 120, 30, 255), width=6)
    d.ellipse((56, 0, 72, 14), fill=(255, 240, 80, 255))
    d.ellipse((6, 62, 34, 78), fill=(240, 140, 40, 255))
    d.ellipse((94, 62, 122, 78), fill=(240, 140, 40, 255))
    sphere(im, 64, 72, 48, lambda *a: rgb("ffa040"), ambient=0.45)
    d = ImageDraw.Draw(im)
    d.ellipse((38, 44, 90, 92), fill=(255, 255, 255, 255))
    d.ellipse((52, 56, 78, 82), fill=(40, 160, 80, 255))
    d.ellipse((58, 62, 72, 76), fill=(10, 10, 20, 255))
    d.ellipse((60, 62, 66, 68), fill=(255, 255, 255, 255))
    d.arc((44, 86, 84, 112), 20, 160, fill=(120, 40, 10, 255), width=5)
    return im


def tin_robot():
    """A tin robot from head to foot, where the emoji shows only a face."""
    im = canvas()
    d = ImageDraw.Draw(im)
    d.line((64, 22, 64, 6), fill=(120, 120, 130, 255), width=5)
    d.ellipse((56, 0, 72, 14), fill=(240, 40, 40, 255))
    d.rounded_rectangle((36, 20, 92, 60), radius=8, fill=(176, 186, 200, 255))
    d.ellipse((44, 30, 60, 46), fill=(255, 230, 80, 255))
    d.ellipse((68, 30, 84, 46), fill=(255, 230, 80, 255))
    d.rectangle((48, 50, 80, 56), fill=(70, 70, 80, 255))
    d.rounded_rectangle((30, 64, 98, 112), radius=8, fill=(150, 160, 178, 255))
    d.rectangle((42, 74, 86, 94), fill=(90, 100, 120, 255))
    for i, c in enumerate(((255, 60, 60), (60, 220, 90), (70, 150, 255))):
        d.ellipse((46 + i * 14, 78, 56 + i * 14, 88), fill=c + (255,))
    d.rectangle((10, 68, 26, 76), fill=(150, 160, 178, 255))
    d.rectangle((102, 68, 118, 76), fill=(150, 160, 178, 255))
    d.rectangle((10, 68, 18, 100), fill=(150, 160, 178, 255))
    d.rectangle((110, 44, 118, 76), fill=(150, 160, 178, 255))
    d.rectangle((40, 112, 54, 126), fill=(110, 120, 138, 255))
    d.rectangle((74, 112, 88, 126), fill=(110, 120, 138, 255))
    return im


def asteroids():
    im = canvas()
    r = random.Random(901)
    for cx, cy, rad, base in ((48, 56, 40, "8a7a6a"), (100, 100, 20, "a09080"), (104, 30, 14, "706458")):
        lump = [r.uniform(0.82, 1.0) for _ in range(9)]
        noise = Noise(r.randrange(1000))
        col = rgb(base)
        craters = craters_of(r.randrange(1000), 4, 0.12, 0.22)
        tex = cratered(col, craters, noise=noise, tint=0.5)
        layer = canvas()
        sphere(layer, cx, cy, rad, tex)
        mask = Image.new("L", (S, S), 0)
        pts = [(cx + rad * lump[i] * math.cos(i * 2 * math.pi / 9),
                cy + rad * lump[i] * math.sin(i * 2 * math.pi / 9)) for i in range(9)]
        ImageDraw.Draw(mask).polygon(pts, fill=255)
        im = over(im, Image.composite(layer, canvas(), mask))
    return im


def draw(name):
    fn = globals().get(name)
    if fn is None or not callable(fn):
        raise KeyError("no drawing called %r" % name)
    return fn()
