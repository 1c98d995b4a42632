"""Tool buttons: control panel, update, volume, sound recorder."""

import math

from .colour import C, WHITE, lin, rad, shade
from .icon_parts import arrow_poly, body, globe, gloss, green_arrow, rgloss, vbody
from .shapes import arc, circle, grow, inter, polygon, rbox, rrect, seg, sub, union


def gear(cx, cy, r_body, r_tip, teeth, tooth_w, hole):
    """Gear wheel shape with rounded teeth and a hole in the middle."""
    parts = [circle(cx, cy, r_body)]
    for i in range(teeth):
        ang = i * 360.0 / teeth
        a = math.radians(ang)
        mr = (r_body + r_tip) * 0.5
        parts.append(rbox(cx + mr * math.cos(a), cy + mr * math.sin(a),
                          (r_tip - r_body) * 0.5 + 1.0, tooth_w * 0.5, ang, 0.8))
    g = union(*parts)
    g = (g[0], (cx - r_tip, cy - r_tip, cx + r_tip, cy + r_tip))
    return sub(g, circle(cx, cy, hole))


def draw_control_panel(cv):
    g = gear(16.5, 16.5, 10, 14.5, 8, 5.2, 4.2)
    body(cv, g, rad(12, 11, 20, [(0, (240, 243, 250)), (0.6, (160, 172, 195)),
                                 (1, (95, 105, 130))]), (40, 45, 65))
    panel = rrect(17, 19, 45.5, 45.5, 3)
    vbody(cv, panel, (252, 252, 255), (200, 208, 225), (55, 65, 90))
    knobs = ((26.5, 36.5, (70, 135, 230)), (33.5, 24.5, (70, 185, 80)),
             (40.5, 31, (245, 150, 40)))
    for y, _, _ in knobs:
        cv.fill(seg(21.5, y, 41, y, 2.0), C(95, 105, 130))
        cv.fill(seg(21.5, y + 0.6, 41, y + 0.6, 0.8), C(255, 255, 255, 0.7))
    for y, kx, col in knobs:
        k = rrect(kx - 2.6, y - 3.6, kx + 2.6, y + 3.6, 1.2)
        vbody(cv, k, shade(col, 0.45), shade(col, -0.25), shade(col, -0.6), 1.2)


def draw_update(cv):
    globe(cv, 21, 21, 17.5)
    green_arrow(cv, arrow_poly((35, 20), (35, 46), 8.5, 19, 10.5))


def draw_volume(cv):
    spk = union(rrect(5, 17, 15.5, 31, 1.5),
                polygon([(13.5, 17.5), (25, 7.5), (25, 40.5), (13.5, 30.5)]))
    body(cv, spk, lin(0, 8, 0, 40, [(0, (130, 135, 150)), (1, (35, 38, 48))]),
         (12, 12, 18))
    gloss(cv, spk, 22, 0.4)
    for r in (7.0, 13.0, 19.0):
        w = arc(24, 24, r, -48, 48, 3.4)
        cv.fill(grow(w, 0.8), C(10, 25, 60, 0.55))
        cv.fill(w, WHITE)


def draw_recorder(cv):
    dark = (60, 63, 75)
    stand = union(arc(21, 21, 11.5, 0, 180, 3.2), seg(9.5, 15, 9.5, 21, 3.2),
                  seg(32.5, 15, 32.5, 21, 3.2), seg(21, 32, 21, 40, 3.2))
    body(cv, stand, C(*dark), (15, 15, 20), 1.2)
    base = rrect(12, 39, 30, 44.5, 2.2)
    vbody(cv, base, (120, 125, 140), (40, 42, 52), (15, 15, 20))
    head = rrect(14, 3, 28, 28, 7)
    body(cv, head, lin(14, 0, 28, 0, [(0, (140, 145, 160)), (0.35, (250, 251, 253)),
                                      (1, (100, 105, 122))]), (40, 44, 56))
    for y in (9.5, 13.5, 17.5, 21.5):
        cv.fill(inter(seg(14, y, 28, y, 1.3), grow(head, -1.2)), C(60, 65, 80, 0.45))
    dot = circle(38.5, 9.5, 6.5)
    body(cv, dot, rad(36.5, 7, 8, [(0, (255, 140, 130)), (1, (195, 15, 15))]),
         (105, 0, 0))
    rgloss(cv, 38.5, 7, 4, 2.6, 0.6)

