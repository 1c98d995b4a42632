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

import os
import sys
sys.dont_write_bytecode = True    # keep the source tree free of __pycache__ during builds

from artwork import machine_buttons, network_buttons, session_buttons, tool_buttons
from artwork.canvas import Canvas
from artwork.close_icons import render_close
from artwork.icon_parts import render_icon
from artwork.program_icon import render_velkaro
from artwork.colour import C, WINDOW_BLUE
from artwork.files import png_plain, write_bmp24, write_ico
from artwork.splash import render_splash


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
