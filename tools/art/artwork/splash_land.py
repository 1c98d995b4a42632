"""The splash's land and water: three hill ranges, pines, the lake and reeds in front."""

import math
import random

from .canvas import Canvas
from .colour import C, mix, smoothstep
from .shapes import ellipse, polygon, seg
from .splash_sky import H, HZ, SUNX, W, sky_col


def ridge_far(nz, x):
    """Top edge of the far range: a broad hump in the middle."""
    v = math.exp(-((x - 205) / 85.0) ** 2)
    return 172 + 22 * nz.f1(x / 45.0 + 3.0) - 12 * nz.f1(x / 14.0 + 40) * 0.5 + 22 * v


def ridge_mid(nz, x):
    """High on the left, a wide valley in the middle, lower hills on the right."""
    side = (200 - x) / 200.0 if x < 200 else max(0.0, x - 250) / 150.0
    return 222 - 95 * side ** 1.3 - 22 * nz.f1(x / 38.0 + 91.0)


def ridge_near(nz, x):
    """Top edge of the near range: dark slopes rising towards both sides."""
    if x < 200:
        t = x / 135.0
    else:
        t = (400 - x) / 120.0
    return 150 + 95 * t ** 1.6 + 10 * nz.f1(x / 20.0 + 300.0)


# Ranges from far to near: (ridge, colour at the top, colour lower down, haze, texture).
RANGES = [
    (ridge_far, (128, 96, 150), (178, 126, 150), 0.55, 0.0),
    (ridge_mid, (62, 50, 96), (92, 70, 110), 0.3, 0.16),
    (ridge_near, (22, 22, 44), (30, 28, 52), 0.08, 0.22),
]


def range_col(nz, li, x, y, ry, top_c, bot_c, haze, tex):
    """Colour of range li at a pixel below its ridge line ry."""
    t = min(1.0, (y - ry) / 40.0)
    col = mix(top_c, bot_c, t)
    if tex:
        # gullies and slopes: streaky light and shade down the flanks
        k = 1.0 + tex * (nz.f2(x / 14.0 + li * 50, y / 26.0 - x / 40.0, 3) - 0.5) * 2
        col = (col[0] * k, col[1] * k, col[2] * k)
    # haze near the horizon and a warm rim on the sun side
    hz = haze * smoothstep(ry, HZ + 4, y)
    col = mix(col, sky_col(x + 0.5, HZ - 2), hz)
    gx = math.exp(-((x - SUNX) / 110.0) ** 2)
    rim = gx * math.exp(-(y - ry) / 3.0) * (0.55 if haze > 0.1 else 0.3)
    return mix(col, (255, 175, 120), rim)


def paint_ranges(img, nz):
    """The hill ranges from far to near, each anti-aliased along its ridge."""
    for li, (ridge, top_c, bot_c, haze, tex) in enumerate(RANGES):
        for x in range(W):
            ry = ridge(nz, x + 0.5)
            j0 = max(0, int(ry) - 1)
            for y in range(j0, HZ + 8):
                cov = (y + 0.5) - ry + 0.5
                if cov <= 0:
                    continue
                cov = min(1.0, cov)
                col = range_col(nz, li, x, y, ry, top_c, bot_c, haze, tex)
                k = y * W + x
                img[k] = mix(img[k], col, cov)


def blend_canvas(img, cv, count):
    """Lays the first count pixels of a canvas over the picture."""
    cp = cv.px
    for k in range(count):
        a = cp[k * 4 + 3]
        if a > 0:
            c = img[k]
            img[k] = (c[0] * (1 - a) + cp[k * 4] * 255,
                      c[1] * (1 - a) + cp[k * 4 + 1] * 255,
                      c[2] * (1 - a) + cp[k * 4 + 2] * 255)


def paint_trees(img, nz):
    """Pine trees along the near ridges (anti-aliased triangles)."""
    trees = Canvas(W, H, 1.0)
    rng = random.Random(5)
    x = 1.0
    while x < W:
        if 128 < x < 290:
            x += 3
            continue
        base = ridge_near(nz, x) + 3
        if base < HZ + 2:
            hgt = rng.uniform(9, 22) * (1.0 if (x < 70 or x > 345) else 0.75)
            wdt = hgt * rng.uniform(0.26, 0.34)
            trees.fill(polygon([(x, base - hgt), (x + wdt, base), (x - wdt, base)]),
                       C(16, 16, 34))
            trees.fill(seg(x, base - hgt * 0.3, x, base + 2, 1.0), C(16, 16, 34))
        x += rng.uniform(3.0, 7.5)
    blend_canvas(img, trees, W * (HZ + 8))


def lake_col(img, nz, x, y):
    """Colour of the lake at a pixel: the scene above mirrored with ripples, sun glitter."""
    dist = y - HZ
    wob = (math.sin(y * 1.7 + nz.n1(x / 9.0 + y * 0.5) * 6.0) * 0.35
           + (nz.n1(y * 0.9 + x / 60.0) - 0.5)) * min(1.0, dist / 30.0)
    sy = HZ - 1 - dist * 0.92 - wob * 2.2
    sy = min(max(sy, 0.0), HZ - 1.0)
    sx = min(max(x + wob * 3.0, 0.0), W - 1.0)
    y0 = int(sy)
    fy = sy - y0
    y1 = min(HZ - 1, y0 + 1)
    a = img[y0 * W + int(sx)]
    b = img[y1 * W + int(sx)]
    col = mix(a, b, fy)
    dk = 0.78 - 0.18 * min(1.0, dist / 94.0)
    col = (col[0] * dk * 0.93 + 6, col[1] * dk * 0.97 + 10, col[2] * dk + 22)
    # sun glitter
    gx = math.exp(-((x - SUNX) / (10 + dist * 0.45)) ** 2)
    if gx > 0.02:
        sp = nz.n2(x / 5.0, y / 1.3)
        sp = smoothstep(0.55, 0.85, sp) * gx * (1 - dist / 140.0)
        col = mix(col, (255, 225, 175), max(0.0, sp))
    return col


def paint_lake(img, nz):
    """The lake below the horizon, then a bright seam where the hills meet the water."""
    for y in range(HZ, H):
        for x in range(W):
            img[y * W + x] = lake_col(img, nz, x, y)
    for x in range(W):
        k = HZ * W + x
        img[k] = mix(img[k], (255, 200, 150), 0.18 * math.exp(-((x - SUNX) / 90.0) ** 2))


def paint_reeds(img):
    """Reeds in the foreground corners, rising from dark banks."""
    fg = Canvas(W, H, 1.0)
    rng = random.Random(11)
    for side in (0, 1):
        for _ in range(38):
            bx = rng.uniform(0, 95) if side == 0 else W - rng.uniform(0, 80)
            hgt = rng.uniform(18, 62) * (1 - (abs(bx - (0 if side == 0 else W)) / 130.0))
            lean = rng.uniform(-9, 9)
            top = (bx + lean, H - hgt)
            fg.fill(polygon([(bx - 1.3, H + 1), (bx + 1.3, H + 1), top]), C(10, 10, 22))
        fg.fill(ellipse(0 if side == 0 else W, H + 8, 120 if side == 0 else 100, 22),
                C(10, 10, 22))
    blend_canvas(img, fg, W * H)
