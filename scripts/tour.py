#!/usr/bin/python3
"""A tour of the program under Xvfb in a throw-away prefix, with a screenshot of each stop: the
splash, the main window, the wait window and the message of a report of everything (and a copy
of the report), then each of the nine panels.

Usage: scripts/tour.py PROGRAM OUT_DIR   (prints the files it wrote)
"""

import re
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tools" / "wine"))
from velkaro_wine import BOX, LADE, MAIN, MENU, REPORT, SPLASH, App, Session, wait_for  # noqa: E402



def settled(app, panel):
    """Waits (10 s at most) until two looks at the panel's fields in a row agree: a fill that waits
    for the management service writes its fields after the click."""
    looks = [None]
    wait_for(lambda: looks.append([(c["text"], c.get("items")) for c in app.controls().values()
                                   if c["parent"] == panel]) or looks[-1] == looks[-2], 10,
             f"{panel} settled")


def main(program, out):
    program, out = Path(program).resolve(), Path(out)
    out.mkdir(parents=True, exist_ok=True)
    session = Session(arches=("win64",))
    try:
        app = App(session, "tour", program.parent.parent)
        try:
            def shot(cls, name):
                app.sync(30, cls)  # the window has painted what it was asked to
                app.grab(app.window(cls)["rect"]).save(out / name)
                print(out / name, flush=True)

            app.move(0, 0)  # the pointer away from the windows: no highlight
            app.start()
            app.wait_window(SPLASH, "visible", 10)
            shot(SPLASH, "splash.png")
            app.wait_main()
            app.wait_control("Text1(0)", "text_not", 10, "N/A")
            shot(MAIN, "main.png")
            app.show(MENU[-1])
            app.click("Image17")
            app.wait_window(LADE, "visible", 10)
            shot(LADE, "lade.png")
            app.wait_message_box(60)
            shot(BOX, "messagebox.png")
            app.press_ok()
            (out / "SystemInfo.txt").write_bytes(app.file_bytes(REPORT))
            print(out / "SystemInfo.txt")
            for index, entry in enumerate(MENU):
                app.show(entry)
                app.move(0, 0)
                settled(app, entry.panel)
                shot(MAIN, f"panel-{index}-{re.sub('[^a-z]+', '-', entry.caption.lower())}.png")
        finally:
            app.close()
    finally:
        session.stop()


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__.strip().splitlines()[-1])
    main(*sys.argv[1:])
