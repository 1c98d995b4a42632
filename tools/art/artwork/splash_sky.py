"""The splash's sky at dusk: colour ramp, thin clouds, stars, the sun and its bloom.

The splash is painted into a list of RGB float triples (0..255), one per pixel, row by row.
"""

import math
import random

from .colour import mix, smoothstep

W, H = 400, 300                        # picture size in pixels
HZ = 206                               # horizon row: the lake starts here
SUNX, SUNY, SUNR = 276.0, 193.0, 10.0  # the sun, just above the hills

SKY_STOPS = [(0.0, (12, 20, 54)), (0.3, (32, 48, 108)), (0.55, (84, 88, 156)),
             (0.75, (176, 118, 150)), (0.9, (244, 156, 110)), (1.0, (255, 196, 135))]


def sky_col(x, y):
    """Sky colour at a point: the ramp from the top down, warmed around the sun."""
    t = y / HZ
    col = None
    for i in range(1, len(SKY_STOPS)):
        if t <= SKY_STOPS[i][0] or i == len(SKY_STOPS) - 1:
            t0, c0 = SKY_STOPS[i - 1]
            t1, c1 = SKY_STOPS[i]
            col = mix(c0, c1, min(1.0, max(0.0, (t - t0) / (t1 - t0))))
            break
    # warm glow around the setting sun
    dx, dy = (x - SUNX) / 150.0, (y - SUNY) / 75.0
    g = math.exp(-(dx * dx + dy * dy))
    col = mix(col, (255, 190, 120), 0.75 * g)
    dx, dy = (x - SUNX) / 40.0, (y - SUNY) / 30.0
    g2 = math.exp(-(dx * dx + dy * dy))
    col = mix(col, (255, 235, 190), 0.8 * g2)
    return col


def cloud_over(nz, x, y, col):
    """col with the thin cloud band laid over it, lit from below near the sun."""
    band = smoothstep(55, 95, y) * (1 - smoothstep(150, 175, y))
    calm = 1.0 - 0.7 * math.exp(-(((x - 200) / 70.0) ** 2 + ((y - 165) / 30.0) ** 2))
    if x < 230 and y < 100:
        calm *= 0.4
    d = nz.f2(x / 120.0, y / 11.0) - 0.5
    dens = smoothstep(0.0, 0.18, d) * band * calm
    if dens > 0.0:
        lit = math.exp(-(((x - SUNX) / 170.0) ** 2)) * smoothstep(80, 170, y)
        cc = mix((72, 62, 108), (255, 165, 125), 0.35 + 0.65 * lit)
        col = mix(col, cc, dens * 0.8)
    return col


def paint_sky(img, nz):
    """Sky with thin clouds, down to a little below the horizon."""
    for y in range(HZ + 8):
        for x in range(W):
            col = sky_col(x + 0.5, y + 0.5)
            if 55 < y < 175:
                col = cloud_over(nz, x, y, col)
            img[y * W + x] = col


def paint_stars(img):
    """Stars high up, away from the title area."""
    rng = random.Random(99)
    for _ in range(90):
        sx, sy = rng.uniform(0, W), rng.uniform(0, 110)
        if sx < 230 and sy < 70:
            continue
        b = rng.uniform(0.25, 0.9) * (1 - sy / 120.0)
        for yy in range(int(sy) - 1, int(sy) + 2):
            for xx in range(int(sx) - 1, int(sx) + 2):
                if 0 <= xx < W and 0 <= yy < H:
                    dd = (xx + 0.5 - sx) ** 2 + (yy + 0.5 - sy) ** 2
                    k = b * math.exp(-dd * 2.2)
                    img[yy * W + xx] = mix(img[yy * W + xx], (255, 250, 235), k)


def paint_sun(img):
    """The sun disc with a soft edge."""
    for y in range(int(SUNY - SUNR - 2), int(SUNY + SUNR + 3)):
        for x in range(int(SUNX - SUNR - 2), int(SUNX + SUNR + 3)):
            d = math.hypot(x + 0.5 - SUNX, y + 0.5 - SUNY) - SUNR
            cov = min(1.0, max(0.0, 0.5 - d / 1.5))
            if cov > 0:
                img[y * W + x] = mix(img[y * W + x], (255, 248, 225), cov)


def paint_bloom(img):
    """Bloom of the sun over the hills."""
    for y in range(HZ):
        for x in range(max(0, int(SUNX) - 160), min(W, int(SUNX) + 160)):
            dx, dy = (x - SUNX) / 55.0, (y - SUNY) / 40.0
            g = math.exp(-(dx * dx + dy * dy)) * 0.35
            if g > 0.01:
                img[y * W + x] = mix(img[y * W + x], (255, 210, 160), g)
