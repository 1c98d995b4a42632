"""The splash picture: a lake at dusk, painted layer by layer from the sky down."""

import random

from .files import RgbImage
from .noise import Noise
from .splash_land import paint_lake, paint_ranges, paint_reeds, paint_trees
from .splash_sky import H, W, paint_bloom, paint_sky, paint_stars, paint_sun

NOISE_SEED = 20240611


def render_splash():
    """The splash picture, W x H."""
    nz = Noise(NOISE_SEED)
    img = [None] * (W * H)
    paint_sky(img, nz)
    paint_stars(img)
    paint_sun(img)
    paint_ranges(img, nz)
    paint_trees(img, nz)
    paint_bloom(img)        # before the lake, so the water mirrors it
    paint_lake(img, nz)
    paint_reeds(img)
    return RgbImage(W, H, finish(img))


def finish(img):
    """Vignette and a touch of grain, then quantised to 8-bit RGB."""
    rng = random.Random(3)
    out = bytearray(W * H * 3)
    for y in range(H):
        for x in range(W):
            dx, dy = (x - 200) / 260.0, (y - 150) / 210.0
            v = 1.0 - 0.45 * (dx * dx + dy * dy)
            gr = (rng.random() - 0.5) * 4.0
            c = img[y * W + x]
            k = (y * W + x) * 3
            for ci in range(3):
                val = int(c[ci] * v + gr + 0.5)
                out[k + ci] = 0 if val < 0 else (255 if val > 255 else val)
    return out
