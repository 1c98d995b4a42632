"""The 32-bit program in a 32-bit prefix with English settings, first as Windows XP, checked as a
user would see it, then as Windows 98, where the program takes its 9x paths: a report of every
category each, which fills every panel."""

import re

from velkaro_e2e import (HEADERS, MENU, PROGRAM, REPORT, Scenario, lines_of, program_version,
                         wait_for)

STATUS_LINE = {"uhrdate": r"\d\d\.\d\d\.\d{4}  \|  \d\d:\d\d:\d\d",
               "Text1(4)": r"\d+ Tag\(e\), \d+ Stunde\(n\), \d\d Minute\(n\), \d\d Sekunde\(n\)",
               "Text5(8)": r"\d+%", "Text1(58)": r"\d+ %",
               **{f"Text1({j})": r"\d+([.,]\d+)? KB\." for j in range(52, 58)}}


class OlderWindows(Scenario):
    def start_and_report(self):
        """Starts the program and writes a report; the controls as the report left them."""
        self.app.start()
        splash, main = self.app.wait_start()
        with self.check("the splash hands over on time"):
            self.assertHandsOver(splash, main)
        return self.app.run_report()["controls"]

    def test_windows_xp_and_98(self):
        app, version = self.new_app("win32", "winxp"), program_version("win32")
        shown = self.start_and_report()
        text = {name: c["text"] for name, c in shown.items()}
        with self.check("XP: the registry record"):
            self.assertEqual([app.prefix.reg(r"HKCU\SOFTWARE\Korvandt", "/s").get(name) for name in
                              ("Velkaro", r"Velkaro\Version", r"Velkaro\Path")],
                             [("REG_SZ", version)] * 2 + [("REG_SZ", PROGRAM)])
        with self.check("XP: Windows XP Professional, Service Pack 3"):
            self.assertEqual([text[f"Text1({i})"] for i in (0, 11, 1, 2)],
                             ["Windows XP Professional", "5.1", "Service Pack 3", "2600"])
        with self.check("XP: every panel shows something"):
            for _, panel in MENU[:-1]:
                self.assertTrue([c for c in shown.values() if c["parent"] == panel and (
                    c.get("items") or c["text"] not in ("", "N/A")) and
                    re.match(r"(Text[15]|List1)\(", c["name"])], panel)
        with self.check("XP: the type Wine gives a 32-bit program, English numbers, no presets"):
            self.assertEqual([text[f"Text5({i})"] for i in (10, 11, 12, 13)],
                             ["80x586", "", "", version])  # 80x586: Pentium
            self.assertEqual(text["Text1(37)"], "0.0 Hours")
            self.assertRegex(shown["List1(0)"]["items"][3], r"^Size \(KB\): \d{1,3}(,\d{3})*$")
        with self.check("XP: the report holds every section with the fields shown"):
            self.assertReport(shown)
        with self.check("XP: the status line ticks"):
            for name, pattern in STATUS_LINE.items():
                self.assertRegex(app.text(name), f"^{pattern}$", name)
            for name in ("uhrdate", "Text1(4)"):  # both count seconds
                app.wait_control(name, "text_not", 2, app.text(name))
        with self.check("XP: the processor load comes from the performance library"):
            self.assertIn("pdh.dll", app.modules())
        with self.check("XP: the diagnostic tool writes its dump beside the program"):
            wait_for(lambda: b"DirectX Version" in (app.file_bytes(r"C:\Velkaro\dx.txt") or b""),
                     30, "dx.txt with a DirectX version")
        self.assertEqual(app.close_by_mouse(5)["exit_code"], 0)

        app.prefix.run("winecfg", "-v", "win98")
        shown = self.start_and_report()
        with self.check("98: Windows 98 SE, without the version values of Windows NT"):
            self.assertEqual([shown[f"Text1({i})"]["text"] for i in (0, 1, 2, 11)],
                             ["Windows 98 SE", "", "", ""])
        with self.check("98: the processor load from the 9x statistics, which Wine lacks"):
            self.assertNotIn("pdh.dll", app.modules())
            self.assertEqual(app.text("Text5(8)"), "0%")
        with self.check("98: the report holds every section"):
            self.assertEqual([line for line in lines_of(app.file_bytes(REPORT))
                              if line.startswith("######")], HEADERS)
