"""The live status line of the real Velkaro.exe under Wine: date and time, uptime, processor
load and the seven memory figures refresh four times a second, whether or not their panel is
shown."""

import datetime
import os
import re
import subprocess
import sys

from velkaro_e2e import MAIN, VelkaroCase, wait_for

DATE_TIME = re.compile(r"^(\d\d)\.(\d\d)\.(\d{4})  \|  (\d\d):(\d\d):(\d\d)$")
UPTIME = re.compile(r"^\d+ Tag\(e\), \d+ Stunde\(n\), \d\d Minute\(n\), \d\d Sekunde\(n\)$")
KILOBYTES = re.compile(r"^\d+(,\d+)? KB\.$")
LOAD = re.compile(r"^(\d+)%$")

# Keeps the host's first processor (Wine's processor 0) busy for argv[1] seconds.
SPIN = """
import os, sys, time
os.sched_setaffinity(0, {0})
end = time.monotonic() + float(sys.argv[1])
while time.monotonic() < end:
    pass
"""


class StatusLine(VelkaroCase):
    def wait_text(self, name, pattern, timeout=5):
        return wait_for(lambda: pattern.match(self.app.text(name)), timeout, 0.02,
                        f"{name} matching {pattern.pattern}")

    def test_date_and_time_change_every_second_and_show_the_host_local_time(self):
        first = self.wait_text("uhrdate", DATE_TIME).group(0)
        changed = self.app.wait_control("uhrdate", "text_not", 1.5, first)["text"]
        now = datetime.datetime.now()
        d, mo, y, h, mi, s = map(int, DATE_TIME.match(changed).groups())
        shown = datetime.datetime(y, mo, d, h, mi, s)
        self.assertLess(abs((now - shown).total_seconds()), 2.5, (changed, now))

    def test_uptime_moves(self):
        first = self.wait_text("Text1(4)", UPTIME).group(0)
        changed = self.app.wait_control("Text1(4)", "text_not", 2, first)["text"]
        self.assertRegex(changed, UPTIME)

    def test_memory_fields_are_rewritten_while_their_panel_is_hidden(self):
        self.assertFalse(self.app.control("P1(4)")["visible"])
        for index in range(52, 59):
            name = f"Text1({index})"
            with self.subTest(name=name):
                self.assertTrue(self.app.probe.set_text(MAIN, name, "x"))
                text = self.app.wait_control(name, "text_not", 2, "x")["text"]
                self.assertRegex(text, r"^\d+ %$" if index == 58 else KILOBYTES)
        self.assertFalse(self.app.control("P1(4)")["visible"])

    def test_processor_load_rises_while_a_core_is_kept_busy(self):
        if 0 not in os.sched_getaffinity(0):
            self.skipTest("the host's first processor is not ours to load")
        self.wait_text("Text5(8)", LOAD)
        spinner = subprocess.Popen([sys.executable, "-c", SPIN, "20"])
        self.addCleanup(spinner.wait)
        self.addCleanup(spinner.kill)
        # The average spans ten readings (2.5 s): a busy processor pulls it well above 0.
        wait_for(lambda: int(self.wait_text("Text5(8)", LOAD).group(1)) >= 50, 12, 0.05,
                 "Text5(8) at 50 % or more")
