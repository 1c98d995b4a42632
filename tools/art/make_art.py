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
import sys
from functools import partial

sys.dont_write_bytecode = True    # keep the source tree free of __pycache__ during builds

from artwork import (close_icons, machine_buttons, network_buttons,
                     program_icon, session_buttons, splash, tool_buttons)
from artwork.files import write_picture
from artwork.icon_parts import render_button
from artwork.preview import write_preview

# Every picture the program uses: output file -> function that draws it.
PICTURES = [
    ("velkaro.ico", program_icon.render_program_icon),
    ("splash.bmp", splash.render_splash),
    ("close_normal.ico", close_icons.render_close_normal),
    ("close_hot.ico", close_icons.render_close_hot),
    ("btn_standby.ico", partial(render_button, session_buttons.draw_standby)),
    ("btn_shutdown.ico", partial(render_button, session_buttons.draw_shutdown)),
    ("btn_restart.ico", partial(render_button, session_buttons.draw_restart)),
    ("btn_logoff.ico", partial(render_button, session_buttons.draw_logoff)),
    ("btn_lock.ico", partial(render_button, session_buttons.draw_lock)),
    ("btn_controlpanel.ico", partial(render_button, tool_buttons.draw_controlpanel)),
    ("btn_update.ico", partial(render_button, tool_buttons.draw_update)),
    ("btn_volume.ico", partial(render_button, tool_buttons.draw_volume)),
    ("btn_recorder.ico", partial(render_button, tool_buttons.draw_recorder)),
    ("btn_modem.ico", partial(render_button, network_buttons.draw_modem)),
    ("btn_internet.ico", partial(render_button, network_buttons.draw_internet)),
    ("btn_network.ico", partial(render_button, network_buttons.draw_network)),
    ("btn_firewall.ico", partial(render_button, network_buttons.draw_firewall)),
    ("btn_system.ico", partial(render_button, machine_buttons.draw_system)),
    ("btn_memory.ico", partial(render_button, machine_buttons.draw_memory)),
    ("btn_report.ico", partial(render_button, machine_buttons.draw_report)),
]


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: make_art.py OUTDIR\n")
        return 2
    out = argv[1]
    os.makedirs(out, exist_ok=True)
    drawn = {}
    for name, draw in PICTURES:
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
