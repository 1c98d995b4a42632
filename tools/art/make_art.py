#!/usr/bin/env python3
"""Draws all artwork of Velkaro 3.0 and writes it into a folder.

Usage: make_art.py OUTDIR

Everything is drawn here in code with a small anti-aliased rasteriser
(signed-distance shapes, premultiplied RGBA float buffers), using only
the Python standard library.  The output is byte-for-byte reproducible.

Files written:
  velkaro.ico            program icon (16..64 BMP entries, 256 PNG entry)
  splash.bmp             400x300 24-bit splash background
  close_normal.ico       close button, idle  (15, 19, 23, 30)
  close_hot.ico          close button, hover (15, 19, 23, 30)
  btn_*.ico              16 panel button icons (32, 48)
  preview.png            contact sheet on the window blue, 2x (review only)
"""

import math
import os
import random
import sys
sys.dont_write_bytecode = True    # keep the source tree free of __pycache__ during builds

from artwork.canvas import Canvas, with_shadow
from artwork.colour import C, WHITE, WINDOW_BLUE, lin, rad, shade, vgrad
from artwork.files import png_plain, write_bmp24, write_ico
from artwork.shapes import (arc, circle, ellipse, grow, halfplane, inter, outline, polygon,
                            polyline, rbox, rrect, seg, smooth_union, star, sub, union)

# ---------------------------------------------------------------------------
# Drawing helpers shared by the icons
# ---------------------------------------------------------------------------

EDGE_W = 1.5   # outline width in 48-unit design space (1 px at 32, 1.5 px at 48)


def body(cv, shape, paint, edge, ew=EDGE_W):
    """Filled shape with a dark rim: rim first, the fill inset on top."""
    cv.fill(grow(shape, ew * 0.5), C(*edge) if len(edge) == 3 else edge)
    cv.fill(grow(shape, -ew * 0.5), paint)


def vbody(cv, shape, top, bottom, edge, ew=EDGE_W):
    y0, y1 = shape[1][1], shape[1][3]
    body(cv, shape, vgrad(y0, y1, top, bottom), edge, ew)


def gloss(cv, shape, upto, strength=0.45, inset=EDGE_W):
    """White sheen on the upper part of a shape, fading downwards."""
    y0 = shape[1][1]
    region = inter(grow(shape, -inset), halfplane(upto))
    cv.fill(region, lin(0, y0, 0, upto, [(0, C(255, 255, 255, strength)),
                                        (1, C(255, 255, 255, 0.0))]))


def rgloss(cv, cx, cy, rx, ry, strength=0.5):
    """Elliptical highlight, brightest at its top."""
    cv.fill(ellipse(cx, cy, rx, ry), lin(0, cy - ry, 0, cy + ry,
                                         [(0, C(255, 255, 255, strength)),
                                          (1, C(255, 255, 255, 0.0))]))


def arrow_poly(tail, tip, shaft_w, head_w, head_len):
    """Straight arrow from tail to tip as a polygon."""
    tx, ty = tip
    dx, dy = tip[0] - tail[0], tip[1] - tail[1]
    L = math.hypot(dx, dy)
    ux, uy = dx / L, dy / L
    nx, ny = -uy, ux
    bx, by = tx - ux * head_len, ty - uy * head_len
    sw, hw = shaft_w * 0.5, head_w * 0.5
    return polygon([
        (tail[0] + nx * sw, tail[1] + ny * sw),
        (bx + nx * sw, by + ny * sw),
        (bx + nx * hw, by + ny * hw),
        (tx, ty),
        (bx - nx * hw, by - ny * hw),
        (bx - nx * sw, by - ny * sw),
        (tail[0] - nx * sw, tail[1] - ny * sw),
    ])


def green_arrow(cv, shape):
    cv.fill(grow(shape, 1.6), C(255, 255, 255, 0.95))
    vbody(cv, shape, (150, 235, 110), (35, 150, 40), (20, 85, 20))
    gloss(cv, shape, (shape[1][1] + shape[1][3]) * 0.5, 0.45)


def round_button(cv, cx, cy, r, light, mid, dark, edge):
    b = circle(cx, cy, r)
    body(cv, b, rad(cx - r * 0.3, cy - r * 0.45, r * 1.55,
                    [(0, light), (0.55, mid), (1, dark)]), edge)
    rgloss(cv, cx, cy - r * 0.5, r * 0.72, r * 0.45, 0.55)


def globe(cv, cx, cy, r, land=True):
    sphere = circle(cx, cy, r)
    body(cv, sphere, rad(cx - r * 0.35, cy - r * 0.4, r * 1.45,
                         [(0, (150, 210, 255)), (0.5, (45, 120, 215)),
                          (1, (15, 50, 130))]), (10, 40, 100))
    inner = grow(sphere, -EDGE_W * 0.5)
    if land:
        blobs = [(-0.42, -0.38, 0.34, 0.24), (-0.3, -0.02, 0.2, 0.3),
                 (-0.12, 0.42, 0.16, 0.3), (0.38, -0.42, 0.34, 0.2),
                 (0.5, 0.08, 0.22, 0.34), (0.72, -0.2, 0.2, 0.16)]
        land_shape = union(*[ellipse(cx + u * r, cy + v * r, a * r, b * r)
                             for u, v, a, b in blobs])
        cv.fill(inter(land_shape, inner),
                rad(cx - r * 0.35, cy - r * 0.4, r * 1.45,
                    [(0, (170, 235, 120)), (0.5, (60, 160, 55)),
                     (1, (20, 90, 30))]))
    grid = C(255, 255, 255, 0.32)
    lw = max(0.9, r * 0.055)
    for rx in (r * 0.42, r * 0.82):
        cv.fill(inter(outline(ellipse(cx, cy, rx, r), lw), inner), grid)
    cv.fill(inter(rrect(cx - r, cy - lw / 2, cx + r, cy + lw / 2), inner), grid)
    for fy in (-0.5, 0.5):
        yy = cy + fy * r
        hw = r * math.sqrt(1 - fy * fy)
        cv.fill(inter(rrect(cx - hw, yy - lw / 2, cx + hw, yy + lw / 2), inner), grid)
    cv.fill(inter(rrect(cx - lw / 2, cy - r, cx + lw / 2, cy + r), inner), grid)
    rgloss(cv, cx - r * 0.1, cy - r * 0.5, r * 0.62, r * 0.38, 0.55)


def monitor(cv, x0, y0, x1, y1, stand=True, screen_pad=2.5):
    frame = rrect(x0, y0, x1, y1, 2.2)
    cx = (x0 + x1) * 0.5
    if stand:
        nw = (x1 - x0) * 0.12
        neck = polygon([(cx - nw, y1 - 1), (cx + nw, y1 - 1),
                        (cx + nw * 1.3, y1 + 3.5), (cx - nw * 1.3, y1 + 3.5)])
        vbody(cv, neck, (215, 218, 228), (150, 155, 170), (60, 62, 75))
        fw = (x1 - x0) * 0.3
        foot = rrect(cx - fw, y1 + 2.8, cx + fw, y1 + 5.5, 1.3)
        vbody(cv, foot, (235, 238, 245), (160, 165, 178), (60, 62, 75))
    vbody(cv, frame, (248, 249, 252), (178, 184, 198), (50, 55, 72))
    scr = rrect(x0 + screen_pad, y0 + screen_pad, x1 - screen_pad, y1 - screen_pad, 0.8)
    body(cv, scr, lin(x0, y0, x0 + (x1 - x0) * 0.4, y1,
                      [(0, (150, 215, 255)), (0.55, (50, 125, 215)),
                       (1, (20, 60, 150))]), (30, 45, 80), 1.0)
    # diagonal reflection on the glass
    sx0, sy0 = x0 + screen_pad + 0.5, y0 + screen_pad + 0.5
    sx1, sy1 = x1 - screen_pad - 0.5, y1 - screen_pad - 0.5
    refl = polygon([(sx0, sy0), (sx0 + (sx1 - sx0) * 0.62, sy0),
                    (sx0, sy0 + (sy1 - sy0) * 0.85)])
    cv.fill(refl, C(255, 255, 255, 0.18))
    return scr


# ---------------------------------------------------------------------------
# Button icons (48-unit design space)
# ---------------------------------------------------------------------------


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


def gear(cx, cy, r_body, r_tip, teeth, tooth_w, hole):
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


def draw_controlpanel(cv):
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


def draw_internet(cv):
    globe(cv, 24, 24, 20)


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


def draw_system(cv):
    scr = monitor(cv, 2, 6, 33, 32)
    # a little window on the screen
    win = rrect(8, 12, 23, 24, 0.8)
    cv.fill(win, C(255, 255, 255, 0.85))
    cv.fill(rrect(8, 12, 23, 14.6, 0.8), C(101, 150, 209))
    tower = rrect(30, 4, 46, 45, 2)
    body(cv, tower, lin(30, 0, 46, 0, [(0, (250, 250, 252)), (0.6, (215, 218, 228)),
                                       (1, (160, 165, 180))]), (45, 50, 65))
    for y in (8.5, 14):
        bay = rrect(32.5, y, 43.5, y + 3.6, 0.6)
        body(cv, bay, vgrad(y, y + 3.6, (175, 180, 195), (225, 228, 235)),
             (80, 85, 100), 1.0)
    cv.fill(seg(36, 10.3, 41, 10.3, 0.9), C(60, 65, 80))
    cv.fill(circle(38, 36, 2.6), C(80, 85, 100))
    cv.fill(circle(38, 36, 1.8), C(225, 228, 235))
    cv.fill(circle(38, 41, 1.2), C(60, 220, 70))


def draw_memory(cv):
    pcb = sub(rrect(2.5, 19, 45.5, 37, 1), rrect(22, 33.5, 25, 40))
    vbody(cv, pcb, (70, 185, 100), (20, 110, 50), (8, 55, 22))
    contacts = inter(rrect(4, 32.5, 44, 36.2), grow(pcb, -0.6))
    cv.fill(contacts, vgrad(32.5, 36.2, (255, 230, 120), (200, 145, 20)))
    x = 5.4
    while x < 43.5:
        if not (21.5 < x < 25.5):
            cv.fill(rrect(x - 0.35, 32.5, x + 0.35, 36.2), C(120, 80, 0, 0.55))
        x += 2.0
    for i in range(4):
        x0 = 5.5 + i * 9.5
        chip = rrect(x0, 21.5, x0 + 8, 30.5, 0.6)
        body(cv, chip, vgrad(21.5, 30.5, (80, 82, 95), (22, 22, 28)), (5, 5, 8), 1.0)
        cv.fill(seg(x0 + 1.5, 23, x0 + 6.5, 23, 0.7), C(255, 255, 255, 0.25))
    for sx, sy, sr in ((36, 8.5, 8), (25.5, 7.5, 4), (44, 15.5, 3.6)):
        st = star(sx, sy, sr, 0.34)
        cv.fill(grow(st, 0.8), C(20, 40, 90, 0.35))
        cv.fill(st, rad(sx, sy, sr, [(0, (255, 255, 255)), (1, (255, 235, 150))]))


def draw_report(cv):
    paper = polygon([(8, 2.5), (29.5, 2.5), (39, 12), (39, 45.5), (8, 45.5)])
    body(cv, paper, lin(8, 2, 39, 45, [(0, (255, 255, 255)), (1, (220, 226, 238))]),
         (70, 80, 105))
    fold = polygon([(29.5, 2.5), (29.5, 12), (39, 12)])
    body(cv, fold, lin(29.5, 12, 35, 6, [(0, (235, 238, 245)), (1, (175, 185, 205))]),
         (70, 80, 105), 1.2)
    cv.fill(seg(12.5, 9, 24, 9, 2.4), C(60, 100, 175))
    for y, x1 in ((16, 34.5), (21, 34.5), (26, 30), (31, 26), (36, 22), (41, 18)):
        cv.fill(seg(12.5, y, x1, y, 1.6), C(130, 145, 175))
    # pencil lying across the sheet
    tip = (21.5, 44.0)
    ux, uy = math.cos(math.radians(-45)), math.sin(math.radians(-45))
    nx, ny = -uy, ux

    def P(u, v):
        return (tip[0] + ux * u + nx * v, tip[1] + uy * u + ny * v)
    hw = 3.4
    wood = polygon([P(0, 0), P(7.5, hw), P(7.5, -hw)])
    lead = polygon([P(0, 0), P(2.8, hw * 0.37), P(2.8, -hw * 0.37)])
    shaft = polygon([P(7.3, hw), P(22, hw), P(22, -hw), P(7.3, -hw)])
    ferrule = polygon([P(21.8, hw), P(25, hw), P(25, -hw), P(21.8, -hw)])
    eraser = union(polygon([P(24.8, hw), P(27, hw), P(27, -hw), P(24.8, -hw)]),
                   rbox(*P(27, 0), 1.6, hw, -45, 1.5))
    whole = union(wood, shaft, ferrule, eraser)
    cv.fill(grow(whole, 1.2), C(40, 30, 10))
    cv.fill(wood, C(240, 200, 150))
    cv.fill(lead, C(50, 50, 55))
    cv.fill(shaft, lin(*P(10, hw), *P(10, -hw), [(0, (200, 125, 10)), (0.5, (255, 215, 60)),
                                                  (1, (255, 235, 140))]))
    cv.fill(polygon([P(7.3, hw * 0.15), P(22, hw * 0.15), P(22, -hw * 0.15),
                     P(7.3, -hw * 0.15)]), C(215, 150, 20, 0.7))
    cv.fill(ferrule, lin(*P(23, hw), *P(23, -hw), [(0, (140, 145, 160)),
                                                    (0.6, (240, 242, 248)),
                                                    (1, (180, 185, 200))]))
    cv.fill(eraser, lin(*P(26, hw), *P(26, -hw), [(0, (215, 90, 110)),
                                                   (1, (255, 170, 180))]))


BUTTONS = [
    ("btn_standby", draw_standby),
    ("btn_shutdown", draw_shutdown),
    ("btn_restart", draw_restart),
    ("btn_logoff", draw_logoff),
    ("btn_lock", draw_lock),
    ("btn_controlpanel", draw_controlpanel),
    ("btn_update", draw_update),
    ("btn_volume", draw_volume),
    ("btn_recorder", draw_recorder),
    ("btn_modem", draw_modem),
    ("btn_internet", draw_internet),
    ("btn_network", draw_network),
    ("btn_firewall", draw_firewall),
    ("btn_system", draw_system),
    ("btn_memory", draw_memory),
    ("btn_report", draw_report),
]


def render_icon(draw, size, shadow=True):
    cv = Canvas(size, size, size / 48.0)
    draw(cv)
    if shadow:
        off = max(1, int(round(size / 40.0)))
        rad_ = max(1, int(round(size / 36.0)))
        cv = with_shadow(cv, off, rad_, 0.55 if size >= 32 else 0.4)
    return cv


# ---------------------------------------------------------------------------
# Program icon
# ---------------------------------------------------------------------------


def draw_velkaro_tiny(cv):
    """16 px variant: edges placed on whole pixels (3 design units = 1 px)."""
    cv.fill(rrect(18, 37.5, 30, 42), C(120, 132, 158))
    foot = rrect(9, 41.5, 39, 46.5, 1.5)
    cv.fill(foot, C(40, 55, 85))
    cv.fill(rrect(12, 42.5, 36, 44.5, 1), C(225, 230, 240))
    frame = rrect(0, 3, 48, 39, 4.5)
    cv.fill(frame, C(30, 48, 88))
    cv.fill(rrect(3, 6, 45, 36, 2.5), vgrad(6, 36, (255, 255, 255), (200, 210, 228)))
    cv.fill(rrect(6, 9, 42, 33, 1), vgrad(9, 33, (150, 195, 245), (101, 150, 209),
                                        (45, 88, 160)))
    v = polygon([(9.5, 10.5), (18.5, 10.5), (24, 23), (29.5, 10.5), (38.5, 10.5),
                 (28, 31.5), (20, 31.5)])
    cv.fill(v, WHITE)


def draw_velkaro(cv, size):
    if size <= 16:
        draw_velkaro_tiny(cv)
        return
    small = size <= 24
    # stand
    neck = polygon([(19.5, 36), (28.5, 36), (31, 42.5), (17, 42.5)])
    vbody(cv, neck, (225, 230, 240), (140, 150, 170), (40, 55, 85))
    foot = rrect(10.5, 41, 37.5, 46, 2.2)
    vbody(cv, foot, (245, 247, 252), (160, 170, 190), (40, 55, 85))
    # bezel
    pad = 3.2 if small else 3.6
    frame = rrect(1.5, 3, 46.5, 38, 4.5)
    vbody(cv, frame, (255, 255, 255), (190, 200, 218), (35, 55, 95), 2.0 if small else 1.6)
    scr_box = (1.5 + pad, 3 + pad, 46.5 - pad, 38 - pad)
    scr = rrect(*scr_box, 2.0)
    body(cv, scr, lin(0, scr_box[1], 0, scr_box[3],
                      [(0, (165, 205, 250)), (0.45, (101, 150, 209)),
                       (1, (40, 80, 150))]), (25, 45, 90), 1.0)
    inner = grow(scr, -0.5)
    if size >= 48:
        # faint gauge dial behind the letter
        cv.fill(inter(arc(24, 33, 19, 200, 340, 1.6), inner), C(255, 255, 255, 0.35))
        for i in range(7):
            a = math.radians(200 + i * 140 / 6.0)
            r0, r1 = 15.5, 18
            cv.fill(inter(seg(24 + r0 * math.cos(a), 33 + r0 * math.sin(a),
                              24 + r1 * math.cos(a), 33 + r1 * math.sin(a), 1.3), inner),
                    C(255, 255, 255, 0.45))
    # the V
    if small:
        vpts = [(10, 9.5), (18.2, 9.5), (24, 23.5), (29.8, 9.5), (38, 9.5),
                (27.6, 31.5), (20.4, 31.5)]
    else:
        vpts = [(11.5, 10.5), (18.5, 10.5), (24, 23.5), (29.5, 10.5), (36.5, 10.5),
                (27, 31), (21, 31)]
    v = polygon(vpts)
    cv.fill(inter(grow(v, 1.2), inner), C(15, 40, 95, 0.45))
    cv.fill(v, vgrad(10, 31, (255, 255, 255), (215, 232, 252)))
    # glass reflection
    if size >= 32:
        refl = polygon([(scr_box[0], scr_box[1]), (scr_box[0] + 24, scr_box[1]),
                        (scr_box[0], scr_box[1] + 20)])
        cv.fill(inter(refl, inner), C(255, 255, 255, 0.16))
    gloss(cv, frame, 6, 0.5)


def render_velkaro(size):
    if size <= 24:
        cv = Canvas(size, size, size / 48.0)
    else:
        # a little smaller than the frame, leaving room for the drop shadow
        cv = Canvas(size, size, size / 50.0, origin=(0.25, 0.75))
    draw_velkaro(cv, size)
    off = max(1, int(round(size / 40.0)))
    rad_ = max(1, int(round(size / 36.0)))
    if size <= 16:
        return cv
    return with_shadow(cv, off, rad_, 0.45)


# ---------------------------------------------------------------------------
# Close button (drawn directly in pixels)
# ---------------------------------------------------------------------------


def render_close(n, hot):
    cv = Canvas(n, n, 1.0)
    rr = max(2.0, n * 0.2)
    sq = rrect(0.5, 0.5, n - 0.5, n - 0.5, rr)
    if hot:
        cv.fill(sq, C(150, 15, 15))
        inner = rrect(1.5, 1.5, n - 1.5, n - 1.5, rr - 1)
        cv.fill(inner, vgrad(1.5, n - 1.5, (240, 95, 90), (220, 40, 40), (190, 25, 25)))
        cv.fill(inter(inner, halfplane(n * 0.45)),
                vgrad(1.5, n * 0.45, C(255, 255, 255, 0.35), C(255, 255, 255, 0.05)))
    else:
        cv.fill(sq, C(255, 255, 255, 0.12))
        cv.fill(outline(rrect(1.0, 1.0, n - 1.0, n - 1.0, rr - 0.5), 1.0),
                C(255, 255, 255, 0.5))
    c = n * 0.5
    k = n * 0.2
    w = 1.25 + n * 0.055
    x = union(seg(c - k, c - k, c + k, c + k, w), seg(c - k, c + k, c + k, c - k, w))
    shadow = (lambda f: (lambda px, py: f(px - 0.6, py - 0.8)))(x[0])
    cv.fill((shadow, (x[1][0], x[1][1], x[1][2] + 1, x[1][3] + 1)),
            C(60, 0, 0, 0.4) if hot else C(10, 30, 70, 0.35))
    cv.fill(x, WHITE)
    return cv


# ---------------------------------------------------------------------------
# Splash picture: a lake at dusk
# ---------------------------------------------------------------------------


class Noise:
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


def mix(a, b, t):
    return (a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, a[2] + (b[2] - a[2]) * t)


def smoothstep(e0, e1, x):
    t = (x - e0) / (e1 - e0)
    t = 0.0 if t < 0 else (1.0 if t > 1 else t)
    return t * t * (3 - 2 * t)


def render_splash():
    W, H, HZ = 400, 300, 206
    SUNX, SUNY, SUNR = 276.0, 193.0, 10.0
    nz = Noise(20240611)
    sky_stops = [(0.0, (12, 20, 54)), (0.3, (32, 48, 108)), (0.55, (84, 88, 156)),
                 (0.75, (176, 118, 150)), (0.9, (244, 156, 110)), (1.0, (255, 196, 135))]

    def sky_col(x, y):
        t = y / HZ
        col = None
        for i in range(1, len(sky_stops)):
            if t <= sky_stops[i][0] or i == len(sky_stops) - 1:
                t0, c0 = sky_stops[i - 1]
                t1, c1 = sky_stops[i]
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

    img = [None] * (W * H)
    # sky with thin clouds
    for y in range(HZ + 8):
        for x in range(W):
            col = sky_col(x + 0.5, y + 0.5)
            if 55 < y < 175:
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
            img[y * W + x] = col

    # stars high up, away from the title area
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

    # the sun disc
    for y in range(int(SUNY - SUNR - 2), int(SUNY + SUNR + 3)):
        for x in range(int(SUNX - SUNR - 2), int(SUNX + SUNR + 3)):
            d = math.hypot(x + 0.5 - SUNX, y + 0.5 - SUNY) - SUNR
            cov = min(1.0, max(0.0, 0.5 - d / 1.5))
            if cov > 0:
                img[y * W + x] = mix(img[y * W + x], (255, 248, 225), cov)

    # mountain ranges from far to near
    def ridge_far(x):
        v = math.exp(-((x - 205) / 85.0) ** 2)
        return 172 + 22 * nz.f1(x / 45.0 + 3.0) - 12 * nz.f1(x / 14.0 + 40) * 0.5 + 22 * v

    def ridge_mid(x):
        # high on the left, a wide valley in the middle, lower hills on the right
        side = (200 - x) / 200.0 if x < 200 else max(0.0, x - 250) / 150.0
        return 222 - 95 * side ** 1.3 - 22 * nz.f1(x / 38.0 + 91.0)

    def ridge_near(x):
        if x < 200:
            t = x / 135.0
        else:
            t = (400 - x) / 120.0
        return 150 + 95 * t ** 1.6 + 10 * nz.f1(x / 20.0 + 300.0)

    layers = [
        (ridge_far, (128, 96, 150), (178, 126, 150), 0.55, 0.0),
        (ridge_mid, (62, 50, 96), (92, 70, 110), 0.3, 0.16),
        (ridge_near, (22, 22, 44), (30, 28, 52), 0.08, 0.22),
    ]
    for li, (ridge, top_c, bot_c, haze, tex) in enumerate(layers):
        for x in range(W):
            ry = ridge(x + 0.5)
            j0 = max(0, int(ry) - 1)
            for y in range(j0, HZ + 8):
                cov = (y + 0.5) - ry + 0.5
                if cov <= 0:
                    continue
                cov = min(1.0, cov)
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
                col = mix(col, (255, 175, 120), rim)
                k = y * W + x
                img[k] = mix(img[k], col, cov)

    # pine trees along the near ridges (anti-aliased triangles)
    trees = Canvas(W, H, 1.0)
    rng = random.Random(5)
    x = 1.0
    while x < W:
        if 128 < x < 290:
            x += 3
            continue
        base = ridge_near(x) + 3
        if base < HZ + 2:
            hgt = rng.uniform(9, 22) * (1.0 if (x < 70 or x > 345) else 0.75)
            wdt = hgt * rng.uniform(0.26, 0.34)
            trees.fill(polygon([(x, base - hgt), (x + wdt, base), (x - wdt, base)]),
                       C(16, 16, 34))
            trees.fill(seg(x, base - hgt * 0.3, x, base + 2, 1.0), C(16, 16, 34))
        x += rng.uniform(3.0, 7.5)
    tp = trees.px
    for k in range(W * (HZ + 8)):
        a = tp[k * 4 + 3]
        if a > 0:
            c = img[k]
            img[k] = (c[0] * (1 - a) + tp[k * 4] * 255,
                      c[1] * (1 - a) + tp[k * 4 + 1] * 255,
                      c[2] * (1 - a) + tp[k * 4 + 2] * 255)

    # bloom of the sun over the hills
    for y in range(HZ):
        for x in range(max(0, int(SUNX) - 160), min(W, int(SUNX) + 160)):
            dx, dy = (x - SUNX) / 55.0, (y - SUNY) / 40.0
            g = math.exp(-(dx * dx + dy * dy)) * 0.35
            if g > 0.01:
                img[y * W + x] = mix(img[y * W + x], (255, 210, 160), g)

    # the lake mirrors the scene with soft ripples
    for y in range(HZ, H):
        dist = y - HZ
        for x in range(W):
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
            img[y * W + x] = col
    # bright seam where the hills meet the water
    for x in range(W):
        k = HZ * W + x
        img[k] = mix(img[k], (255, 200, 150), 0.18 * math.exp(-((x - SUNX) / 90.0) ** 2))

    # reeds in the foreground corners
    fg = Canvas(W, H, 1.0)
    rng = random.Random(11)
    for side in (0, 1):
        for i in range(38):
            bx = rng.uniform(0, 95) if side == 0 else W - rng.uniform(0, 80)
            hgt = rng.uniform(18, 62) * (1 - (abs(bx - (0 if side == 0 else W)) / 130.0))
            lean = rng.uniform(-9, 9)
            top = (bx + lean, H - hgt)
            fg.fill(polygon([(bx - 1.3, H + 1), (bx + 1.3, H + 1), top]), C(10, 10, 22))
        fg.fill(ellipse(0 if side == 0 else W, H + 8, 120 if side == 0 else 100, 22),
                C(10, 10, 22))
    fp = fg.px
    for k in range(W * H):
        a = fp[k * 4 + 3]
        if a > 0:
            c = img[k]
            img[k] = (c[0] * (1 - a) + fp[k * 4] * 255,
                      c[1] * (1 - a) + fp[k * 4 + 1] * 255,
                      c[2] * (1 - a) + fp[k * 4 + 2] * 255)

    # vignette and a touch of grain, then quantise
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


# ---------------------------------------------------------------------------
# Contact sheet
# ---------------------------------------------------------------------------


def write_preview(path, splash_rgb, velkaro, closes, buttons):
    W, H = 800, 590
    sheet = Canvas(W, H, 1.0, C(*WINDOW_BLUE))
    sp = Canvas(400, 300, 1.0)
    for i in range(400 * 300):
        sp.px[i * 4:i * 4 + 4] = [splash_rgb[i * 3] / 255.0, splash_rgb[i * 3 + 1] / 255.0,
                                  splash_rgb[i * 3 + 2] / 255.0, 1.0]
    sheet.over(sp, 10, 10)
    # the program icon where the splash shows it
    v64 = [c for c in velkaro if c.w == 64][0]
    sheet.over(v64, 10 + 168, 10 + 144)
    big = [c for c in velkaro if c.w == 256][0]
    sheet.over(big, 425, 10)
    x = 425
    for c in velkaro:
        if c.w < 256:
            sheet.over(c, x, 280)
            x += c.w + 8
    x += 12
    for normal, hot in closes:
        sheet.over(normal, x, 280)
        sheet.over(hot, x, 315)
        x += normal.w + 6
    per_row = 7
    for idx, (name, c32, c48) in enumerate(buttons):
        col, row = idx % per_row, idx // per_row
        bx, by = 10 + col * 110, 370 + row * 72
        sheet.over(c48, bx, by)
        sheet.over(c32, bx + 56, by + 8)
    rgb = sheet.rgb8_on(WINDOW_BLUE)
    # scale up 2x, nearest neighbour
    big_rows = bytearray()
    for j in range(H):
        row = rgb[j * W * 3:(j + 1) * W * 3]
        row2 = bytearray(W * 6)
        for i in range(W):
            p = row[i * 3:i * 3 + 3]
            row2[i * 6:i * 6 + 3] = p
            row2[i * 6 + 3:i * 6 + 6] = p
        big_rows += row2
        big_rows += row2
    with open(path, "wb") as f:
        f.write(png_plain(W * 2, H * 2, big_rows, 3))


# ---------------------------------------------------------------------------


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: make_art.py OUTDIR\n")
        return 2
    out = argv[1]
    os.makedirs(out, exist_ok=True)
    written = []

    def p(name):
        written.append(name)
        return os.path.join(out, name)

    velkaro = [render_velkaro(s) for s in (16, 24, 32, 48, 64, 256)]
    write_ico(p("velkaro.ico"), velkaro)

    splash = render_splash()
    write_bmp24(p("splash.bmp"), 400, 300, splash)

    closes = [(render_close(n, False), render_close(n, True)) for n in (15, 19, 23, 30)]
    write_ico(p("close_normal.ico"), [c[0] for c in closes])
    write_ico(p("close_hot.ico"), [c[1] for c in closes])

    buttons = []
    for name, draw in BUTTONS:
        c32 = render_icon(draw, 32)
        c48 = render_icon(draw, 48)
        write_ico(p(name + ".ico"), [c32, c48])
        buttons.append((name, c32, c48))

    write_preview(os.path.join(out, "preview.png"), splash, velkaro, closes, buttons)

    total = 0
    for name in written:
        size = os.path.getsize(os.path.join(out, name))
        total += size
        print("%-22s %8d bytes" % (name, size))
    print("%-22s %8d bytes (%.1f KB, preview.png not counted)" % ("total", total,
                                                                  total / 1024.0))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
