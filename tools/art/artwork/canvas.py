"""The canvas every picture is drawn on, plus blur and drop shadow."""

import math


class Canvas:
    """Premultiplied RGBA float image; shapes are given in design units."""

    def __init__(self, w, h, scale=1.0, bg=None, origin=(0.0, 0.0)):
        self.w, self.h, self.s = w, h, scale
        self.ox, self.oy = origin      # design point drawn at the pixel corner (0, 0)
        if bg is None:
            self.px = [0.0] * (w * h * 4)
        else:
            r, g, b, a = bg
            self.px = [r * a, g * a, b * a, a] * (w * h)

    def fill(self, shape, paint, opacity=1.0):
        f, (bx0, by0, bx1, by1) = shape
        s = self.s
        inv = 1.0 / s
        w = self.w
        ox, oy = self.ox, self.oy
        i0 = max(0, int(math.floor((bx0 - ox) * s)) - 1)
        i1 = min(w, int(math.ceil((bx1 - ox) * s)) + 1)
        j0 = max(0, int(math.floor((by0 - oy) * s)) - 1)
        j1 = min(self.h, int(math.ceil((by1 - oy) * s)) + 1)
        if i0 >= i1 or j0 >= j1:
            return
        px = self.px
        solid = not callable(paint)
        if solid:
            r, g, b, a = paint
            a *= opacity
        xs = [(i + 0.5) * inv + ox for i in range(i0, i1)]
        for j in range(j0, j1):
            y = (j + 0.5) * inv + oy
            k = (j * w + i0) * 4
            for x in xs:
                d = f(x, y) * s
                if d < 0.5:
                    cov = 1.0 if d <= -0.5 else 0.5 - d
                    if not solid:
                        r, g, b, a = paint(x, y)
                        a *= opacity
                    ca = a * cov
                    if ca > 0.0:
                        ia = 1.0 - ca
                        px[k] = r * ca + px[k] * ia
                        px[k + 1] = g * ca + px[k + 1] * ia
                        px[k + 2] = b * ca + px[k + 2] * ia
                        px[k + 3] = ca + px[k + 3] * ia
                k += 4

    def over(self, src, ox=0, oy=0):
        """Composite another canvas on top at an integer pixel offset."""
        dp, sp = self.px, src.px
        for j in range(src.h):
            y = j + oy
            if y < 0 or y >= self.h:
                continue
            for i in range(src.w):
                x = i + ox
                if x < 0 or x >= self.w:
                    continue
                k = (j * src.w + i) * 4
                a = sp[k + 3]
                if a <= 0.0:
                    continue
                d = (y * self.w + x) * 4
                ia = 1.0 - a
                dp[d] = sp[k] + dp[d] * ia
                dp[d + 1] = sp[k + 1] + dp[d + 1] * ia
                dp[d + 2] = sp[k + 2] + dp[d + 2] * ia
                dp[d + 3] = a + dp[d + 3] * ia

    def alpha(self):
        return self.px[3::4]

    def rgba8(self):
        """Straight (not premultiplied) 8-bit RGBA rows, top-down."""
        out = bytearray(self.w * self.h * 4)
        px = self.px
        for i in range(self.w * self.h):
            k = i * 4
            a = px[k + 3]
            a8 = int(a * 255.0 + 0.5)
            if a8 <= 0:
                continue
            if a8 > 255:
                a8 = 255
            ia = 1.0 / a
            for c in range(3):
                v = int(px[k + c] * ia * 255.0 + 0.5)
                out[k + c] = 0 if v < 0 else (255 if v > 255 else v)
            out[k + 3] = a8
        return out

    def rgb8_on(self, bg):
        """Flattened onto a solid 0..255 colour, 8-bit RGB rows."""
        out = bytearray(self.w * self.h * 3)
        px = self.px
        br, bgc, bb = bg[0] / 255.0, bg[1] / 255.0, bg[2] / 255.0
        for i in range(self.w * self.h):
            k = i * 4
            ia = 1.0 - px[k + 3]
            for c, bv in ((0, br), (1, bgc), (2, bb)):
                v = int((px[k + c] + bv * ia) * 255.0 + 0.5)
                out[i * 3 + c] = 0 if v < 0 else (255 if v > 255 else v)
        return out


def box_blur(vals, w, h, r):
    """Two passes of a box blur of radius r (roughly gaussian)."""
    if r <= 0:
        return list(vals)
    n = 2 * r + 1
    cur = list(vals)
    for _ in range(2):
        tmp = [0.0] * (w * h)
        for j in range(h):
            row = j * w
            acc = 0.0
            for i in range(-r, r + 1):
                if 0 <= i < w:
                    acc += cur[row + i]
            for i in range(w):
                tmp[row + i] = acc / n
                a = i + r + 1
                b = i - r
                if a < w:
                    acc += cur[row + a]
                if 0 <= b < w:
                    acc -= cur[row + b]
        out = [0.0] * (w * h)
        for i in range(w):
            acc = 0.0
            for j in range(-r, r + 1):
                if 0 <= j < h:
                    acc += tmp[j * w + i]
            for j in range(h):
                out[j * w + i] = acc / n
                a = j + r + 1
                b = j - r
                if a < h:
                    acc += tmp[a * w + i]
                if 0 <= b < h:
                    acc -= tmp[b * w + i]
        cur = out
    return cur


def with_shadow(cv, offset, radius, opacity, colour=(0, 18, 55)):
    """Puts a soft drop shadow under everything drawn on cv."""
    w, h = cv.w, cv.h
    al = box_blur(cv.alpha(), w, h, radius)
    out = Canvas(w, h, cv.s, origin=(cv.ox, cv.oy))
    r, g, b = colour[0] / 255.0, colour[1] / 255.0, colour[2] / 255.0
    px = out.px
    for j in range(h):
        sj = j - offset
        if sj < 0 or sj >= h:
            continue
        for i in range(w):
            si = i - offset
            if si < 0 or si >= w:
                continue
            a = al[sj * w + si] * opacity
            if a > 0.0:
                k = (j * w + i) * 4
                px[k], px[k + 1], px[k + 2], px[k + 3] = r * a, g * a, b * a, a
    out.over(cv)
    return out
