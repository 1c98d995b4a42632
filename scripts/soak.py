#!/usr/bin/env python3
"""Soak run of Velkaro.exe under Wine: does it leak over time?

Runs the program for N minutes at its normal four status ticks a second in a throw-away prefix
under Xvfb. Every minute it writes a report with all eight categories (waits for the closing
message and presses OK) and clicks each of the nine menu labels in turn, spread over the
minute. At the end of each minute it samples, through probe.exe inside the prefix:
  handles  GetProcessHandleCount; Wine 8 answers 0, so then the process's entries in the
           system's handle list (NtQuerySystemInformation) are counted instead
  gdi      GetGuiResources(GR_GDIOBJECTS); Wine's is a stub that answers 0, so then the live
           entries of the process's GDI handle table are counted instead
  user     GetGuiResources(GR_USEROBJECTS); 0 under Wine, so then the process's windows are
           counted instead (the USER objects another process can see there)
  private  GetProcessMemoryInfo PrivateUsage; Wine leaves it 0, so then PagefileUsage (under
           Wine the process's resident anonymous memory and swap)
and checks that the window still answers. It exits 1 when a count grows after the first
minute: when even the lowest sample of the last third of the run lies above the minute-1
sample (for private bytes: above it by more than --private-tolerance-mb, allocator noise); 2
when the program ends, hangs or a step fails.

Usage: scripts/soak.py [--minutes 10] [--build build/x64] [--private-tolerance-mb 4]
"""

import argparse
import sys
import time
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(REPO / "tests" / "e2e"))

from velkaro_e2e import LADE, MAIN, Environment, VelkaroApp, wait_for  # noqa: E402

# Menu labels Label2 .. Label10 and their panels P1(0) .. P1(8). Only these, the check boxes
# and "Daten Auswerten" (Image17) are clicked: never the memory release or a power button.
MENU = [(f"Label{n}", f"P1({n - 2})") for n in range(2, 11)]
COUNTS = ("handles", "gdi", "user")


class SoakFailure(RuntimeError):
    """The program ended, hung, or did not do what a step asked of it."""


def open_panel(app, label, panel):
    app.click(label)
    app.wait_control(panel, "visible", 15)
    # The fill runs inside the click: the window takes the next message when it has ended.
    if not app.probe.sync(MAIN, 15)["replied"]:
        raise SoakFailure(f"the window does not answer 15 s after a click on {label}")


def report(app):
    """Writes a report with every category ticked; returns its length in seconds."""
    open_panel(app, "Label10", "P1(8)")
    for n in range(1, 9):
        if app.control(f"Check{n}")["check"] != 1:
            app.click(f"Check{n}")
            wait_for(lambda: app.control(f"Check{n}")["check"] == 1, 5, what=f"Check{n} ticked")
    start = app.probe.now()
    app.click("Image17")
    box = app.wait_message_box(90)
    if box["text"] != "Alle Daten Ausgewertet!":
        raise SoakFailure(f"the report ended with {box}")
    app.press_ok()
    app.probe.wait_window(LADE, "hidden", 10)
    return (box["t"] - start) / 1000


def minute(app, seconds=60):
    """One minute of use: a report, then the nine menu labels at even intervals."""
    start = time.monotonic()
    took = report(app)
    slot = (seconds - took) / len(MENU)
    for i, (label, panel) in enumerate(MENU):
        # Pacing the clicks over the minute, not waiting for a condition.
        time.sleep(max(0.0, start + took + i * slot - time.monotonic()))
        open_panel(app, label, panel)
    time.sleep(max(0.0, start + seconds - time.monotonic()))
    return took


def sample(app):
    if not app.running():
        raise SoakFailure("the program has ended")
    if not app.probe.sync(MAIN, 5)["replied"]:
        raise SoakFailure("the window does not answer within 5 s")
    stats = app.probe.call("stats", app.proc)
    return {"handles": stats["handles"] or stats["system_handles"],
            "gdi": stats["gdi"] or stats["gdi_table"],
            "user": stats["user"] or stats["windows"],
            "private": stats["private"] or stats["pagefile"],
            "raw": stats}


def growth(samples, tolerance_bytes):
    """{count: (minute-1 value, lowest of the last third)} of every count that grew."""
    if len(samples) < 2:
        return {}
    base, tail = samples[0], samples[-max(1, len(samples) // 3):]
    grown = {}
    for key in COUNTS + ("private",):
        lowest = min(s[key] for s in tail)
        if lowest > base[key] + (tolerance_bytes if key == "private" else 0):
            grown[key] = (base[key], lowest)
    return grown


def line(label, s, extra=""):
    return (f"{label:<10}handles {s['handles']:5d}  gdi {s['gdi']:5d}  user {s['user']:5d}  "
            f"private {s['private'] / 2**20:8.2f} MB{extra}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--minutes", type=int, default=10)
    parser.add_argument("--build", default=str(REPO / "build" / "x64"), help="the x64 build")
    parser.add_argument("--private-tolerance-mb", type=float, default=4.0)
    args = parser.parse_args()

    env = Environment(Path(args.build))
    samples = []
    try:
        env.start()
        app = VelkaroApp("soak", env)
        try:
            app.mouse.move(0, 0)
            app.launch()
            app.wait_main(timeout=20)
            app.probe.sync(MAIN, 30)  # the Windows panel's fill at start-up
            start = sample(app)
            raw = start["raw"]
            print(f"direct answers: GetProcessHandleCount {raw['handles']}, GetGuiResources GDI "
                  f"{raw['gdi']} USER {raw['user']} (last error {raw['gui_error']}), "
                  f"PrivateUsage {raw['private']}; a 0 is replaced by its stand-in", flush=True)
            print(line("start", start), flush=True)
            for m in range(1, args.minutes + 1):
                took = minute(app)
                samples.append(sample(app))
                print(line(f"minute {m}", samples[-1], f"  (report {took:.1f} s)"), flush=True)
        finally:
            app.close()
    except Exception as e:  # the program or the harness failed: no verdict on leaks
        print(f"soak: FAILED after {len(samples)} minute(s): {e}", file=sys.stderr)
        return 2
    finally:
        env.stop()

    grown = growth(samples, args.private_tolerance_mb * 2**20)
    for key, (base, lowest) in grown.items():
        print(f"soak: {key} grew: {base} after minute 1, at least {lowest} in the last third")
    print("soak: " + ("LEAK" if grown else f"no growth over {args.minutes} minute(s)"))
    return 1 if grown else 0


if __name__ == "__main__":
    sys.exit(main())
