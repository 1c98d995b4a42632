"""Drawing helpers shared by the icons: rimmed bodies, gloss, arrows, globe, monitor.

Icons are drawn in a 48-unit design space and scaled to the pixel size.
"""

import math

from .canvas import Canvas, with_shadow
from .colour import C, lin, rad, vgrad
from .shapes import circle, ellipse, grow, halfplane, inter, outline, polygon, rrect, union

BUTTON_SIZES = (32, 48)

EDGE_W = 1.5   # outline width in 48-unit design space (1 px at 32, 1.5 px at 48)


def body(cv, shape, paint, edge, ew=EDGE_W):
    """Filled shape with a dark rim: rim first, the fill inset on top."""
    cv.fill(grow(shape, ew * 0.5), C(*edge) if len(edge) == 3 else edge)
    cv.fill(grow(shape, -ew * 0.5), paint)


def vbody(cv, shape, top, bottom, edge, ew=EDGE_W):
    """Rimmed body filled with a top-to-bottom gradient."""
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
    """A green arrow shape with a white halo, so it reads on any background."""
    cv.fill(grow(shape, 1.6), C(255, 255, 255, 0.95))
    vbody(cv, shape, (150, 235, 110), (35, 150, 40), (20, 85, 20))
    gloss(cv, shape, (shape[1][1] + shape[1][3]) * 0.5, 0.45)


def globe(cv, cx, cy, r, land=True):
    """Blue sphere with green land and a faint grid of meridians and parallels."""
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
    """Monitor with bezel, glass and (optionally) a stand; returns the screen shape."""
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


def render_icon(draw, size, shadow=True):
    """A 48-unit drawing rendered at size pixels, with a soft drop shadow if asked."""
    cv = Canvas(size, size, size / 48.0)
    draw(cv)
    if shadow:
        off = max(1, int(round(size / 40.0)))
        rad_ = max(1, int(round(size / 36.0)))
        cv = with_shadow(cv, off, rad_, 0.55 if size >= 32 else 0.4)
    return cv


def render_button(draw):
    """A picture button's images, one per size of BUTTON_SIZES."""
    return [render_icon(draw, size) for size in BUTTON_SIZES]
