"""The 32-bit program in a 32-bit prefix that reports an older Windows, with English settings: a
report of every category, which fills every panel, under Windows XP, checked as a user would see
it, and under Windows 98, where the program takes its 9x paths."""

import re

from velkaro_e2e import MENU, PROGRAM, REPORT, SPLASH, Scenario, program_version, wait_for
from velkaro_e2e.report import expected, lines_of, mismatches

STATUS_LINE = {"uhrdate": r"\d\d\.\d\d\.\d{4}  \|  \d\d:\d\d:\d\d",
               "Text1(4)": r"\d+ Tag\(e\), \d+ Stunde\(n\), \d\d Minute\(n\), \d\d Sekunde\(n\)",
               "Text5(8)": r"\d+%", "Text1(58)": r"\d+ %",
               **{f"Text1({j})": r"\d+([.,]\d+)? KB\." for j in range(52, 58)}}


class OlderWindows(Scenario):
    def full_round(self, version):
        """Starts the program as that Windows and writes a report; returns the app and its
        controls as the report left them."""
        app = self.new_app("win32", version)
        app.start()
        splash, main = app.wait_window(SPLASH, "visible", 10), app.wait_main()
        with self.check("the splash hands over on time"):
            self.assertHandsOver(splash, main)
        return app, app.run_report()["controls"]


class WindowsXp(OlderWindows):
    def test_windows_xp(self):
        app, shown = self.full_round("winxp")
        text = {name: c["text"] for name, c in shown.items()}
        with self.check("the registry record"):
            for key, name, data in [("", "Velkaro", program_version("win32")),
                                    (r"\Velkaro", "Version", program_version("win32")),
                                    (r"\Velkaro", "Path", PROGRAM)]:
                self.assertEqual(app.probe("reg_get", r"HKCU\SOFTWARE\Korvandt" + key, name)
                                 ["value"], data)
        with self.check("Windows XP Professional, Service Pack 3"):
            self.assertEqual([text[f"Text1({i})"] for i in (0, 11, 1, 2)],
                             ["Windows XP Professional", "5.1", "Service Pack 3", "2600"])
        with self.check("every panel shows something"):
            for _, panel in MENU[:-1]:
                self.assertTrue([c for c in shown.values() if c["parent"] == panel and (
                    c.get("items") or c["text"] not in ("", "N/A", None)) and
                    re.match(r"(Text[15]|List1)\(", c["name"])], panel)
        with self.check("the type Wine gives a 32-bit program, English numbers, no presets"):
            self.assertEqual([text[f"Text5({i})"] for i in (10, 11, 12, 13)],
                             ["80x586", "", "", program_version("win32")])  # 80x586: Pentium
            self.assertEqual(text["Text1(37)"], "0.0 Hours")
            self.assertRegex(shown["List1(0)"]["items"][3], r"^Size \(KB\): \d{1,3}(,\d{3})*$")
        with self.check("the report holds every section with the fields shown"):
            self.assertEqual(mismatches(lines_of(app.file_bytes(REPORT)), expected(shown)), [])
        with self.check("the status line ticks"):
            for name, pattern in STATUS_LINE.items():
                self.assertRegex(app.text(name), f"^{pattern}$", name)
            for name in ("uhrdate", "Text1(4)"):  # both count seconds
                app.wait_control(name, "text_not", 2, app.text(name))
        with self.check("the processor load comes from the performance library"):
            self.assertIn("pdh.dll", {m.lower() for m in app.probe("modules", app.proc)["modules"]})
        with self.check("the diagnostic tool writes its dump beside the program"):
            wait_for(lambda: b"DirectX Version" in (app.file_bytes(r"C:\Velkaro\dx.txt") or b""),
                     30, "dx.txt with a DirectX version")


class Windows98(OlderWindows):
    def test_windows_98(self):
        app, shown = self.full_round("win98")
        with self.check("Windows 98 SE, without the version values of Windows NT"):
            self.assertEqual([shown[f"Text1({i})"]["text"] for i in (0, 1, 2, 11)],
                             ["Windows 98 SE", "", "", ""])
        with self.check("the processor load comes from the 9x statistics, which Wine lacks"):
            self.assertNotIn("pdh.dll", {m.lower() for m in app.probe("modules", app.proc)[
                "modules"]})
            self.assertEqual(app.text("Text5(8)"), "0%")
        with self.check("the report holds every section"):
            self.assertEqual(len([line for line in lines_of(app.file_bytes(REPORT))
                                  if line.startswith("######")]), 8)
