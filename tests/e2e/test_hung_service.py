"""A management service that hangs (the tests' stand-in locator, stand_in/wbemprox.dll, in place
of Wine's), first at its connection, then at every query: the window keeps answering, the clock
ticks, the panels switch, a report ends within 20 s, and closing ends at once."""

import shutil
import time

from velkaro_e2e import DONE, HEADERS, MAIN, MENU, REPORT, SPLASH, Scenario, lines_of


class HungService(Scenario):
    def answering(self, seconds):
        """For `seconds`, asks the program's window (the splash's before the main window shows)
        again and again to take a message: each must within 1 s. Returns the number of asks."""
        end, asks = time.monotonic() + seconds, 0
        while time.monotonic() < end:
            window = MAIN if self.app.window(MAIN) else SPLASH
            answer, asks = self.app.sync(4, window), asks + 1
            assert answer["replied"] and answer["synced"] - answer["sent"] <= 1000, (window, answer)
        return asks

    def test_hung_service(self):
        app = self.new_app()
        wbem = app.prefix.drive_c / "windows" / "system32" / "wbem" / "wbemprox.dll"
        shutil.copy2(app.build / "bin" / "stand_in" / "wbemprox.dll", wbem)
        app.start("wbemprox=n", {"VELKARO_STALL_WMI": "connect"})  # for ever
        splash = app.wait_window(SPLASH, "visible", 10)
        with self.subTest("hung connection: the main window on time, answering all along"):
            self.answering(3.5)
            self.assertLess(app.wait_main(5)["t"] - splash["t"], 5000)
        with self.subTest("the fill waits (8 s): the clock ticks, a click shows its panel at once"):
            clock = app.text("uhrdate")
            app.click("Label3")
            app.wait_control("P1(1)", "visible", 1)
            self.answering(1.2)
            self.assertNotEqual(app.text("uhrdate"), clock)
            self.assertEqual(app.text("Text1(9)"), "N/A")  # the Windows fill is not that far
        with self.subTest("closing ends the program at once, the calls still hanging"):
            self.assertEqual(app.close_by_mouse(1.5)["exit_code"], 0)

        app.start("wbemprox=n", {"VELKARO_STALL_WMI": "query"})  # connects, every query hangs
        app.wait_main()
        app.wait_control("Text1(9)", "text", 10, "WMI ist installiert!")
        app.show(*MENU[-1])
        started = time.monotonic()
        app.click("Image17")  # the graphics section meets the first hang, waits out one deadline
        with self.subTest("hung queries: the window answers within 1 s all along a report"):
            self.assertGreater(self.answering(10), 10)
        box = app.wait_message_box(20 - (time.monotonic() - started))
        with self.subTest("the report ends within 20 s with every section"):
            self.assertEqual(box["text"], DONE)
            self.assertLess(time.monotonic() - started, 20)
            app.press_ok()
            lines = lines_of(app.file_bytes(REPORT))
            self.assertEqual([line for line in lines if line.startswith("######")], HEADERS)
            self.assertIn("Grafik:\t\t\t\t\tN/A", lines)
        with self.subTest("the service, now left alone, costs a panel's fill no time"):
            app.show(*MENU[6])
            self.assertEqual(app.text("Text5(0)"), "N/A")
            self.assertTrue(app.sync(1)["replied"])
