"""Screenshots of the splash and of the main window, taken under Xvfb in a throw-away prefix.

Usage: python3 -m velkaro_e2e.screenshots PROGRAM OUT_DIR
"""

import sys
from pathlib import Path

from .app import MAIN, SPLASH, VelkaroApp
from .environment import Environment
from .waiting import WaitTimeout


def take(program, out_dir):
    """Writes splash.png and main.png (each cropped to its window) into out_dir."""
    program = Path(program).resolve()
    out_dir = Path(out_dir)
    out_dir.mkdir(parents=True, exist_ok=True)
    env = Environment(program.parent.parent)
    try:
        env.start()
        app = VelkaroApp("screenshots", env, program=program)
        try:
            # The pointer in a corner, away from the windows: no hover highlight.
            app.mouse.move(0, 0)
            app.launch()
            splash = app.wait_splash()["window"]
            app.probe.sync(SPLASH)  # the splash paints itself before it takes messages
            app.grab(splash["rect"]).save_png(out_dir / "splash.png")
            main = app.wait_main()["window"]
            try:  # the Windows panel fills at start-up
                app.wait_control("Text1(0)", "text_not", 10, "N/A")
            except WaitTimeout:
                print("screenshots: the Windows panel did not fill within 10 s", file=sys.stderr)
            app.probe.sync(MAIN)
            app.grab(main["rect"]).save_png(out_dir / "main.png")
        finally:
            app.close()
    finally:
        env.stop()
    return out_dir / "splash.png", out_dir / "main.png"


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__.strip().splitlines()[-1])
    for path in take(sys.argv[1], sys.argv[2]):
        print(path)
