"""Colours and paints: solid colours as premultiplication-ready RGBA floats, gradients."""

import math

WINDOW_BLUE = (101, 150, 209)


def C(r, g, b, a=1.0):
    """Colour from 0..255 channels plus an alpha of 0..1."""
    return (r / 255.0, g / 255.0, b / 255.0, a)


WHITE = C(255, 255, 255)


def _stops(stops):
    return [(t, c if len(c) == 4 else C(*c)) for t, c in stops]


def _pick(st, t):
    if t <= st[0][0]:
        return st[0][1]
    for i in range(1, len(st)):
        t1, c1 = st[i]
        if t <= t1:
            t0, c0 = st[i - 1]
            u = (t - t0) / (t1 - t0) if t1 > t0 else 0.0
            return (c0[0] + (c1[0] - c0[0]) * u, c0[1] + (c1[1] - c0[1]) * u,
                    c0[2] + (c1[2] - c0[2]) * u, c0[3] + (c1[3] - c0[3]) * u)
    return st[-1][1]


def lin(x0, y0, x1, y1, stops):
    """Linear gradient between two points."""
    st = _stops(stops)
    dx, dy = x1 - x0, y1 - y0
    il = 1.0 / (dx * dx + dy * dy)

    def paint(x, y):
        return _pick(st, ((x - x0) * dx + (y - y0) * dy) * il)
    return paint


def vgrad(y0, y1, *cols):
    """Vertical gradient with evenly spaced colours."""
    n = len(cols) - 1
    return lin(0, y0, 0, y1, [(i / n, c) for i, c in enumerate(cols)])


def rad(cx, cy, r, stops):
    """Radial gradient around a centre."""
    st = _stops(stops)
    ir = 1.0 / r

    def paint(x, y):
        return _pick(st, math.hypot(x - cx, y - cy) * ir)
    return paint


def shade(c, k):
    """Lighten (k > 0) or darken (k < 0) a 0..255 colour."""
    if k >= 0:
        return tuple(int(round(v + (255 - v) * k)) for v in c[:3])
    return tuple(int(round(v * (1 + k))) for v in c[:3])


def mix(a, b, t):
    """Blend of two RGB triples, t = 0 gives a, t = 1 gives b."""
    return (a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, a[2] + (b[2] - a[2]) * t)


def smoothstep(e0, e1, x):
    """0 below e0, 1 above e1, a smooth S-curve between."""
    t = (x - e0) / (e1 - e0)
    t = 0.0 if t < 0 else (1.0 if t > 1 else t)
    return t * t * (3 - 2 * t)
