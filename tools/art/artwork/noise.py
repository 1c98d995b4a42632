"""Smooth value noise from a seeded table, used for the splash's clouds, hills and water."""

import math
import random


class Noise:
    """n1/n2: one octave in 1 and 2 dimensions; f1/f2: sums of octaves, 0..1."""

    def __init__(self, seed):
        rng = random.Random(seed)
        self.t = [rng.random() for _ in range(1024)]

    def n1(self, x):
        i = math.floor(x)
        f = x - i
        i = int(i)
        t = self.t
        a, b = t[i & 1023], t[(i + 1) & 1023]
        f = f * f * (3 - 2 * f)
        return a + (b - a) * f

    def f1(self, x, oct=5):
        s, amp, tot = 0.0, 1.0, 0.0
        for o in range(oct):
            s += self.n1(x) * amp
            tot += amp
            x = x * 2.03 + 17.1
            amp *= 0.5
        return s / tot

    def n2(self, x, y):
        xi, yi = math.floor(x), math.floor(y)
        fx, fy = x - xi, y - yi
        xi, yi = int(xi), int(yi)
        t = self.t

        def h(a, b):
            return t[((a * 374761) ^ (b * 668265)) & 1023]
        a, b = h(xi, yi), h(xi + 1, yi)
        c, d = h(xi, yi + 1), h(xi + 1, yi + 1)
        fx = fx * fx * (3 - 2 * fx)
        fy = fy * fy * (3 - 2 * fy)
        top = a + (b - a) * fx
        bot = c + (d - c) * fx
        return top + (bot - top) * fy

    def f2(self, x, y, oct=4):
        s, amp, tot = 0.0, 1.0, 0.0
        for o in range(oct):
            s += self.n2(x, y) * amp
            tot += amp
            x, y = x * 2.1 + 5.3, y * 2.1 + 1.7
            amp *= 0.5
        return s / tot
