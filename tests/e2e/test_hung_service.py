"""A management service that hangs (the tests' stand-in locator in place of Wine's): the window
keeps answering, the clock ticks, the panels switch, a report ends, and closing ends at once."""

import shutil
import time

from velkaro_e2e import DONE, MAIN, MENU, REPORT, SPLASH, TITLE, Scenario
from velkaro_e2e.report import lines_of, sections

HEADERS = [header for _, header, _ in sections()]


def start_with_stalling_service(app, plan):
    """Starts the program with the tests' stand-in for the management service's locator, which
    stalls as `plan` says ("connect", "query")."""
    wbem = app.prefix.drive_c / "windows" / "system32" / "wbem" / "wbemprox.dll"
    shutil.copy2(app.build / "bin" / "stand_in" / "wbemprox.dll", wbem)
    app.start("wbemprox=n", {"VELKARO_STALL_WMI": plan})


def answering(app, seconds):
    """For `seconds`, asks the program's window (the splash's before the main window shows) again
    and again to take a message: each must within 1 s. Returns the number of asks."""
    end, asks = time.monotonic() + seconds, 0
    while time.monotonic() < end:
        window = MAIN if app.window(MAIN, TITLE) else SPLASH
        answer, asks = app.sync(4, window), asks + 1
        assert answer["replied"] and answer["synced"] - answer["sent"] <= 1000, (window, answer)
    return asks


class HungWhileStarting(Scenario):
    """The connection hangs for ever: the start-up's Windows fill waits on it."""

    def test_start_up_clicks_and_closing_while_the_call_hangs(self):
        app = self.new_app()
        start_with_stalling_service(app, "connect")
        splash = app.wait_window(SPLASH, "visible", 10)
        with self.check("the splash, then the main window on time, answering all along"):
            answering(app, 3.5)
            self.assertLess(app.wait_main(5)["t"] - splash["t"], 5000)
        with self.check("the fill waits (8 s): the clock ticks, a click shows its panel at once"):
            clock = app.text("uhrdate")
            app.click("Label3")
            app.wait_control("P1(1)", "visible", 1)
            answering(app, 1.2)
            self.assertNotEqual(app.text("uhrdate"), clock)
            self.assertEqual(app.text("Text1(9)"), "N/A")  # the Windows fill is not that far
        with self.check("closing ends the program at once, the calls still hanging"):
            app.hover("Image1")
            app.wait_control("Image2", "visible", 5)
            app.click("Image2")
            self.assertEqual(app.wait_exit(1.5)["exit_code"], 0)


class HungQueries(Scenario):
    """The service connects but every query hangs: a report meets the first hang in its graphics
    section, waits out one deadline and ends with every section written from the fields."""

    def test_a_report_ends_within_20_s_with_every_section(self):
        app = self.new_app()
        start_with_stalling_service(app, "query")
        app.wait_main()
        app.wait_control("Text1(9)", "text", 10, "WMI ist installiert!")
        app.show(*MENU[-1])
        started = time.monotonic()
        app.click("Image17")
        with self.check("the window answers within 1 s all along the run"):
            self.assertGreater(answering(app, 10), 10)
        box = app.wait_message_box(20 - (time.monotonic() - started))
        with self.check("the report ends within 20 s with every section"):
            self.assertEqual(box["text"], DONE)
            self.assertLess(time.monotonic() - started, 20)
            app.press_ok()
            lines = lines_of(app.file_bytes(REPORT))
            self.assertEqual([line for line in lines if line.startswith("######")], HEADERS)
            self.assertIn("Grafik:\t\t\t\t\tN/A", lines)
        with self.check("the service, now left alone, costs a panel's fill no time"):
            app.show(*MENU[6])
            self.assertEqual(app.text("Text5(0)"), "N/A")
            self.assertTrue(app.sync(1)["replied"])
