"""The Computer, Arbeitsspeicher, Laufwerke, CPU and Sonstiges panels of the real Velkaro.exe
under Wine: what each shows of what Wine reports, with English and with German number
settings. Each class starts the program once, opens the five panels by mouse and keeps what
they show."""

import os
import unittest

from velkaro_e2e import MAIN, VelkaroCase, program_version

MENUS = {"Computer": ("Label5", "P1(3)"), "Arbeitsspeicher": ("Label6", "P1(4)"),
         "Laufwerke": ("Label7", "P1(5)"), "CPU": ("Label8", "P1(6)"),
         "Sonstiges": ("Label9", "P1(7)")}
MEMORY_FIELDS = [f"Text1({j})" for j in range(52, 58)]
FENNRICK_32 = r"HKLM\Software\Wow6432Node\Fennrick2"  # the 32-bit view of a 64-bit prefix


def host_memory_kb():
    with open("/proc/meminfo") as meminfo:
        for line in meminfo:
            if line.startswith("MemTotal:"):
                return int(line.split()[1])
    raise AssertionError("no MemTotal in /proc/meminfo")


# The field each panel's fill writes last from the management service (Wine delivers them all).
LAST_FROM_SERVICE = {"Computer": "Text1(39)", "CPU": "Text5(6)"}


class PanelChecks:
    """Opens each panel once; `shown[panel]` is {control name: control} after its fill.
    A mixin, so that only the classes with a program run of their own are collected."""

    GROUP = ","
    DECIMAL = "."

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.shown = {}
        for name, (label, panel) in MENUS.items():
            cls.app.click(label)
            cls.app.wait_control(panel, "visible", 10)
            # The window answers while a fill waits for the management service: a panel that
            # asks it is filled once its last field from the service has come.
            if name in LAST_FROM_SERVICE:
                cls.app.wait_control(LAST_FROM_SERVICE[name], "text_not", 30, "N/A")
            assert cls.app.probe.sync(MAIN, 30)["replied"]
            cls.shown[name] = cls.app.controls()

    def field(self, panel, name):
        return self.shown[panel][name]["text"]

    def test_computer_shows_wines_power_supply_and_bios(self):
        text = lambda name: self.field("Computer", name)  # noqa: E731
        self.assertEqual(text("Text1(38)"), "220 V Stromversorgung")
        self.assertEqual(text("Text1(40)"), "Kein Accu gefunden.")
        self.assertEqual(text("Text1(50)"), "0 %")
        zero_hours = f"0{self.DECIMAL}0 Hours"  # Wine's unknown time, -1 s
        self.assertEqual((text("Text1(37)"), text("Text1(49)")), (zero_hours, zero_hours))
        self.assertEqual(text("Text1(41)"), "08.06.2012")
        for row in ("Text1(46)", "Text1(45)", "Text1(44)", "Text1(43)", "Text1(42)", "Text1(39)"):
            self.assertNotIn(text(row), ("", "N/A"), row)
        # Wine delivers no BIOS build number and no product caption: their rows keep "N/A".
        self.assertEqual((text("Text1(51)"), text("Text1(48)")), ("N/A", "N/A"))

    def test_memory_figures_are_the_hosts_in_the_locales_general_format(self):
        figures = [self.field("Arbeitsspeicher", f) for f in MEMORY_FIELDS]
        number = rf"\d+(\{self.DECIMAL}\d+)?"
        for figure in figures:
            self.assertRegex(figure, rf"^{number} KB\.$")
        self.assertRegex(self.field("Arbeitsspeicher", "Text1(58)"), r"^\d{1,3} %$")
        total = float(figures[0][:-4].replace(self.DECIMAL, "."))
        self.assertAlmostEqual(total / host_memory_kb(), 1, delta=0.01)
        # More than 2 GB, and the virtual address space of a 64-bit process, stay positive.
        self.assertGreater(float(figures[2][:-4].replace(self.DECIMAL, ".")), 2**31 / 1024)

    def test_drive_lists_show_c_and_z_with_grouped_kilobytes(self):
        lists = {name: c["items"] for name, c in self.shown["Laufwerke"].items()
                 if name.startswith("List1(")}
        self.assertEqual(len(lists), 9)
        by_drive = {items[0]: items for items in lists.values() if items}
        self.assertIn("DeviceID: C:", by_drive)
        self.assertIn("DeviceID: Z:", by_drive)
        self.assertEqual(lists["List1(0)"][0], "DeviceID: C:")
        grouped = rf"\d{{1,3}}(\{self.GROUP}\d{{3}})*"
        for drive in ("C:", "Z:"):
            items = by_drive[f"DeviceID: {drive}"]
            self.assertEqual(len(items), 5, items)
            self.assertRegex(items[1], r"^FileSystem: \S*$")
            self.assertEqual(items[2], "Description: ")  # Wine delivers none
            self.assertRegex(items[3], rf"^Size \(KB\): {grouped}$")
            self.assertRegex(items[4], rf"^FreeSpace \(KB\): {grouped}$")
        free = int(by_drive["DeviceID: C:"][4].split(": ")[1].replace(self.GROUP, ""))
        disk = os.statvfs(self.app.prefix.unix_path("C:\\"))
        self.assertAlmostEqual(free / (disk.f_bavail * disk.f_frsize / 1024), 1, delta=0.01)

    def test_cpu_shows_the_hosts_processor_count(self):
        text = lambda name: self.field("CPU", name)  # noqa: E731
        self.assertEqual(text("Text5(9)"), str(os.cpu_count()))
        self.assertEqual(text("Text5(10)"), "")  # x64 (8664) is not in the type table
        self.assertNotIn(text("Text5(0)"), ("", "N/A"))
        self.assertRegex(text("Text5(2)"), r"^\d+$")
        self.assertRegex(text("Text5(6)"), r"^\d+    MHz$")
        # Wine has no L2 cache, bus clock or voltage properties: their rows keep "N/A".
        for row in ("Text5(3)", "Text5(4)", "Text5(5)", "Text5(7)"):
            self.assertEqual(text(row), "N/A", row)


class EnglishSettings(PanelChecks, VelkaroCase):
    def test_other_versions_show_the_own_record_and_empty_rows(self):
        self.assertEqual(self.field("Sonstiges", "Text5(13)"), program_version())
        self.assertEqual(self.field("Sonstiges", "Text5(12)"), "")
        self.assertEqual(self.field("Sonstiges", "Text5(11)"), "")


class GermanSettings(PanelChecks, VelkaroCase):
    GROUP = "."
    DECIMAL = ","

    @classmethod
    def prepare(cls, app):
        # Without a German locale on the host, Wine takes LC_ALL but not LANG alone.
        app.probe.setenv("LANG", "de_DE.UTF-8")
        app.probe.setenv("LC_ALL", "de_DE.UTF-8")
        app.reg_set_sz(r"HKCU\SOFTWARE\Korvandt", "Lunavex", "1.4.2")
        app.prefix.reg_add(FENNRICK_32, "VersionNo", "REG_SZ", "2.0 Build 17")

    def test_other_versions_show_the_preset_values_the_32_bit_one_included(self):
        native = self.app.probe.reg_get(r"HKLM\Software\Fennrick2", "VersionNo", "64")
        self.assertFalse(native["found"])
        self.assertEqual(self.field("Sonstiges", "Text5(13)"), program_version())
        self.assertEqual(self.field("Sonstiges", "Text5(12)"), "2.0 Build 17")
        self.assertEqual(self.field("Sonstiges", "Text5(11)"), "1.4.2")


if __name__ == "__main__":
    unittest.main()
