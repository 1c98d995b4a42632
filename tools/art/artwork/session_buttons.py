"""Session buttons: standby, shut down, restart, log off, lock."""

import math

from .colour import C, WHITE, lin, rad, vgrad
from .icon_parts import arrow_poly, body, gloss, green_arrow, rgloss, vbody
from .shapes import arc, circle, grow, polygon, rrect, seg, star, sub, union


def round_button(cv, cx, cy, r, light, mid, dark, edge):
    """Glossy round button in three shades, lit from the top left."""
    b = circle(cx, cy, r)
    body(cv, b, rad(cx - r * 0.3, cy - r * 0.45, r * 1.55,
                    [(0, light), (0.55, mid), (1, dark)]), edge)
    rgloss(cv, cx, cy - r * 0.5, r * 0.72, r * 0.45, 0.55)


def draw_standby(cv):
    round_button(cv, 24, 24, 20.5, (90, 125, 215), (35, 55, 140), (15, 25, 80),
                 (8, 14, 50))
    moon = sub(circle(21.5, 25.5, 11.5), circle(28.5, 19.5, 10))
    cv.fill(grow(moon, 0.6), C(40, 30, 0, 0.35))
    cv.fill(moon, lin(12, 16, 26, 36, [(0, (255, 245, 170)), (1, (245, 180, 30))]))
    for sx, sy, sr in ((30.5, 14.5, 4.2), (36.5, 24.5, 3.0), (28.5, 31.5, 2.2)):
        cv.fill(star(sx, sy, sr, 0.32), C(255, 250, 215))


def draw_shutdown(cv):
    round_button(cv, 24, 24, 20.5, (255, 170, 110), (235, 80, 35), (160, 25, 10),
                 (95, 10, 0))
    sym = union(arc(24, 25.5, 10.5, -52, 232, 4.4), seg(24, 10.5, 24, 24, 4.4))
    cv.fill(grow(sym, 0.9), C(100, 10, 0, 0.35))
    cv.fill(sym, WHITE)


def draw_restart(cv):
    round_button(cv, 24, 24, 20.5, (175, 240, 130), (60, 175, 55), (20, 110, 25),
                 (10, 65, 10))
    cx, cy, r = 24, 24.5, 10.5
    a_end = 222.0
    body_arc = arc(cx, cy, r, -52, a_end, 4.4)
    a = math.radians(a_end)
    ex, ey = cx + r * math.cos(a), cy + r * math.sin(a)
    tx, ty = -math.sin(a), math.cos(a)          # clockwise tangent
    nx, ny = math.cos(a), math.sin(a)           # outward normal
    head = polygon([(ex + nx * 6.2, ey + ny * 6.2), (ex + tx * 7.5, ey + ty * 7.5),
                    (ex - nx * 6.2, ey - ny * 6.2)])
    sym = union(body_arc, head)
    cv.fill(grow(sym, 0.9), C(0, 60, 0, 0.35))
    cv.fill(sym, WHITE)


def draw_logoff(cv):
    frame = rrect(6, 3, 32, 45.5, 1.2)
    vbody(cv, frame, (245, 242, 235), (175, 170, 160), (70, 62, 55))
    doorway = rrect(9.5, 6.5, 28.5, 45.5, 0.5)
    cv.fill(doorway, vgrad(6.5, 45.5, (25, 30, 50), (70, 85, 110)))
    leaf = polygon([(9.5, 6.5), (21.5, 9.5), (21.5, 42.5), (9.5, 45.5)])
    body(cv, leaf, lin(9.5, 0, 21.5, 0, [(0, (215, 150, 85)), (1, (150, 85, 40))]),
         (80, 42, 15), 1.2)
    cv.fill(polygon([(11.5, 10), (19.5, 12), (19.5, 24), (11.5, 23.5)]),
            C(110, 60, 20, 0.35))
    cv.fill(polygon([(11.5, 27), (19.5, 27), (19.5, 39.5), (11.5, 41.5)]),
            C(110, 60, 20, 0.35))
    cv.fill(circle(19.2, 26.5, 1.4), C(255, 215, 80))
    green_arrow(cv, arrow_poly((22, 26), (45, 26), 8.5, 19, 10))


def draw_lock(cv):
    shackle = union(arc(24, 19.5, 9, 180, 360, 5.2), seg(15, 19.5, 15, 25, 5.2),
                    seg(33, 19.5, 33, 25, 5.2))
    body(cv, shackle, lin(10, 0, 38, 0, [(0, (150, 155, 170)), (0.3, (245, 247, 252)),
                                          (0.6, (170, 175, 190)), (1, (110, 115, 130))]),
         (45, 48, 60))
    lock = rrect(8, 22, 40, 45, 4)
    vbody(cv, lock, (255, 225, 110), (210, 140, 20), (110, 70, 0))
    gloss(cv, lock, 31, 0.5)
    hole = union(circle(24, 30.5, 3.4),
                 polygon([(22.2, 31), (25.8, 31), (26.6, 39), (21.4, 39)]))
    cv.fill(grow(hole, 0.7), C(255, 245, 200, 0.6))
    cv.fill(hole, C(75, 45, 5))

