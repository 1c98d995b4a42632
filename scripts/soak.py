#!/usr/bin/python3
"""Soak run: does Velkaro.exe leak under Wine?

The program runs N minutes in a throw-away prefix under Xvfb, each minute writing a report and
showing the nine panels; then probe.exe counts its handles, GDI objects, windows and commit.
Exit status 1 when a count grows after the first minute (the lowest sample of the last third
above the minute-1 sample; memory by more than --memory-tolerance-mb), 2 when the program ends,
hangs or a step fails.
"""

import argparse
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))
from velkaro_e2e import MENU, REPO, App, Session  # noqa: E402


def minute(app, seconds=60):
    """One minute of use: a report, then the nine panels at even intervals; what the program
    holds at its end."""
    start = time.monotonic()
    app.run_report()
    took = time.monotonic() - start
    for i, (label, panel) in enumerate(MENU):
        time.sleep(max(0.0, start + took + i * (seconds - took) / len(MENU) - time.monotonic()))
        app.show(label, panel)  # pacing the clicks over the minute, not waiting for a condition
    time.sleep(max(0.0, start + seconds - time.monotonic()))
    app.assert_alive()
    return {**app.probe("stats", app.proc), "report": took}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--minutes", type=int, default=10)
    parser.add_argument("--build", type=Path, default=REPO / "build" / "x64")
    parser.add_argument("--memory-tolerance-mb", type=float, default=4.0)
    args = parser.parse_args()
    samples, session = [], Session(arches=("win64",))
    try:
        app = App(session, "soak", args.build.resolve())
        try:
            app.start()
            app.wait_main()
            for m in range(1, args.minutes + 1):
                samples.append(s := minute(app))
                print(f"minute {m:<3} handles {s['handles']:5d}  gdi {s['gdi']:5d}  windows "
                      f"{s['windows']:4d}  memory {s['memory'] / 2**20:8.2f} MB  "
                      f"(report {s['report']:.1f} s)", flush=True)
        finally:
            app.close()
    except Exception as e:  # the program or the harness failed: no verdict on leaks
        print(f"soak: FAILED after {len(samples)} minute(s): {e!r}", file=sys.stderr)
        return 2
    finally:
        session.stop()
    tail, grown = samples[-max(1, len(samples) // 3):], []
    for key in ("handles", "gdi", "windows", "memory"):
        lowest = min(s[key] for s in tail)
        if lowest > samples[0][key] + (args.memory_tolerance_mb * 2**20 if key == "memory" else 0):
            grown.append(key)
            print(f"soak: {key} grew: {samples[0][key]} after minute 1, at least {lowest} since")
    print("soak: " + ("LEAK" if grown else f"no growth over {args.minutes} minute(s)"))
    return 1 if grown else 0


if __name__ == "__main__":
    sys.exit(main())
