"""Shapes as signed-distance functions: (sdf(x, y) -> distance, bbox), negative inside."""

import math

INF = 1e9


def circle(cx, cy, r):
    def f(x, y):
        return math.hypot(x - cx, y - cy) - r
    return f, (cx - r, cy - r, cx + r, cy + r)


def ellipse(cx, cy, rx, ry):
    irx, iry = 1.0 / rx, 1.0 / ry

    def f(x, y):
        px, py = (x - cx) * irx, (y - cy) * iry
        k0 = math.hypot(px, py)
        k1 = math.hypot(px * irx, py * iry)
        if k1 == 0.0:
            return -min(rx, ry)
        return k0 * (k0 - 1.0) / k1
    return f, (cx - rx, cy - ry, cx + rx, cy + ry)


def rrect(x0, y0, x1, y1, r=0.0):
    cx, cy = (x0 + x1) * 0.5, (y0 + y1) * 0.5
    hw, hh = (x1 - x0) * 0.5 - r, (y1 - y0) * 0.5 - r

    def f(x, y):
        qx = abs(x - cx) - hw
        qy = abs(y - cy) - hh
        if qx > 0.0:
            if qy > 0.0:
                return math.hypot(qx, qy) - r
            return qx - r
        if qy > 0.0:
            return qy - r
        return (qx if qx > qy else qy) - r
    return f, (x0, y0, x1, y1)


def rbox(cx, cy, hw, hh, ang, r=0.0):
    """Rounded box rotated by ang degrees around its centre."""
    ca, sa = math.cos(math.radians(ang)), math.sin(math.radians(ang))
    ihw, ihh = hw - r, hh - r

    def f(x, y):
        dx, dy = x - cx, y - cy
        qx = abs(dx * ca + dy * sa) - ihw
        qy = abs(-dx * sa + dy * ca) - ihh
        out = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return out + min(max(qx, qy), 0.0) - r
    e = math.hypot(hw, hh)
    return f, (cx - e, cy - e, cx + e, cy + e)


def seg(ax, ay, bx, by, w):
    """Line of width w with round caps."""
    ex, ey = bx - ax, by - ay
    il = 1.0 / (ex * ex + ey * ey) if (ex or ey) else 0.0
    h = w * 0.5

    def f(x, y):
        wx, wy = x - ax, y - ay
        t = (wx * ex + wy * ey) * il
        t = 0.0 if t < 0.0 else (1.0 if t > 1.0 else t)
        return math.hypot(wx - ex * t, wy - ey * t) - h
    return f, (min(ax, bx) - h, min(ay, by) - h, max(ax, bx) + h, max(ay, by) + h)


def polyline(pts, w):
    return union(*[seg(pts[i][0], pts[i][1], pts[i + 1][0], pts[i + 1][1], w)
                   for i in range(len(pts) - 1)])


def polygon(pts):
    edges = []
    n = len(pts)
    for i in range(n):
        ax, ay = pts[i]
        bx, by = pts[(i + 1) % n]
        ex, ey = bx - ax, by - ay
        edges.append((ax, ay, bx, by, ex, ey, 1.0 / (ex * ex + ey * ey)))

    def f(x, y):
        d = INF
        inside = False
        for ax, ay, bx, by, ex, ey, il in edges:
            wx, wy = x - ax, y - ay
            t = (wx * ex + wy * ey) * il
            t = 0.0 if t < 0.0 else (1.0 if t > 1.0 else t)
            dx, dy = wx - ex * t, wy - ey * t
            dd = dx * dx + dy * dy
            if dd < d:
                d = dd
            if (ay > y) != (by > y) and x < ex * (y - ay) / ey + ax:
                inside = not inside
        d = math.sqrt(d)
        return -d if inside else d
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    return f, (min(xs), min(ys), max(xs), max(ys))


def arc(cx, cy, r, a0, a1, w):
    """Circular arc from a0 to a1 degrees (0 = right, 90 = down), round caps."""
    mid = math.radians((a0 + a1) * 0.5)
    half = math.radians((a1 - a0) * 0.5)
    p0 = (cx + r * math.cos(math.radians(a0)), cy + r * math.sin(math.radians(a0)))
    p1 = (cx + r * math.cos(math.radians(a1)), cy + r * math.sin(math.radians(a1)))
    h = w * 0.5
    tau = 2 * math.pi

    def f(x, y):
        dx, dy = x - cx, y - cy
        rel = (math.atan2(dy, dx) - mid + math.pi) % tau - math.pi
        if abs(rel) <= half:
            return abs(math.hypot(dx, dy) - r) - h
        return min(math.hypot(x - p0[0], y - p0[1]),
                   math.hypot(x - p1[0], y - p1[1])) - h
    e = r + h
    return f, (cx - e, cy - e, cx + e, cy + e)


def star(cx, cy, R, ri=0.3, n=4, rot=-90.0):
    pts = []
    for i in range(n * 2):
        a = math.radians(rot + i * 180.0 / n)
        rr = R if i % 2 == 0 else R * ri
        pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
    return polygon(pts)


def union(*shapes):
    fs = [s[0] for s in shapes]
    bb = (min(s[1][0] for s in shapes), min(s[1][1] for s in shapes),
          max(s[1][2] for s in shapes), max(s[1][3] for s in shapes))
    if len(fs) == 2:
        fa, fb = fs

        def f(x, y):
            a = fa(x, y)
            b = fb(x, y)
            return a if a < b else b
        return f, bb

    def g(x, y):
        return min(h(x, y) for h in fs)
    return g, bb


def smooth_union(a, b, k):
    fa, fb = a[0], b[0]

    def f(x, y):
        da, db = fa(x, y), fb(x, y)
        h = max(k - abs(da - db), 0.0) / k
        return min(da, db) - h * h * k * 0.25
    return f, (min(a[1][0], b[1][0]), min(a[1][1], b[1][1]),
               max(a[1][2], b[1][2]), max(a[1][3], b[1][3]))


def inter(a, b):
    fa, fb = a[0], b[0]

    def f(x, y):
        da, db = fa(x, y), fb(x, y)
        return da if da > db else db
    return f, (max(a[1][0], b[1][0]), max(a[1][1], b[1][1]),
               min(a[1][2], b[1][2]), min(a[1][3], b[1][3]))


def sub(a, b):
    fa, fb = a[0], b[0]

    def f(x, y):
        da, db = fa(x, y), -fb(x, y)
        return da if da > db else db
    return f, a[1]


def grow(a, r):
    fa = a[0]
    b = a[1]

    def f(x, y):
        return fa(x, y) - r
    return f, (b[0] - r, b[1] - r, b[2] + r, b[3] + r)


def outline(a, w):
    fa = a[0]
    b = a[1]
    h = w * 0.5

    def f(x, y):
        return abs(fa(x, y)) - h
    return f, (b[0] - h, b[1] - h, b[2] + h, b[3] + h)


def halfplane(y_max):
    """Everything above a horizontal line."""
    def f(x, y):
        return y - y_max
    return f, (-INF, -INF, INF, y_max)
