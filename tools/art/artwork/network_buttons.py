"""Connection buttons: modem, internet, network, firewall."""

import math
import random

from .colour import C, lin, shade, vgrad
from .icon_parts import body, globe, gloss, monitor, vbody
from .shapes import arc, circle, inter, polyline, rbox, rrect, seg, smooth_union, union


def draw_internet(cv):
    globe(cv, 24, 24, 20)


def draw_modem(cv):
    box = rrect(3, 27, 45, 43.5, 3)
    vbody(cv, box, (248, 248, 244), (180, 182, 178), (70, 70, 72))
    cv.fill(rrect(5, 38, 43, 41.5, 1), C(120, 125, 130, 0.35))
    for x, col in ((9, (90, 240, 90)), (14, (90, 240, 90)), (19, (255, 200, 50))):
        cv.fill(circle(x, 34, 2.8), C(col[0], col[1], col[2], 0.35))
        cv.fill(circle(x, 34, 1.6), C(*col))
    for x in (29, 32, 35, 38, 41):
        cv.fill(seg(x, 31.5, x, 36, 1.1), C(90, 95, 100, 0.6))
    # handset resting on the box
    cx, cy, r = 24, 33, 16.5
    handle = arc(cx, cy, r, 218, 322, 6)
    ends = []
    for ang in (214.0, 326.0):
        a = math.radians(ang)
        ex, ey = cx + (r - 1.5) * math.cos(a), cy + (r - 1.5) * math.sin(a)
        ends.append(rbox(ex, ey + 1.5, 6.2, 4.2, ang + 90, 3.2))
    hs = union(handle, *ends)
    body(cv, hs, lin(0, 13, 0, 30, [(0, (115, 120, 135)), (1, (25, 25, 32))]),
         (8, 8, 12))
    gloss(cv, hs, 20, 0.35)


def draw_network(cv):
    cable = polyline([(14, 27), (14, 42.5), (27, 42.5)], 2.6)
    body(cv, cable, C(255, 200, 40), (120, 80, 0), 1.2)
    monitor(cv, 2, 3, 26, 21, screen_pad=2.6)
    monitor(cv, 20, 20, 46, 38.5, screen_pad=2.6)


def draw_firewall(cv):
    f1 = smooth_union(circle(24, 21, 10), seg(24, 21, 25, 2, 0.6), 10)
    f2 = smooth_union(circle(13.5, 24, 6.5), seg(13.5, 24, 9, 8, 0.6), 7)
    f3 = smooth_union(circle(34.5, 24, 6.5), seg(34.5, 24, 39.5, 9, 0.6), 7)
    flames = smooth_union(smooth_union(f1, f2, 3), f3, 3)
    body(cv, flames, lin(0, 2, 0, 28, [(0, (225, 40, 15)), (0.5, (255, 130, 25)),
                                       (1, (255, 215, 70))]), (140, 25, 0), 1.2)
    core = smooth_union(circle(24, 24, 5.5), seg(24, 24, 24.5, 10, 0.5), 6)
    cv.fill(core, vgrad(10, 30, (255, 240, 120), (255, 255, 225)))
    wall = rrect(4, 22.5, 44, 45, 1)
    vbody(cv, wall, (215, 205, 190), (150, 140, 128), (60, 35, 25))
    inner = rrect(5.2, 23.7, 42.8, 43.8)
    rng = random.Random(7)
    for row in range(3):
        y0 = 24.2 + row * 6.7
        off = -6.5 if row % 2 else 0.0
        x = 5.0 + off
        while x < 43:
            brick = inter(rrect(x + 0.7, y0, x + 12.3, y0 + 5.4, 0.6), inner)
            k = rng.uniform(-0.12, 0.1)
            cv.fill(brick, vgrad(y0, y0 + 5.4, shade((220, 100, 65), k),
                                 shade((155, 50, 30), k)))
            cv.fill(inter(rrect(x + 1.2, y0 + 0.4, x + 11.8, y0 + 1.4, 0.5), inner),
                    C(255, 200, 170, 0.35))
            x += 13.0

