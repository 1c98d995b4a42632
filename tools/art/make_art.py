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

from artwork import machine_buttons, network_buttons, session_buttons, tool_buttons
from artwork.canvas import Canvas
from artwork.close_icons import render_close
from artwork.icon_parts import render_icon
from artwork.program_icon import render_velkaro
from artwork.colour import C, WINDOW_BLUE
from artwork.files import png_plain, write_bmp24, write_ico
from artwork.shapes import ellipse, polygon, seg


BUTTONS = [
    ("btn_standby", session_buttons.draw_standby),
    ("btn_shutdown", session_buttons.draw_shutdown),
    ("btn_restart", session_buttons.draw_restart),
    ("btn_logoff", session_buttons.draw_logoff),
    ("btn_lock", session_buttons.draw_lock),
    ("btn_controlpanel", tool_buttons.draw_controlpanel),
    ("btn_update", tool_buttons.draw_update),
    ("btn_volume", tool_buttons.draw_volume),
    ("btn_recorder", tool_buttons.draw_recorder),
    ("btn_modem", network_buttons.draw_modem),
    ("btn_internet", network_buttons.draw_internet),
    ("btn_network", network_buttons.draw_network),
    ("btn_firewall", network_buttons.draw_firewall),
    ("btn_system", machine_buttons.draw_system),
    ("btn_memory", machine_buttons.draw_memory),
    ("btn_report", machine_buttons.draw_report),
]


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
