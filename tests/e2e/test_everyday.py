"""Everyday use of the 64-bit program under German settings in one prefix with presets: the first
start, the window under the mouse, the status line, every panel against what Wine reports, a
report of everything byte for byte and the report's failures, the tools, the close button; then a
second start at 144 dpi on a full disk with a huge dump, closed during a report; a third whose
Windows session ends during a report."""

import datetime
import os
import pwd
import re
from concurrent.futures import ThreadPoolExecutor
from pathlib import Path

from velkaro_e2e import (BOX, CURRENT, DRIVE_LINES, LADE, MAIN, MENU, PROBE_DOCUMENT, REPO, REPORT,
                         SPLASH, TITLE, Scenario, colours, program_version, size, wait_for)

DIRECTX = '    DirectX Version: = "DirectX 9.0c (4.09.0000.0904)'  # as Wine's dxdiag writes it
DATE_TIME = re.compile(r"(\d\d)\.(\d\d)\.(\d{4})  \|  (\d\d):(\d\d):(\d\d)")
# What the panels show of the presets and of what Wine and the host give: the owner (HKLM), the
# versions (HKCU, the 32-bit view), the video BIOS, the dump, the screen, German numbers.
SHOWN = {
    "Text1(6)": "Erika Mustermann", "Text1(7)": "Korvandt Werkstatt GmbH", "Text5(11)": "1.4.2",
    "Text5(12)": "2.0 Build 17", "Text1(17)": "04/17/03", "Text1(26)": "Erste Zeile",
    "Text1(23)": DIRECTX.split(":", 1)[1], "Text1(25)": "1280 x 1024", "Text1(37)": "0,0 Hours",
    "Text1(9)": "WMI ist installiert!", "Text1(41)": "08.06.2012", "Text5(9)": str(os.cpu_count()),
    "Text1(33)": "Unbekannter Browser", "Text1(36)": "Native Mail Client", "Text1(11)": "6.1"}
# Fields that show a property of a management class, by class; the adapters' IPEnabled chooses
# the objects the program asks for. The service's identification (the WMI version) lies in
# root\default, which Wine's wmic cannot name; it asks root\cimv2: Wine has the class in neither.
ADAPTERS = "Win32_NetworkAdapterConfiguration"
WMIC = {"Win32_VideoController": {"VideoProcessor": "Text1(27)"},
        "Win32_SoundDevice": {"DeviceID": "Text1(21)", "PNPDeviceID": "Text1(20)"},
        "Win32_BIOS": {"Description": "Text1(42)", "Version": "Text1(43)"},
        "Win32_Processor": {"Name": "Text5(0)", "Revision": "Text5(2)",
                            "MaxClockSpeed": "Text5(6)"},
        ADAPTERS: {"MACAddress": "Text1(34)", "IPAddress": "Text1(15)", "IPSubnet": "Text1(16)",
                   "DefaultIPGateway": "Text1(28)", "WINSPrimaryServer": "Text1(29)",
                   "IPEnabled": None},
        "Win32_BaseBoard": {"Product": "Text1(46)", "Version": "Text1(45)",
                            "SerialNumber": "Text1(44)"},
        "Win32_ComputerSystemProduct": {"Caption": "Text1(48)", "Name": "Text1(39)",
                                        "Version": "Text1(47)"},
        "__cimomidentification": {"versionusedtocreatedb": "Text1(10)"}}
# The control table's places in twips, {name: (container, left, top, width, height)}, but the
# combo box's (kind 6), which sizes itself.
TABLE = {m[0]: (m[1], *map(int, m[2:])) for m in re.findall(
    r"^(\S+) kind (?!6 )\d+ in (\S+) at (\d+),(\d+) size (\d+)x(\d+) ",
    (REPO / "tests" / "data" / "controls.golden").read_text("utf-8"), re.M)}
RED, MENU_IDLE, PANEL_BLUE, GREY = (255, 0, 0), (224, 224, 224), (101, 150, 209), (128, 128, 128)
FAILED = r"^Die Datei c:\\SystemInfo\.txt konnte nicht {} werden\.\n\n.+ \(Fehler \d+\)$"


class EverydayUse(Scenario):
    def test_everyday_use(self):
        app = self.app = self.new_app()
        app.prefix.reg_import((Path(__file__).parent / "data" / "everyday.reg").read_text())
        app.unix_path(r"C:\Velkaro\dx.txt").write_bytes(f"Info\r\n{DIRECTX}\r\n".encode())
        app.unix_path(REPORT).write_bytes(b"an earlier report\r\n" * 500)
        app.unix_path(PROBE_DOCUMENT).write_bytes(b"left from before")
        # Without a German locale on the host, Wine takes LC_ALL but not LANG alone.
        app.start("dxdiag.exe=d", {"LANG": "de_DE.UTF-8", "LC_ALL": "de_DE.UTF-8"})
        self.first_start(*app.wait_start())
        self.menu_and_mouse()
        self.panels(self.report_of_everything())
        self.report_choices_and_failures()
        self.tools_drag_and_close()
        self.full_disk()
        self.session_end()

    def geometry(self, splash, main, dpi):
        """The splash (400 x 300 at 96 dpi), 3 s before the main window (its client 809 x 387),
        both centred, and each control where the control table puts it, all scaled to the dpi."""
        app, px = self.app, lambda twips: (twips * dpi + 720) // 1440  # as TwipsToPixels rounds
        with self.subTest(f"{dpi} dpi: the splash, centred, 3 s before the main window"):
            self.assertEqual(app.probe.hello["dpi"], dpi)
            self.assertEqual(size(splash["window"]["rect"]), (px(6000), px(4500)))
            self.assertEqual(splash["window"]["client"], splash["window"]["rect"])
            self.assertCentred(splash["window"]["rect"])
            self.assertHandsOver(splash, main)
            self.assertIsNone(app.window(SPLASH))
        with self.subTest(f"{dpi} dpi: the main window, centred, its controls, the Windows panel"):
            self.assertEqual(main["window"]["text"], TITLE)
            self.assertEqual(size(main["window"]["client"]), (px(12135), px(5805)))
            self.assertCentred(main["window"]["rect"])
            rects = {"Form1": main["window"]["client"], **{n: c["rect"] for n, c in
                                                            app.controls().items()}}
            self.assertEqual({n: [a - b for a, b in zip(rects[n], rects[p][:2] * 2)]
                              for n, (p, *_) in TABLE.items()},  # in its container
                             {n: [px(x), px(y), px(x + w), px(y + h)]
                              for n, (_, x, y, w, h) in TABLE.items()})
            self.assertEqual(app.visible_panels(), ["P1(0)"])

    def first_start(self, splash, main):
        app = self.app
        self.geometry(splash, main, 96)
        with self.subTest("the registry record"):
            self.assertRecord()
        with self.subTest("date and time change each second and show the host's local time"):
            first = wait_for(lambda: DATE_TIME.fullmatch(app.text("uhrdate")), 5, "a time")
            shown = app.wait_control("uhrdate", "text_not", 1.5, first.group(0))["text"]
            d, mo, y, h, mi, s = map(int, DATE_TIME.fullmatch(shown).groups())
            late = datetime.datetime.now() - datetime.datetime(y, mo, d, h, mi, s)
            self.assertLess(abs(late.total_seconds()), 2.5)
        with self.subTest("the processor load rises while the first processor is busy"):
            self.assertLoadRises()

    def menu_and_mouse(self):
        app = self.app
        with self.subTest("each menu label shows only its panel"):
            for entry in reversed(MENU):  # right to left: each click changes the panel
                app.show(entry)
                self.assertEqual(app.visible_panels(), [entry.panel])
        with self.subTest("the first browser look-up, over a probe document left from before"):
            app.wait_control("Text1(33)", "text", 10, SHOWN["Text1(33)"])
        with self.subTest("hover turns only the label under the mouse red, the one left grey"):
            def looks():
                screen = app.grab()
                return [(label, RED in look, MENU_IDLE in look or label == "Label9")
                        for label in (entry.label for entry in MENU)
                        for look in [colours(screen.crop(app.window(MAIN, label)["rect"]))]]

            app.hover("Label9")  # from Label2, under the mouse since its click
            wait_for(lambda: looks() == [(entry.label, entry.label == "Label9", True)
                                         for entry in MENU], 5, "only Sonstiges red")

    def report_of_everything(self):
        """A report with every category ticked over an earlier, longer one."""
        app = self.app
        app.show(MENU[-1])
        app.click("Image17")
        lade = app.wait_window(LADE, "visible", 10)
        with self.subTest("the wait window: centred, no title, blue with grey text"):
            window = lade["window"]
            self.assertEqual(window["text"], "")
            self.assertLess(window["client"][1] - window["rect"][1], 8, "a title bar")
            self.assertCentred(window["rect"])
            look = wait_for(lambda: GREY in (c := colours(app.grab(window["client"]))) and c, 5,
                            "the wait window's grey text")
            self.assertGreater(look.get(PANEL_BLUE, 0), sum(look.values()) // 2)
        box = app.wait_message_box(60)
        lade_at_box = app.window(LADE)
        app.press_ok()
        shown = app.controls()
        app.show(MENU[0])
        with self.subTest("the message after the wait window and the eight pauses, once"):
            self.assertEqual((box["title"], box["text"]), (TITLE, "Alle Daten Ausgewertet!"))
            self.assertIsNone(lade_at_box)
            self.assertGreaterEqual(box["t"] - lade["t"], 7000)
            self.assertIsNone(app.window(BOX), "a second message")
        with self.subTest("the file: every section with the fields shown, in ANSI"):
            self.assertReport(shown)  # read as Windows-1252: "Auflösung", "größe" and more
        return shown

    def panels(self, shown):
        """What the fills showed, as the report's run left them, against Wine and the presets."""
        app, text = self.app, {name: c["text"] for name, c in shown.items()}
        with self.subTest("Wine's answers, the presets, the user, the program's version"):
            want = {**SHOWN, "Text1(8)": f"{pwd.getpwuid(os.getuid()).pw_name} (Administrator)",
                    "Text5(13)": program_version(), **{f"Text1({i})": app.prefix.reg(CURRENT, n)[1]
                    for i, n in [(1, "CSDVersion"), (2, "CurrentBuildNumber"), (5, "ProductId")]}}
            self.assertEqual({name: text[name] for name in want}, want)
            # The 64-bit view lacks Fennrick 2: the program found it in the 32-bit view.
            self.assertIsNone(app.prefix.reg(r"HKLM\Software\Fennrick2", "VersionNo"))
            self.assertIsNone(app.file_bytes(PROBE_DOCUMENT))
        with self.subTest("the management service's values as Wine's wmic lists them"):
            asked = [(cls, prop) for cls, props in WMIC.items() for prop in props]
            with ThreadPoolExecutor(4) as pool:
                got = dict(zip(asked, pool.map(self.wmic, *zip(*asked))))
            # The program asks for the adapters with IP on: Wine has IP on for each adapter.
            self.assertEqual(set(got.pop((ADAPTERS, "IPEnabled"))), {"-1"})
            # A fill shows the last object's value that is set; a field without one keeps "N/A".
            want = {WMIC[cls][prop]: ([v for v in values if v is not None] or ["N/A"])[-1]
                    for (cls, prop), values in got.items()}
            want["Text5(6)"] += "    MHz"
            self.assertEqual({name: text[name] for name in want}, want)
        with self.subTest("Arbeitsspeicher: the host's memory, a 64-bit process's address space"):
            figures = [int(re.fullmatch(r"(\d+)(,\d+)? KB\.", text[f"Text1({j})"])[1])
                       for j in range(52, 58)]  # the German general number format
            with open("/proc/meminfo") as meminfo:
                total = int(re.search(r"MemTotal:\s+(\d+)", meminfo.read())[1])
            self.assertAlmostEqual(figures[0] / total, 1, delta=0.01)
            self.assertGreater(figures[2], 2**31 / 1024)
            self.assertLessEqual(figures[3], figures[2])  # the free part of the address space
        with self.subTest("Laufwerke: each drive and its size as Wine lists them"):
            disks = zip(*(self.wmic("Win32_LogicalDisk", prop) for prop in ("DeviceID", "Size")))
            lists = [items for items in (shown[f"List1({i})"]["items"] for i in range(9)) if items]
            self.assertEqual({len(items) for items in lists}, {len(DRIVE_LINES)})  # emptied first
            self.assertEqual([items[0] + items[3] for items in lists],  # grouped the German way
                             [f"DeviceID: {d}Size (KB): {int(size) // 1024:,}".replace(",", ".")
                              for d, size in disks])

    def wmic(self, cls, prop):
        """The property of each object as Wine's wmic lists it (an array as its items joined by
        spaces, a null as None); [] when the query fails (exit status 255): Wine's provider lacks
        the class or the property."""
        try:
            out = self.app.prefix.run("wmic", "path", cls, "get", prop).decode("utf-16")
        except RuntimeError as e:
            if "failed (255)" in str(e):
                return []
            raise
        return [" ".join(re.findall(r'"([^"]*)"', v)) if v.startswith("{") else v or None
                for v in (row.strip() for row in out.splitlines()[1:])]

    def report_choices_and_failures(self):
        """Nothing ticked, a folder and then a link in the report's place, only Windows ticked:
        the link's report, 16 lines, is the earlier report of the full disk."""
        app, path = self.app, self.app.unix_path(REPORT)
        with self.subTest("nothing ticked: an empty file"):
            app.tick(set())
            app.run_report()
            self.assertEqual(app.file_bytes(REPORT), b"")
        with self.subTest("a folder in the report's place: its error, and it stays"):
            app.tick({1})
            path.unlink()
            path.mkdir()
            app.run_report(re.compile(FAILED.format("angelegt")))
            self.assertTrue(path.is_dir())
            self.assertEqual(app.temp_files(), [])
            path.rmdir()
        with self.subTest("only Windows ticked, over a link: the link replaced, not followed"):
            target = app.prefix.path / "elsewhere.txt"
            target.write_bytes(b"not the report's")
            path.symlink_to(target)
            self.assertReport(app.run_report()["controls"], {1})
            self.assertFalse(path.is_symlink())
            self.assertEqual(target.read_bytes(), b"not the report's")
            self.assertEqual(app.temp_files(), [])

    def tools_drag_and_close(self):
        """Only the launchers of the tools: the power actions and the memory release never run."""
        app, panel = self.app, "Shell_Control_WndClass"  # Wine's control panel
        with self.subTest("Systempanel opens the control panel, and the window answers"):
            app.show(MENU[0])
            app.click("Image8")
            app.wait_window(panel, "visible", 20)
            app.probe("close", panel)
            self.assertTrue(app.sync(5)["replied"])
            app.wait_window(panel, "gone", 20)
        left, top, right, bottom = app.window(MAIN)["rect"]
        with self.subTest("a right-button drag on the strip leaves the window where it is"):
            app.drag("Image10", 80, 60, button=3)
            app.show(MENU[2])  # input is handled in order: the drag is over
            self.assertEqual(app.window(MAIN)["rect"], [left, top, right, bottom])
        with self.subTest("a left-button drag on the strip moves the window with the mouse"):
            app.drag("Image10", -70, 50)
            moved = [left - 70, top + 50, right - 70, bottom + 50]
            wait_for(lambda: app.window(MAIN)["rect"] == moved, 5, "the window moved")
        with self.subTest("the close button lights up under the mouse and ends the program"):
            self.assertEqual(app.close_by_mouse(2)["exit_code"], 0)

    def full_disk(self):
        """A second start with files of at most 1 KB, as on a full disk (RLIMIT_FSIZE), and an old
        dump of 24 MB of binary data without a line end."""
        app = self.app
        earlier = app.file_bytes(REPORT)
        block = bytes(range(256)).replace(b"\r", b"").replace(b"\n", b"")
        app.unix_path(r"C:\Velkaro\dx.txt").write_bytes(block * (24 * 2**20 // len(block)) +
                                                       b"\r\n    DirectX Version: not read\r\n")
        app.prefix.run("reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t",
                       "REG_DWORD", "/d", "144", "/f")  # 150 %: Wine's dpi for new processes
        app.start("dxdiag.exe=d", file_limit=1024)
        self.geometry(*app.wait_start(), 144)  # the huge dump too: the splash hands over on time
        with self.subTest("the report fails, names the file and keeps the earlier one"):
            app.run_report(re.compile(FAILED.format("geschrieben")))
            self.assertEqual(app.file_bytes(REPORT), earlier)
            self.assertEqual(app.temp_files(), [])
        with self.subTest("closed during a report: it ends and keeps the earlier report"):
            app.show(MENU[-1])
            app.click("Image17")
            app.wait_window(LADE, "visible", 10)
            self.assertEqual(app.close_by_mouse(5)["exit_code"], 0)
            self.assertEqual(app.file_bytes(REPORT), earlier)
            self.assertEqual(app.temp_files(), [])
            self.assertIsNone(app.window(BOX))

    def session_end(self):
        """Wine's `wineboot --end-session` sends WM_QUERYENDSESSION and WM_ENDSESSION to every
        window of the program and ends its process as soon as they are answered, as Windows may:
        what the window has not cleaned up by then stays behind."""
        app = self.app
        earlier = app.file_bytes(REPORT)
        app.start("dxdiag.exe=d")
        app.wait_start()
        with self.subTest("the session ends during a report: the earlier report stays, no temporary"
                          " file"):
            app.show(MENU[-1])
            app.click("Image17")
            app.wait_window(LADE, "visible", 10)
            wait_for(app.temp_files, 10, "the new report's temporary file")
            app.prefix.run("wineboot", "--end-session")
            self.assertTrue(app.wait_exit(10)["exited"])
            self.assertEqual(app.file_bytes(REPORT), earlier)
            self.assertEqual(app.temp_files(), [])
