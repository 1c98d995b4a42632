"""The 32-bit program in a 32-bit prefix with English settings, first as Windows XP, checked as a
user would see it, then as Windows 98, where the program takes its 9x paths: a report of every
category each, which fills every panel. Then on 64-bit Windows (WoW64), reading the registry."""

import re
from pathlib import Path

from velkaro_e2e import CURRENT, HEADERS, MENU, REPORT, Scenario, lines_of, wait_for

# Registry values the Windows and Sonstiges panels show; HKLM's software keys have two views.
READ = {"Text1(5)": (CURRENT, "ProductId"), "Text1(6)": (CURRENT, "RegisteredOwner"),
        "Text1(7)": (CURRENT, "RegisteredOrganization"), "Text1(11)": (CURRENT, "CurrentVersion"),
        "Text5(11)": (r"HKCU\SOFTWARE\Korvandt", "Lunavex"),
        "Text5(12)": (r"HKLM\Software\Fennrick2", "VersionNo")}


class OlderWindows(Scenario):
    def start_and_report(self, version):
        """Starts the program as that Windows, writes a report; the app, controls, texts."""
        self.app.prefix.run("winecfg", "-v", version)
        self.app.start()
        splash, main = self.app.wait_start()
        with self.subTest(f"{version}: the splash hands over on time"):
            self.assertHandsOver(splash, main)
        shown = self.app.run_report()["controls"]
        return self.app, shown, {name: c["text"] for name, c in shown.items()}

    def test_windows_xp_and_98(self):
        self.new_app("win32")
        app, shown, text = self.start_and_report("winxp")
        with self.subTest("XP: the registry record, Windows XP Professional, Service Pack 3"):
            self.assertRecord("win32")
            self.assertEqual([text[f"Text1({i})"] for i in (0, 11, 1, 2)],
                             ["Windows XP Professional", "5.1", "Service Pack 3", "2600"])
        with self.subTest("XP: every panel shows something"):
            filled = {c["parent"] for c in shown.values() if re.match(r"(Text[15]|List1)\(", c[
                "name"]) and (c.get("items") or c["text"] not in ("", "N/A"))}
            self.assertEqual({entry.panel for entry in MENU[:-1]} - filled, set())
        with self.subTest("XP: the type Wine gives a 32-bit program, English numbers"):
            self.assertEqual(text["Text5(10)"], "80x586")  # a Pentium
            self.assertEqual(text["Text1(37)"], "0.0 Hours")
            self.assertRegex(shown["List1(0)"]["items"][3], r"^Size \(KB\): \d{1,3}(,\d{3})+$")
        with self.subTest("XP: the report holds every section with the fields shown"):
            self.assertReport(shown)
        with self.subTest("XP: the processor load comes from the performance library"):
            self.assertTrue(app.maps("pdh.dll"))
        with self.subTest("XP: the diagnostic tool writes its dump beside the program"):
            wait_for(lambda: b"DirectX Version" in (app.file_bytes(r"C:\Velkaro\dx.txt") or b""),
                     30, "dx.txt with a DirectX version")
        with self.subTest("XP: WM_CLOSE during a report ends it at once, the earlier report kept"):
            earlier = app.file_bytes(REPORT)
            app.show(MENU[-1])
            app.click("Image17")
            wait_for(app.temp_files, 10, "the new report's temporary file")
            self.assertEqual(app.close_by_message(5)["exit_code"], 0)
            self.assertEqual((app.file_bytes(REPORT), app.temp_files()), (earlier, []))

        app, shown, text = self.start_and_report("win98")
        with self.subTest("98: Windows 98 SE, without the version values of Windows NT"):
            self.assertEqual([text[f"Text1({i})"] for i in (0, 1, 2, 11)],
                             ["Windows 98 SE", "", "", ""])
        with self.subTest("98: the processor load from the 9x statistics, which Wine lacks"):
            self.assertFalse(app.maps("pdh.dll"))
            self.assertEqual(app.text("Text5(8)"), "0%")
        with self.subTest("98: the report holds every section"):
            self.assertEqual([line for line in lines_of(app.file_bytes(REPORT))
                              if line.startswith("######")], HEADERS)

    def test_on_64_bit_windows(self):
        """In a 64-bit prefix the 32-bit program reads HKLM's software keys in the 32-bit view."""
        app = self.new_app("win64", program="win32")
        app.prefix.reg_import((Path(__file__).parent / "data" / "everyday.reg").read_text())
        app.start()
        app.wait_start()
        app.show(MENU[-2])  # Sonstiges
        want = {field: app.prefix.reg(*where, "/reg:32")[1] for field, where in READ.items()}
        for field, text in want.items():
            app.wait_control(field, "text", 10, text)
        for field in "Text1(6)", "Text1(7)", "Text5(12)":  # what reading the 64-bit view misses
            self.assertNotIn(want[field], app.prefix.reg(*READ[field], "/reg:64") or ())
        app.show(MENU[2])  # the mail client, a key's name: the 32-bit view's too
        app.wait_control("Text1(36)", "text", 20, "Korvandt Post")
