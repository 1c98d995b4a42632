"""Soak, only when VELKARO_SOAK_MINUTES is set (`make soak SOAK_MINUTES=N`): the 64-bit program
runs that many minutes, each minute writing a report and showing the nine panels; after each,
probe.exe counts its handles, GDI objects, windows and commit. A count that grows after the first
minute fails (the lowest sample of the last third above the minute-1 sample; memory by more than
4 MB)."""

import os
import time
import unittest

from velkaro_e2e import MENU, Scenario

MINUTES = int(os.environ.get("VELKARO_SOAK_MINUTES", "0"))


@unittest.skipUnless(MINUTES, "VELKARO_SOAK_MINUTES is not set")
class Soak(Scenario):
    def minute(self, app, seconds=60):
        """A report, then the nine panels at even intervals; what the program holds at the end."""
        start = time.monotonic()
        app.run_report()
        took = time.monotonic() - start
        for i, entry in enumerate(MENU):
            time.sleep(max(0.0, start + took + i * (seconds - took) / len(MENU) - time.monotonic()))
            app.show(entry)  # pacing the clicks over the minute, not waiting for a condition
        time.sleep(max(0.0, start + seconds - time.monotonic()))
        app.assert_alive()
        return {**app.probe("stats", app.proc), "report": took}

    def test_soak(self):
        app, samples = self.new_app(), []
        app.start()
        app.wait_main()
        for m in range(1, MINUTES + 1):
            samples.append(s := self.minute(app))
            print(f"\nminute {m:<3} handles {s['handles']:5d}  gdi {s['gdi']:5d}  windows "
                  f"{s['windows']:4d}  memory {s['memory'] / 2**20:8.2f} MB  "
                  f"(report {s['report']:.1f} s)", flush=True)
        tail = samples[-max(1, len(samples) // 3):]
        for key, tolerance in [("handles", 0), ("gdi", 0), ("windows", 0), ("memory", 4 * 2**20)]:
            with self.subTest(f"{key} after minute 1"):
                self.assertLessEqual(min(s[key] for s in tail), samples[0][key] + tolerance)
