"""The report "Daten Auswerten" of the real Velkaro.exe under Wine: the file C:\\SystemInfo.txt
byte for byte against the fields the program shows, the wait window, the closing message, the
choice of categories, failures of the file and the program closed during a run."""

import os
import re
import unittest

from velkaro_e2e import LADE, MESSAGE_BOX, VelkaroCase, wait_for

REPORT = r"C:\SystemInfo.txt"
DONE = "Alle Daten Ausgewertet!"
PANEL_BLUE, GREY = (101, 150, 209), (128, 128, 128)

# Check box, header, captions, TAB counts, value fields ("1 0" is Text1(0), "5 3" Text5(3)).
SECTIONS = [
    (1, "Windows", "Betriebsystem:|Betriebsystem Version:|Service Pack:|Bulid:|Windows Laufzeit:|"
     "Produkt ID|Regestrierter Benutzer:|Regestrierte Organisation:|Angemeldeter User:|"
     "WMI Installiert:|WMI Version:|Windows Path:|Windows System Path:|Source Path:",
     "43353432334434", "1 0|1 11|1 1|1 2|1 4|1 5|1 6|1 7|1 8|1 9|1 10|1 3|1 12|1 13"),
    (2, "Audio / Grafik", "Grafik:|Grafikkarten Bios-Datum:|Grafikkarten Bios-Version:|"
     "Bildschirm Auflösung:|Farbauflösung:|Direct X Version:|Soundkarte:|DeviceID:|"
     "PNPDeviceID:|MPU401Adresse:|Media Client:",
     "52234344444", "1 27|1 17|1 26|1 25|1 24|1 23|1 22|1 21|1 20|1 19|1 18"),
    (3, "Netzwerk / Internet", "Netzwerkkarte:|MAC Adresse:|IP Adresse:|SubNet-Mask:|"
     "Default Gateway:|WINS Server:|COM1:|COM2:|COM3:|LPT1:|Internet-Browser:|E-Mail Client:",
     "444434555534", "1 14|1 34|1 15|1 16|1 28|1 29|1 30|1 31|1 35|1 32|1 33|1 36"),
    (4, "Computer", "Computer System Produkt:|Name:|Version:|Mainboard:|Mainboard Version:|"
     "Seriennummer:|Bios Name:|Bios Version:|Bios Release Date:|Bios Bulidnummer:|"
     "Power Status:|Battery Status:|Battery Power Gesammt:|Battery Power Verbleibend:|"
     "Battery Power in Prozent:",
     "254434443344322",
     "1 48|1 39|1 47|1 46|1 45|1 44|1 43|1 42|1 41|1 51|1 38|1 40|1 37|1 49|1 50"),
    (5, "Arbeitsspeicher", "Gesammter Arbeitsspeicher:|Freier Arbeitsspeicher:|"
     "Gesammter Virtueller Speicher:|Freier Virtueller Speicher:|"
     "Max. größe der Auslagerungsdatei:|Free größe der Auslagerungsdatei:|"
     "Prozent des belegten Speicher:", "2322112", "1 52|1 53|1 54|1 55|1 56|1 57|1 58"),
    (6, "Laufwerke", None, None, None),
    (7, "CPU", "Processor Name:|Processoer Modell:|Processoer Revision:|Processor L2 Cache:|"
     "Processor L2 Speed:|Processor FSB:|Processor MHz:|Voltage Caps:|Processor Usage:|"
     "Processor Anzahl:|Processor Type:",
     "43333444334", "5 0|5 1|5 2|5 3|5 4|5 5|5 6|5 7|5 8|5 9|5 10"),
    (8, "Sonstiges", "Lunavex Version:|Fennrick 2 Version:|Velkaro Version:", "232",
     "5 11|5 12|5 13"),
]
# Fields the status line rewrites four times a second: the file holds an earlier value.
LIVE = {"Text1(4)", "Text5(8)"} | {f"Text1({j})" for j in range(52, 59)}
DRIVE_TABS = [("DeviceID: ", 4), ("FileSystem: ", 4), ("Description: ", 4), ("Size (KB): ", 4),
              ("FreeSpace (KB): ", 3)]


def field_name(code):
    array, index = code.split()
    return f"Text{array}({index})"


def drive_lines(controls):
    """The drive section's lines after the header, from the drive lists the program shows."""
    lines = [""]
    for i in range(9):
        items = controls[f"List1({i})"].get("items") or []
        for item in items:
            caption, tabs = next((c, t) for c, t in DRIVE_TABS if item.startswith(c))
            lines.append(caption + "\t" * tabs + item[len(caption):])
        if items:
            lines.append("")
    return lines


def expected_lines(controls, checks):
    """[(line, live)] of the report for the ticked check boxes, from the fields read back."""
    out = []
    for check, name, captions, tabs, fields in SECTIONS:
        if check not in checks:
            continue
        out += [("", False), (f"###### {name} ######", False)]
        if captions is None:
            out += [(line, False) for line in drive_lines(controls)]
            continue
        for caption, count, code in zip(captions.split("|"), tabs, fields.split("|")):
            field = field_name(code)
            prefix = caption + "\t" * int(count)
            out.append((prefix if field in LIVE else prefix + controls[field]["text"],
                        field in LIVE))
    return out


class ReportCase(VelkaroCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.app.click("Label10")
        cls.app.wait_control("P1(8)", "visible", 10)

    def tick(self, checks):
        for n in range(1, 9):
            want = 1 if n in checks else 0
            if self.app.control(f"Check{n}")["check"] != want:
                self.app.click(f"Check{n}")
                wait_for(lambda: self.app.control(f"Check{n}")["check"] == want, 5,
                         what=f"Check{n} = {want}")

    def report_lines(self):
        data = self.app.file_bytes(REPORT)
        self.assertIsNotNone(data, "no report file")
        self.assertFalse(data.startswith(b"\xef\xbb\xbf"), "byte-order mark")
        text = data.decode("cp1252")
        self.assertEqual(text.count("\n"), text.count("\r\n"), "a line end that is not CR LF")
        self.assertTrue(text.endswith("\r\n"))
        return text.split("\r\n")[:-1]

    def assertLinesMatch(self, lines, expected):
        self.assertEqual(len(lines), len(expected), lines)
        for number, (line, (want, live)) in enumerate(zip(lines, expected), 1):
            with self.subTest(line=number):
                if live:
                    self.assertRegex(line, "^" + re.escape(want) + "[^\t]+$")
                else:
                    self.assertEqual(line, want)


class ReportOfAllCategories(ReportCase):
    """One run with all eight categories ticked over an earlier, longer report; during the
    run the user brings the report panel up and clicks "Daten Auswerten" again."""

    @classmethod
    def prepare(cls, app):
        app.prefix.unix_path(REPORT).write_bytes(b"an earlier report\r\n" * 500)

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        app = cls.app
        # Taken before the run: the report panel shows only until the current pause ends.
        button = app.point_on("Image17")
        start = app.probe.now()
        app.mouse.click(*button)
        cls.lade = app.probe.wait_window(LADE, "visible", 10)
        # A second click on the button during the run: the report panel brought up while the
        # Audio / Grafik section fills and pauses (its queries give the click time to land).
        app.wait_control("P1(1)", "visible", 20)
        app.click("Label10")
        app.wait_control("P1(8)", "visible", 5)
        app.mouse.click(*button)
        cls.lade_look = app.grab(cls.lade["window"]["client"])
        cls.box = app.wait_message_box(60)
        cls.seconds = (cls.box["t"] - start) / 1000
        cls.lade_at_box = app.probe.window(LADE)
        app.press_ok()
        cls.controls = app.controls()

    def test_wait_window_shows_centred_without_title_and_goes_before_the_message(self):
        self.assertTrue(self.lade["met"])
        window = self.lade["window"]
        self.assertEqual(window["title"], "")
        left, top, right, bottom = window["rect"]
        self.assertLess(window["client"][1] - top, 8, "a title bar above the text")
        self.assertLessEqual(abs((left + right) / 2 - 640), 1)
        self.assertLessEqual(abs((top + bottom) / 2 - 512), 1)
        self.assertLess(right - left, 400)
        colours = self.lade_look.colours()
        self.assertGreater(colours.get(PANEL_BLUE, 0), len(self.lade_look.pixels()) // 2)
        self.assertGreater(colours.get(GREY, 0), 0, "no grey shadow text")
        self.assertIsNone(self.lade_at_box)

    def test_message_box_says_all_data_is_done_under_the_program_title(self):
        self.assertEqual((self.box["title"], self.box["text"]), ("Velkaro 3.0", DONE))
        self.assertTrue(self.app.running())
        self.assertIsNone(self.app.probe.window(MESSAGE_BOX))

    def test_file_holds_every_section_with_the_fields_the_program_shows(self):
        self.assertLinesMatch(self.report_lines(), expected_lines(self.controls, range(1, 9)))

    def test_file_is_ansi_and_replaces_the_earlier_report(self):
        data = self.app.file_bytes(REPORT)
        self.assertIn(b"Bildschirm Aufl\xf6sung:\t\t\t", data)
        self.assertIn(b"Max. gr\xf6\xdfe der Auslagerungsdatei:\t", data)
        self.assertNotIn("ö".encode("utf-8"), data)
        self.assertNotIn(b"an earlier report", data)
        self.assertTrue(data.startswith(b"\r\n###### Windows ######\r\nBetriebsystem:\t\t\t\t"))

    def test_run_takes_the_eight_pauses_and_ends_on_the_report_panel(self):
        self.assertGreaterEqual(self.seconds, 7.2)
        visible = [f"P1({i})" for i in range(9) if self.controls[f"P1({i})"]["visible"]]
        self.assertEqual(visible, ["P1(8)"])
        self.assertEqual([self.controls[f"Check{n}"]["check"] for n in range(1, 9)], [1] * 8)


class ReportChoicesAndFailures(ReportCase):
    """Runs with one category, with none, and against a report path that cannot be written."""

    def run_report(self, checks):
        self.tick(checks)
        self.app.click("Image17")
        box = self.app.wait_message_box(30)
        self.assertIsNone(self.app.probe.window(LADE), "the wait window is still there")
        self.app.press_ok()
        self.assertTrue(self.app.running())
        return box

    def test_only_windows_gives_sixteen_lines(self):
        box = self.run_report({1})
        self.assertEqual(box["text"], DONE)
        lines = self.report_lines()
        self.assertEqual(len(lines), 16)
        self.assertLinesMatch(lines, expected_lines(self.app.controls(), {1}))

    def test_nothing_ticked_gives_an_empty_file_and_the_message(self):
        box = self.run_report(set())
        self.assertEqual(box["text"], DONE)
        self.assertEqual(self.app.file_bytes(REPORT), b"")
        self.assertTrue(self.app.control("P1(8)")["visible"])

    def versions_left(self):
        """New versions of the report left beside it."""
        return sorted(p.name for p in self.app.prefix.drive_c.glob("SystemInfo.txt.*.tmp"))

    def test_a_folder_of_the_report_name_gives_an_error_and_stays(self):
        path = self.app.prefix.unix_path(REPORT)
        if path.is_file():
            path.unlink()
        path.mkdir()
        self.addCleanup(path.rmdir)
        box = self.run_report({1})
        self.assertEqual(box["title"], "Velkaro 3.0")
        self.assertRegex(box["text"], r"^Die Datei c:\\SystemInfo\.txt konnte nicht angelegt "
                         r"werden\.\n\n.+ \(Fehler 5\)$")
        self.assertTrue(path.is_dir())
        self.assertEqual(self.versions_left(), [])
        # Pressing OK ended the run: no success message follows.
        self.app.click("Label2")
        self.app.wait_control("P1(0)", "visible", 10)
        self.assertIsNone(self.app.probe.window(MESSAGE_BOX))
        self.app.click("Label10")
        self.app.wait_control("P1(8)", "visible", 10)

    def test_a_link_in_the_reports_place_is_replaced_not_followed(self):
        path = self.app.prefix.unix_path(REPORT)
        target = self.app.prefix.path / "elsewhere.txt"
        target.write_bytes(b"not the report's")
        if os.path.lexists(path):
            path.unlink()
        path.symlink_to(target)
        self.assertEqual(self.run_report({1})["text"], DONE)
        self.assertFalse(path.is_symlink())
        self.assertEqual(len(self.report_lines()), 16)
        self.assertEqual(target.read_bytes(), b"not the report's")
        self.assertEqual(self.versions_left(), [])


class FullDisk(ReportCase):
    """Writing fails part way (the program may write files of at most 1 KB): the earlier report
    stays as it was, byte for byte, and nothing of the new one is left."""

    EARLIER = "###### Windows ######\r\nBetriebsystem:\t\t\t\tWindows 2000\r\n".encode("cp1252")

    @classmethod
    def prepare(cls, app):
        app.probe.limit_file_size(1024)
        app.prefix.unix_path(REPORT).write_bytes(cls.EARLIER)

    def test_the_earlier_report_stays_and_the_error_names_the_file(self):
        box = self.app.run_report(re.compile(r"^Die Datei c:\\SystemInfo\.txt konnte nicht "
                                             r"geschrieben werden\.\n\n.*\(Fehler \d+\)$", re.S))
        self.assertEqual(box["title"], "Velkaro 3.0")
        self.assertEqual(self.app.file_bytes(REPORT), self.EARLIER)
        self.assertEqual(list(self.app.prefix.drive_c.glob("SystemInfo.txt.*.tmp")), [])


class ClosedDuringARun(ReportCase):
    """The user closes the main window while a report is being written."""

    @classmethod
    def prepare(cls, app):
        app.prefix.unix_path(REPORT).write_bytes(FullDisk.EARLIER)

    def test_program_ends_cleanly_and_keeps_the_earlier_report(self):
        self.app.click("Image17")
        self.assertTrue(self.app.probe.wait_window(LADE, "visible", 10)["met"])
        self.app.hover("Image1")
        self.app.wait_control("Image2", "visible", 5)
        self.app.click("Image2")
        ended = self.app.wait_exit(5)
        self.assertTrue(ended["exited"], "the program still runs 5 s after the click")
        self.assertEqual(ended["exit_code"], 0)
        self.assertEqual(self.app.file_bytes(REPORT), FullDisk.EARLIER)
        self.assertEqual(list(self.app.prefix.drive_c.glob("SystemInfo.txt.*.tmp")), [])
        self.assertIsNone(self.app.probe.window(MESSAGE_BOX))


if __name__ == "__main__":
    unittest.main()
