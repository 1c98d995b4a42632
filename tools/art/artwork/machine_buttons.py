"""Machine buttons: system, memory, report."""

import math

from .colour import C, lin, rad, vgrad
from .icon_parts import body, monitor, vbody
from .shapes import circle, grow, inter, polygon, rbox, rrect, seg, star, sub, union


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

