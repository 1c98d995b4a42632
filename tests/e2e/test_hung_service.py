"""A management service that hangs (the tests' stand-in locator in place of Wine's): the window
keeps answering, the clock ticks, the panels switch, a report ends, and closing ends at once."""

import time
import unittest

from test_report import REPORT, ReportCase
from velkaro_e2e import MAIN, MENU, REPORT_DONE, VelkaroCase

HEADERS = ["Windows", "Audio / Grafik", "Netzwerk / Internet", "Computer", "Arbeitsspeicher",
           "Laufwerke", "CPU", "Sonstiges"]


class HungWhileStarting(VelkaroCase):
    """The service's connection hangs for ever: the start-up's Windows fill waits on it."""

    wait_splash = True
    wait_main = False

    @classmethod
    def prepare(cls, app):
        app.use_stalling_service("connect")

    def test_start_up_clicks_and_closing_while_the_call_hangs(self):
        app = self.app
        # The splash, then the main window on time, answering at every ask meanwhile.
        app.assert_answering(3.5)
        main = app.wait_main(timeout=5)
        self.assertLess(main["t"] - self.splash["t"], 5000)
        # The fill still waits (its deadline is 8 s): the clock ticks, a click shows its panel
        # at once and the window goes on answering, though that fill waits too.
        clock = app.text("uhrdate")
        app.click("Label3")
        app.wait_control("P1(1)", "visible", 1)
        app.assert_answering(1.2)
        self.assertNotEqual(app.text("uhrdate"), clock)
        self.assertEqual(app.text("Text1(9)"), "N/A")  # the Windows fill has not got that far
        # Closing ends the program at once, with the calls still hanging.
        app.hover("Image1")
        app.wait_control("Image2", "visible", 5)
        app.click("Image2")
        ended = app.wait_exit(1.5)
        self.assertTrue(ended["exited"], "the program still runs 1.5 s after the click")
        self.assertEqual(ended["exit_code"], 0)


class HungQueries(ReportCase):
    """The service connects but every query hangs: a report meets the first hang in its graphics
    section, waits out one deadline and ends with every section written from the fields."""

    @classmethod
    def prepare(cls, app):
        app.use_stalling_service("query")

    def test_a_report_ends_within_20_s_with_every_section(self):
        app = self.app
        self.assertEqual(app.text("Text1(9)"), "WMI ist installiert!")
        started = time.monotonic()
        app.click("Image17")
        answers = app.assert_answering(10)
        self.assertGreater(answers, 10)
        box = app.wait_message_box(20 - (time.monotonic() - started))
        self.assertEqual(box["text"], REPORT_DONE)
        self.assertLess(time.monotonic() - started, 20)
        app.press_ok()
        lines = self.report_lines()
        self.assertEqual([line for line in lines if line.startswith("######")],
                         [f"###### {name} ######" for name in HEADERS])
        self.assertIn("Grafik:\t\t\t\t\tN/A", lines)
        # The service is now left alone: a panel that asks it fills at once.
        app.show(*MENU[6])
        self.assertEqual(app.text("Text5(0)"), "N/A")
        self.assertTrue(app.probe.sync(MAIN, 1)["replied"])


if __name__ == "__main__":
    unittest.main()
