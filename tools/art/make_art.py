#!/usr/bin/env python3
"""Draws all artwork of Velkaro 3.0 and writes it into a folder.

Usage: make_art.py OUTDIR

Everything is drawn in code (package artwork/ next to this script) with a small
anti-aliased rasteriser (signed-distance shapes, premultiplied RGBA float buffers),
using only the Python standard library.  The output is byte-for-byte reproducible.

Files written:
  velkaro.ico            program icon (16..64 BMP entries, 256 PNG entry)
  splash.bmp             400x300 24-bit splash background
  close_normal.ico       close button, idle  (15, 19, 23, 30)
  close_hot.ico          close button, hover (15, 19, 23, 30)
  btn_*.ico              16 panel button icons (32, 48)
  preview.png            contact sheet on the window blue, 2x (review only)
"""

import os
import re
import sys
from functools import partial

sys.dont_write_bytecode = True    # keep the source tree free of __pycache__ during builds

from artwork import (close_icons, machine_buttons, network_buttons,
                     program_icon, session_buttons, splash, tool_buttons)
from artwork.files import write_picture
from artwork.icon_parts import render_button
from artwork.preview import write_preview

# The program's table of pictures: kind, name, resource number and file of every picture.
TABLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "src", "app",
                     "pictures.h")
ROW = re.compile(r'^\s*(ICON|BITMAP|BUTTON)\((\w+), (\d+), "([\w.]+)"')
PICTURE_MODULES = (program_icon, splash, close_icons)
BUTTON_MODULES = (session_buttons, tool_buttons, network_buttons, machine_buttons)


def snake(name):
    """ControlPanel -> control_panel"""
    return re.sub(r"(?<!^)([A-Z])", r"_\1", name).lower()


def drawer(kind, name):
    """The function that draws a picture of the table: render_<name> for icons and bitmaps,
    draw_<name> inside a button for buttons."""
    if kind == "BUTTON":
        found = [getattr(m, "draw_" + snake(name)) for m in BUTTON_MODULES
                 if hasattr(m, "draw_" + snake(name))]
        return partial(render_button, found[0]) if found else None
    found = [getattr(m, "render_" + snake(name)) for m in PICTURE_MODULES
             if hasattr(m, "render_" + snake(name))]
    return found[0] if found else None


def pictures():
    """[(file, draw)] of every picture of the table, in resource number order."""
    rows = []
    with open(TABLE, encoding="utf-8") as table:
        for line in table:
            match = ROW.match(line)
            if match:
                kind, name, number, file = match.groups()
                draw = drawer(kind, name)
                if draw is None:
                    raise SystemExit(f"make_art.py: nothing draws {kind} {name} ({file})")
                rows.append((int(number), file, draw))
    return [(file, draw) for _, file, draw in sorted(rows)]


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: make_art.py OUTDIR\n")
        return 2
    out = argv[1]
    os.makedirs(out, exist_ok=True)
    drawn = {}
    for name, draw in pictures():
        drawn[name] = draw()
        write_picture(os.path.join(out, name), drawn[name])
    write_preview(os.path.join(out, "preview.png"), drawn)
    print_sizes(out, drawn)
    return 0


def print_sizes(out, names):
    """One line per written file with its size, then the total."""
    total = 0
    for name in names:
        size = os.path.getsize(os.path.join(out, name))
        total += size
        print("%-22s %8d bytes" % (name, size))
    print("%-22s %8d bytes (%.1f KB, preview.png not counted)" % ("total", total,
                                                                  total / 1024.0))


if __name__ == "__main__":
    sys.exit(main(sys.argv))
