"""The close button's icons, idle and hover, drawn directly in pixels."""

from .canvas import Canvas
from .colour import C, WHITE, vgrad
from .shapes import halfplane, inter, outline, rrect, seg, union

CLOSE_SIZES = (15, 19, 23, 30)


def render_close(n, hot):
    """The close button at n x n pixels: a faint square when idle, red when hot."""
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


def render_close_normal():
    """The idle close button, one image per size of CLOSE_SIZES."""
    return [render_close(n, False) for n in CLOSE_SIZES]


def render_close_hot():
    """The close button under the mouse, one image per size of CLOSE_SIZES."""
    return [render_close(n, True) for n in CLOSE_SIZES]
