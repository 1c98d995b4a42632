"""Faults of the platform met by the real 64-bit program. Faults: every registry value wrong, no
diagnostic tool, no management service (wbemprox=d), no performance library (pdh=d), folders
where the dump and the browser's probe document go; during the report a double click on its
button and a click on every menu label. Nothing crashes or hangs, each field shows what its fault
gives, and the report completes. HungService: a management service that hangs (the tests'
stand-in locator, stand_in/wbemprox.dll, in place of Wine's), first at its connection, then at
every query: the window keeps answering, the clock ticks, the panels switch, a report ends within
20 s, closing ends at once, and once the service has stalled the Windows panel says that it does
not answer."""

import re
import shutil
import time

from velkaro_e2e import (DONE, HEADERS, LADE, MAIN, MENU, PROBE_DOCUMENT, REPORT, SPLASH, Scenario,
                         lines_of, program_version)

HKLM, HKCU = "HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER"
CURRENT = HKLM + r"\SOFTWARE\Microsoft\Windows NT\CurrentVersion"
SYSTEM = HKLM + r"\HARDWARE\DESCRIPTION\System"
CARDS = CURRENT + r"\NetworkCards"
BIG = "x" * 2**20  # 1 MB of text (2 MB as stored)
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
    (SYSTEM, "VideoBiosVersion", "hex:39,30" + ",00" * (2**20 - 2), "Text1(26)", "12345"),
    (CARDS + r"\0", "Description", "dword:00000001", "Text1(14)", "42"),
    (CARDS + r"\1", "Description", '""', "Text1(14)", "42"),
    (CARDS + r"\2", "Description", "-", "Text1(14)", "42"),
    (CARDS + r"\3", "Description", "hex:2a,00", "Text1(14)", "42"),
    (HKCU + r"\SOFTWARE\Korvandt", "Velkaro", "dword:00000001", "Text5(13)", program_version()),
    (HKCU + r"\SOFTWARE\Korvandt", "Lunavex", "hex:01,02", "Text5(11)", ""),
    (HKLM + r"\SOFTWARE\Fennrick2", "VersionNo", f'"{BIG}"', "Text5(12)", BIG),
]
# Keys whose subkey names are read: no mail client, a media player key without players.
KEY_FAULTS = [(f"-{HKLM}\\Software\\Clients\\Mail", "Text1(36)", ""),
              (f"{HKLM}\\Software\\Clients\\Media", "Text1(18)", "N/A")]
# Fields of the management service, which is missing: they keep their design text.
WMI_FIELDS = [f"Text1({i})" for i in (10, 27, 21, 20, 34, 15, 42, 43, 46, 39)] + \
             [f"Text5({i})" for i in (0, 6, 9)]


def views(key, data):
    """The key, and for a deletion under HKLM\\Software its 32-bit view too: a 64-bit prefix holds
    Wine's defaults there as well, and the program looks there for what its own view lacks."""
    twin = re.sub(r"(?i)^(-?HKEY_LOCAL_MACHINE\\SOFTWARE)\\", r"\1\\Wow6432Node\\", key)
    return [key, twin] if data == "-" and twin != key else [key]


def fault_import():
    lines = ["REGEDIT4", r"[HKEY_CLASSES_ROOT\.html]", '@="htmlfile"']
    lines += [f"[{v}]" for key, _, _ in KEY_FAULTS for v in views(key, "-" * key.startswith("-"))]
    for key, name, data, _, _ in VALUE_FAULTS:
        lines += [line for v in views(key, data) for line in (f"[{v}]", f'"{name}"={data}')]
    return "\n".join(lines) + "\n"


class Faults(Scenario):
    def test_faults(self):
        app = self.new_app()
        app.prefix.reg_import(fault_import())
        folders = [app.unix_path(path) for path in (r"C:\Velkaro\dx.txt", PROBE_DOCUMENT)]
        for folder in folders:  # a folder, with a file inside, where the program writes a file
            folder.mkdir()
            (folder / "keep.txt").write_bytes(b"keep")
        app.start("dxdiag.exe=d;wbemprox=d;pdh=d")
        splash, main = app.wait_start()
        clicked = []

        def click_around():
            controls = app.controls()
            for point in [app.point_on(entry.label, controls) for entry in MENU]:
                app.click(None, at=point)
            clicked.append(app.window(LADE))

        shown = app.run_report(during=click_around, clicks=2)["controls"]
        text = {name: c["text"] for name, c in shown.items()}
        lines = lines_of(app.file_bytes(REPORT))
        with self.subTest("the splash hands over on time"):
            self.assertHandsOver(splash, main)
        with self.subTest("each field shows what its wrong value gives"):
            for key, name, _, field, value in VALUE_FAULTS:
                self.assertEqual(text[field], value, f"{key}\\{name}")
            for key, field, value in KEY_FAULTS:
                self.assertEqual(text[field], value, key)
            self.assertEqual(app.prefix.reg(r"HKCU\SOFTWARE\Korvandt", "Velkaro"),
                             ("REG_SZ", program_version()))
        with self.subTest("the report completes in category order despite the clicks"):
            self.assertTrue(clicked and clicked[0], "the report ended before the clicks")
            self.assertEqual([line for line in lines if line.startswith("######")], HEADERS)
            self.assertIn("Regestrierter Benutzer:\t\t\t" + BIG, lines)
            self.assertIn("Fennrick 2 Version:\t\t\t" + BIG, lines)
        with self.subTest("no management service: the Windows panel says so, its fields N/A"):
            self.assertEqual(text["Text1(9)"], "WMI ist nicht installiert!")
            self.assertRegex(text["Text1(8)"], r"^.+ \((Administrator|User)\)$")  # filled on
            self.assertEqual([text[f] for f in WMI_FIELDS], ["N/A"] * len(WMI_FIELDS))
            self.assertEqual([shown[f"List1({i})"]["items"] for i in range(9)], [[]] * 9)
        with self.subTest("no dump, no probe document: empty fields, the folders stay"):
            self.assertEqual([text["Text1(23)"], text["Text1(33)"]], ["", ""])
            for folder in folders:
                self.assertEqual((folder / "keep.txt").read_bytes(), b"keep")
        with self.subTest("the processor load comes from the processor times"):
            self.assertLoadRises()
        with self.subTest("WM_CLOSE at idle, as Alt+F4 or the taskbar sends it, ends it at once"):
            self.assertEqual(app.close_by_message(2)["exit_code"], 0)


class HungService(Scenario):
    def answering(self, seconds):
        """Asks the splash or main window to take a message again and again for `seconds`: each
        must within 1 s. The number of asks."""
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
        with self.subTest("WM_CLOSE ends the program at once, the fill waiting on the hung call"):
            self.assertEqual(app.close_by_message(1.5)["exit_code"], 0)

        app.start("wbemprox=n", {"VELKARO_STALL_WMI": "query"})  # connects, every query hangs
        app.wait_main()
        app.wait_control("Text1(9)", "text", 10, "WMI ist installiert!")
        app.show(MENU[-1])
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
        with self.subTest("the stall is told: the Windows panel says WMI does not answer"):
            app.click("Label2")
            app.wait_control("Text1(9)", "text", 2, "WMI antwortet nicht!")
        with self.subTest("the close button ends it at once, the stalled query still hanging"):
            self.assertEqual(app.close_by_mouse(1.5)["exit_code"], 0)
