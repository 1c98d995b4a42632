"""Faults met on a real start under Wine. Each class starts the program once with its faults in
place, clicks all nine menu labels, waits for every fill and runs a report with every category
ticked (VelkaroApp.survive_full_round: nothing crashes, nothing hangs, no other message)."""

import os
import re
import subprocess
import sys
import unittest

from test_status_line import SPIN
from velkaro_e2e import INSTALL_DIR, LADE, MENU, VelkaroCase, program_version, wait_for

REPORT = r"C:\SystemInfo.txt"
HEADERS = ["Windows", "Audio / Grafik", "Netzwerk / Internet", "Computer", "Arbeitsspeicher",
           "Laufwerke", "CPU", "Sonstiges"]
HKLM, HKCU = "HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER"
CURRENT = HKLM + r"\SOFTWARE\Microsoft\Windows NT\CurrentVersion"
SYSTEM = HKLM + r"\HARDWARE\DESCRIPTION\System"
CARDS = CURRENT + r"\NetworkCards"
KORVANDT = HKCU + r"\SOFTWARE\Korvandt"
BIG = "x" * 2**20  # 1 MB of text (2 MB as stored)
BIG_BINARY = "hex:39,30" + ",00" * (2**20 - 2)  # 1 MB, its first two bytes 0x3039

# Every value the program reads, made wrong: key, value, .reg data ("-" deletes), the field
# that shows it and what it shows. The network card is the first of cards 0..8 with a
# non-empty description: 0..2 are skipped, 3 shows.
VALUE_FAULTS = [
    (CURRENT, "CSDVersion", "dword:00000003", "Text1(1)", ""),
    (CURRENT, "CurrentBuildNumber", "hex:fe,ff", "Text1(2)", "-2"),
    (CURRENT, "ProductId", "-", "Text1(5)", ""),
    (CURRENT, "RegisteredOwner", f'"{BIG}"', "Text1(6)", BIG),
    (CURRENT, "RegisteredOrganization", '""', "Text1(7)", ""),
    (CURRENT, "CurrentVersion", "hex:05", "Text1(11)", "5"),  # shorter than two bytes
    (CURRENT, "SourcePath", "hex(2):25,00", "Text1(13)", ""),
    (SYSTEM, "VideoBiosDate", "dword:00000001", "Text1(17)", "N/A"),
    (SYSTEM, "VideoBiosVersion", BIG_BINARY, "Text1(26)", "12345"),
    (CARDS + r"\0", "Description", "dword:00000001", "Text1(14)", "42"),
    (CARDS + r"\1", "Description", '""', "Text1(14)", "42"),
    (CARDS + r"\2", "Description", "-", "Text1(14)", "42"),
    (CARDS + r"\3", "Description", "hex:2a,00", "Text1(14)", "42"),
    (KORVANDT, "Velkaro", "dword:00000001", "Text5(13)", program_version()),  # the record is rewritten
    (KORVANDT, "Lunavex", "hex:01,02", "Text5(11)", ""),
    (HKLM + r"\SOFTWARE\Fennrick2", "VersionNo", f'"{BIG}"', "Text5(12)", BIG),
]
# Keys whose subkey names are read: no mail client, a media player key without players.
KEY_FAULTS = [
    (f"-{HKLM}\\Software\\Clients\\Mail", "Text1(36)", ""),
    (f"{HKLM}\\Software\\Clients\\Media", "Text1(18)", "N/A"),
]


def views(key, data):
    """The key, and for a deletion under HKLM\\Software also its 32-bit view: a 64-bit prefix
    holds Wine's defaults there too, and the program looks there for what its own view lacks."""
    head, _, rest = key.partition("\\")
    software, _, below = rest.partition("\\")
    if data != "-" or head.lstrip("-") != HKLM or software.lower() != "software":
        return [key]
    return [key, f"{head}\\{software}\\Wow6432Node\\{below}"]


def fault_import():
    lines = ["REGEDIT4", "", r'[HKEY_CLASSES_ROOT\.html]', '@="htmlfile"', ""]
    lines += [line for key, _, _ in KEY_FAULTS for view in views(key, "-" if key[0] == "-" else "")
              for line in (f"[{view}]", "")]
    for key, name, data, _, _ in VALUE_FAULTS:
        lines += [line for view in views(key, data) for line in (f"[{view}]", f'"{name}"={data}', "")]
    return "\n".join(lines)


def folder_in_the_way(app, windows_path):
    """A folder (with a file inside) where the program writes a file."""
    folder = app.prefix.unix_path(windows_path)
    folder.mkdir()
    (folder / "keep.txt").write_bytes(b"keep")
    return folder


class FaultCase(VelkaroCase):
    def assertFolderKept(self, folder):
        self.assertEqual((folder / "keep.txt").read_bytes(), b"keep")

    def assertSectionsInOrder(self, lines):
        self.assertEqual([line for line in lines if line.startswith("######")],
                         [f"###### {name} ######" for name in HEADERS])


class WrongRegistryNoDiagnosticTool(FaultCase):
    """Every registry value wrong, dxdiag missing, a folder in the browser probe's place; then
    a folder in the report file's place."""

    @classmethod
    def prepare(cls, app):
        app.probe.setenv("WINEDLLOVERRIDES", "mscoree,mshtml=;dxdiag.exe=d")
        app.prefix.reg_import(fault_import())
        cls.probe_folder = folder_in_the_way(app, INSTALL_DIR + r"\test~12345.html")

    wait_splash = True

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.shown = cls.app.survive_full_round()
        cls.lines = cls.app.file_bytes(REPORT).decode("cp1252").split("\r\n")

    def test_each_field_shows_what_its_wrong_value_gives(self):
        values = [(f"{key}\\{name}", field, text) for key, name, _, field, text in VALUE_FAULTS]
        for where, field, text in values + KEY_FAULTS:
            with self.subTest(where):
                self.assertEqual(self.shown[field]["text"], text)
        self.assertEqual(self.app.reg_get(r"HKCU\SOFTWARE\Korvandt", "Velkaro")["type"], "REG_SZ")

    def test_report_holds_the_megabyte_values_in_category_order(self):
        self.assertSectionsInOrder(self.lines)
        self.assertIn("Regestrierter Benutzer:\t\t\t" + BIG, self.lines)
        self.assertIn("Fennrick 2 Version:\t\t\t" + BIG, self.lines)

    def test_no_tool_no_dump_the_splash_hands_over_on_time_and_the_probe_folder_stays(self):
        self.assertHandsOverOnTime()
        self.assertEqual(self.shown["Text1(23)"]["text"], "")  # no DirectX version
        self.assertIsNone(self.app.file_bytes(INSTALL_DIR + r"\dx.txt"))
        self.assertEqual(self.shown["Text1(33)"]["text"], "")  # no browser learnt
        self.assertFolderKept(self.probe_folder)

    def test_report_file_a_folder_gives_its_error_alone(self):
        path = self.app.prefix.unix_path(REPORT)
        path.unlink()  # the earlier report
        path.mkdir()
        try:
            self.app.run_report(re.compile(r"^Die Datei c:\\SystemInfo\.txt konnte nicht "
                                           r"angelegt werden\.\n\n.*\(Fehler \d+\)$", re.S))
        finally:
            path.rmdir()


class NoServiceNoCountersInputDuringReport(FaultCase):
    """No management service (wbemprox=d), no performance library (pdh=d), a folder in the
    dump's place; during the report a double click on it and a click on every menu label."""

    WMI_FIELDS = ["Text1(27)", "Text1(21)", "Text1(20)", "Text1(34)", "Text1(15)", "Text1(42)",
                  "Text1(43)", "Text1(46)", "Text1(39)", "Text5(0)", "Text5(6)", "Text5(9)"]

    @classmethod
    def prepare(cls, app):
        app.probe.setenv("WINEDLLOVERRIDES", "mscoree,mshtml=;wbemprox=d;pdh=d")
        cls.dump_folder = folder_in_the_way(app, INSTALL_DIR + r"\dx.txt")

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.shown = cls.app.survive_full_round(during=cls.click_around, clicks=2)
        cls.lines = cls.app.file_bytes(REPORT).decode("cp1252").split("\r\n")

    @classmethod
    def click_around(cls):
        app = cls.app
        for label, _ in MENU:
            app.click(label)
        cls.lade_after_clicks = app.probe.window(LADE)

    def text(self, name):
        return self.shown[name]["text"]

    def test_windows_panel_says_wmi_is_missing_and_fills_the_rest(self):
        self.assertEqual((self.text("Text1(9)"), self.text("Text1(10)")),
                         ("WMI ist nicht installiert!", "N/A"))
        self.assertEqual(self.text("Text1(0)"), "Unbekannte Version")
        self.assertRegex(self.text("Text1(8)"), r"^.+ \((Administrator|User)\)$")
        self.assertEqual(self.text("Text1(12)").lower(), "c:\\windows\\system32\\")

    def test_fields_of_the_service_keep_their_text_and_the_drive_lists_stay_empty(self):
        for field in self.WMI_FIELDS:
            self.assertEqual(self.text(field), "N/A", field)
        self.assertFalse(any(self.shown[f"List1({i})"].get("items") for i in range(9)))

    def test_processor_load_comes_from_the_processor_times(self):
        pattern = re.compile(r"^(\d+)%$")
        self.assertRegex(self.app.text("Text5(8)"), pattern)
        if 0 not in os.sched_getaffinity(0):
            self.skipTest("the host's first processor is not ours to load")
        spinner = subprocess.Popen([sys.executable, "-c", SPIN, "20"])
        self.addCleanup(spinner.wait)
        self.addCleanup(spinner.kill)
        wait_for(lambda: int(pattern.match(self.app.text("Text5(8)")).group(1)) >= 50, 12, 0.05,
                 "Text5(8) at 50 % or more")

    def test_dump_folder_stays_and_gives_no_directx_version(self):
        self.assertFolderKept(self.dump_folder)
        self.assertEqual(self.text("Text1(23)"), "")

    def test_report_completes_in_category_order_despite_the_clicks(self):
        self.assertIsNotNone(self.lade_after_clicks, "the report ended before the clicks")
        self.assertSectionsInOrder(self.lines)


if __name__ == "__main__":
    unittest.main()
