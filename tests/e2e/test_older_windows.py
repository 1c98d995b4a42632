"""The 32-bit Velkaro.exe in a 32-bit prefix that reports an older Windows. Each class starts
the program once and does a full round (every menu label and its fill, a report of every
category): under Windows XP the round is checked like a user would see it; under Windows 98
the program takes its 9x paths (version texts, the processor load from the 9x source) and
neither crashes nor hangs."""

import re
import unittest

from test_report import ReportCase, expected_lines
from test_status_line import DATE_TIME, KILOBYTES, LOAD, UPTIME
from velkaro_e2e import MENU, PROGRAM, VelkaroCase, program_version

KORVANDT = r"HKCU\SOFTWARE\Korvandt"
STATUS_LINE = {"uhrdate": DATE_TIME, "Text1(4)": UPTIME, "Text5(8)": LOAD,
               **{f"Text1({j})": KILOBYTES for j in range(52, 58)}, "Text1(58)": r"^\d+ %$"}


class OlderWindowsRound(VelkaroCase):
    arch = "win32"
    wait_splash = True

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.shown = cls.app.survive_full_round()  # each panel as its fill left it
        cls.after = cls.app.controls()  # after the report, which fills every panel again
        cls.modules = cls.app.probe.modules(cls.app.proc)

    def report_lines(self):
        return ReportCase.report_lines(self)

    def field(self, name):
        return self.shown[name]["text"]


class WindowsXp(OlderWindowsRound):
    windows_version = "winxp"

    def test_start_writes_the_registry_record_and_hands_over_on_time(self):
        self.assertHandsOverOnTime()
        version = program_version("win32")
        for key, name, data in [(KORVANDT, "Velkaro", version),
                                (KORVANDT + r"\Velkaro", "Version", version),
                                (KORVANDT + r"\Velkaro", "Path", PROGRAM)]:
            with self.subTest(name=name):
                self.assertEqual(self.app.reg_get(key, name)["value"], data)

    def test_windows_panel_shows_windows_xp_professional_service_pack_3(self):
        self.assertEqual([self.field(f"Text1({i})") for i in (0, 11, 1, 2)],
                         ["Windows XP Professional", "5.1", "Service Pack 3", "2600"])

    def test_every_panel_was_filled(self):
        for label, panel in MENU[:-1]:
            fields = [c["name"] for c in self.app.table()
                      if c["parent"] == panel and re.match(r"(Text[15]|List1)\(", c["name"])]
            filled = [f for f in fields if self.shown[f].get("items")
                      or self.shown[f]["text"] not in ("", "N/A")]
            with self.subTest(panel=panel):
                self.assertTrue(filled, f"no field of {panel} filled by {label}")

    def test_status_line_ticks(self):
        for name, pattern in STATUS_LINE.items():
            with self.subTest(field=name):
                self.assertRegex(self.app.text(name), pattern)
        for name in ("uhrdate", "Text1(4)"):  # both count seconds
            self.app.wait_control(name, "text_not", 2, self.app.text(name))

    def test_report_holds_every_section_with_the_fields_shown(self):
        ReportCase.assertLinesMatch(self, self.report_lines(),
                                    expected_lines(self.after, range(1, 9)))

    def test_processor_load_comes_from_the_performance_library(self):
        # The NT family opens a PDH query when the main window loads.
        self.assertIn("pdh.dll", self.modules)

    def test_cpu_panel_shows_the_type_wine_gives_a_32_bit_program(self):
        self.assertEqual(self.field("Text5(10)"), "80x586")  # PROCESSOR_INTEL_PENTIUM


class Windows98(OlderWindowsRound):
    windows_version = "win98"

    def test_windows_panel_shows_windows_98_se_and_no_nt_version_values(self):
        self.assertEqual(self.field("Text1(0)"), "Windows 98 SE")
        # Wine's Windows 98 has no service pack, build or version under "Windows NT".
        self.assertEqual([self.field(f"Text1({i})") for i in (1, 2, 11)], ["", "", ""])

    def test_processor_load_comes_from_the_9x_statistics(self):
        # Windows 9x has no PDH: the sampler reads HKEY_DYN_DATA, where Wine keeps no
        # statistics, so no reading is folded in and the load stays 0.
        self.assertNotIn("pdh.dll", self.modules)
        self.assertEqual(self.app.text("Text5(8)"), "0%")

    def test_the_round_ends_with_a_complete_report_and_the_program_answering(self):
        headers = [line for line in self.report_lines() if line.startswith("######")]
        self.assertEqual(len(headers), 8, headers)
        self.app.assert_alive()
        self.app.assert_answers()


if __name__ == "__main__":
    unittest.main()
