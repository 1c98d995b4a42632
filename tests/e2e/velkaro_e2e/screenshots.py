"""A tour of the program under Xvfb in a throw-away prefix, with a screenshot of each stop:
the splash, the main window, each of the nine panels after its fill, a report with every
category ticked (the wait window `lade` while it is up, the closing message box) and a copy of
the report file.

Usage: python3 -m velkaro_e2e.screenshots PROGRAM OUT_DIR
"""

import re
import sys
from pathlib import Path

from .app import LADE, MAIN, MESSAGE_BOX, SPLASH, VelkaroApp
from .environment import Environment
from .waiting import WaitTimeout, wait_for

MENU = ["Windows", "Audio / Grafik", "Netzwerk / Internet", "Computer", "Arbeitsspeicher",
        "Laufwerke", "CPU", "Sonstiges", "Menu"]  # Label2 .. Label10, panels P1(0) .. P1(8)
REPORT = r"C:\SystemInfo.txt"


def panel_file(index):
    return f"panel-{index}-{re.sub(r'[^a-z]+', '-', MENU[index].lower())}.png"


def take(program, out_dir):
    """Writes the screenshots (each cropped to its window) and SystemInfo.txt into out_dir;
    returns their paths in the order they were taken."""
    program = Path(program).resolve()
    out_dir = Path(out_dir)
    out_dir.mkdir(parents=True, exist_ok=True)
    env = Environment(program.parent.parent)
    written = []

    def shot(app, cls, name):
        app.probe.sync(cls)  # the window has painted what it was asked to before it answers
        window = app.probe.window(cls)
        if window is None:
            raise WaitTimeout(f"no {cls} window for {name}")
        app.grab(window["rect"]).save_png(out_dir / name)
        written.append(out_dir / name)

    try:
        env.start()
        app = VelkaroApp("screenshots", env, program=program)
        try:
            # The pointer in a corner, away from the windows: no hover highlight.
            app.mouse.move(0, 0)
            app.launch()
            app.wait_splash()
            shot(app, SPLASH, "splash.png")
            app.wait_main()
            try:  # the Windows panel fills at start-up
                app.wait_control("Text1(0)", "text_not", 10, "N/A")
            except WaitTimeout:
                print("screenshots: the Windows panel did not fill within 10 s", file=sys.stderr)
            shot(app, MAIN, "main.png")
            for index in range(len(MENU)):
                app.click(f"Label{index + 2}")
                app.wait_control(f"P1({index})", "visible", 10)
                # The fill runs inside the click: the window answers once it has ended.
                app.probe.sync(MAIN, 30)
                app.mouse.move(0, 0)
                shot(app, MAIN, panel_file(index))
            for n in range(1, 9):  # every category ticked
                if app.control(f"Check{n}")["check"] != 1:
                    app.click(f"Check{n}")
                    wait_for(lambda: app.control(f"Check{n}")["check"] == 1, 5,
                             what=f"Check{n} ticked")
            app.click("Image17")
            if not app.probe.wait_window(LADE, "visible", 10)["met"]:
                raise WaitTimeout("the wait window did not show within 10 s of the click")
            shot(app, LADE, "lade.png")
            app.wait_message_box(60)
            shot(app, MESSAGE_BOX, "messagebox.png")
            app.press_ok()
            report = app.file_bytes(REPORT)
            if report is None:
                raise FileNotFoundError(f"the report {REPORT} was not written")
            (out_dir / "SystemInfo.txt").write_bytes(report)
            written.append(out_dir / "SystemInfo.txt")
        finally:
            app.close()
    finally:
        env.stop()
    return written


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__.strip().splitlines()[-1])
    for path in take(sys.argv[1], sys.argv[2]):
        print(path)
