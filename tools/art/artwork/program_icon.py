"""The program icon: a monitor with a V on its screen, one drawing per size."""

import math

from .canvas import Canvas, with_shadow
from .colour import C, WHITE, lin, vgrad
from .icon_parts import body, gloss, vbody
from .shapes import arc, grow, inter, polygon, rrect, seg

ICON_SIZES = (16, 24, 32, 48, 64, 256)


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
    """The icon for one pixel size; small sizes get a bolder V and fewer details."""
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
    """The icon at one size, with a drop shadow from 24 px up."""
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


def render_program():
    """The icon's images, one per size of ICON_SIZES (the 256 one is stored as PNG)."""
    return [render_velkaro(size) for size in ICON_SIZES]
