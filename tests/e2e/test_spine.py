"""Start-up and main window of the real Velkaro.exe under Wine, driven with real mouse input."""

import re
import unittest

from velkaro_e2e import MAIN, PROGRAM, SPLASH, VelkaroCase, program_version, wait_for

KORVANDT = r"HKCU\SOFTWARE\Korvandt"
RECORD = KORVANDT + r"\Velkaro"
VERSION = program_version()
RED = (255, 0, 0)
MENU_IDLE = (224, 224, 224)
MENU_LABELS = [f"Label{n}" for n in range(2, 11)]  # Label2 .. Label10 show P1(0) .. P1(8)
PANELS = [f"P1({i})" for i in range(9)]
# The DirectX diagnostic tool cannot start: dx.txt stays as the test leaves it.
NO_DXDIAG = "mscoree,mshtml=;dxdiag.exe=d"


class FirstStart(VelkaroCase):
    """A first start in a fresh prefix: splash, registry record, hand-over, initial window."""

    wait_splash = True

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.splash_after_main = cls.app.probe.window(SPLASH)
        cls.controls = cls.app.controls()

    def test_splash_is_400_by_300_at_96_dpi(self):
        self.assertEqual(self.app.probe.hello["dpi"], 96)
        left, top, right, bottom = self.splash["window"]["rect"]
        self.assertEqual((right - left, bottom - top), (400, 300))
        self.assertEqual(self.splash["window"]["client"], self.splash["window"]["rect"])

    def test_splash_hands_over_to_the_main_window_after_about_3_seconds(self):
        self.assertHandsOverOnTime()
        self.assertIsNone(self.splash_after_main, "the splash is still there")

    def test_main_window_client_is_809_by_387(self):
        window = self.main["window"]
        self.assertEqual(window["title"], "Velkaro 3.0")
        left, top, right, bottom = window["client"]
        self.assertEqual((right - left, bottom - top), (809, 387))

    def test_registry_record_is_written(self):
        for key, name, data in [(KORVANDT, "Velkaro", VERSION), (RECORD, "Version", VERSION),
                                (RECORD, "Path", PROGRAM)]:
            with self.subTest(name=name):
                value = self.app.reg_get(key, name)
                self.assertTrue(value["found"], f"{key}\\{name} missing")
                self.assertEqual((value["type"], value["value"]), ("REG_SZ", data))

    def test_only_the_windows_panel_is_visible(self):
        visible = [p for p in PANELS if self.controls[p]["visible"]]
        self.assertEqual(visible, ["P1(0)"])

    def test_value_fields_outside_the_windows_panel_read_na(self):
        # Text1(52..58) and Text5(8) belong to the status line, which rewrites them four times
        # a second; its own tests cover them.
        status_line = {f"Text1({j})" for j in range(52, 59)} | {"Text5(8)"}
        fields = [c for c in self.app.table()
                  if re.fullmatch(r"Text[15]\(\d+\)", c["name"]) and c["parent"] != "P1(0)"
                  and c["name"] not in status_line]
        # Text1(0..58) and Text5(0..13), less the 14 rows of P1(0) and the status line's 8.
        self.assertEqual(len(fields), 59 + 14 - 14 - 8)
        for field in fields:
            with self.subTest(field=field["name"]):
                self.assertEqual(self.controls[field["name"]]["class"], "Edit")
                self.assertEqual(self.controls[field["name"]]["text"], "N/A")

    def test_uptime_field_reads_na_until_the_status_line_writes_it(self):
        # The Windows fill leaves the uptime to the status line's 250 ms tick.
        self.assertRegex(self.controls["Text1(4)"]["text"],
                         r"^(N/A|\d+ Tag\(e\), \d+ Stunde\(n\), \d\d Minute\(n\), "
                         r"\d\d Sekunde\(n\))$")

    def test_report_options_start_with_one_format_and_all_categories_ticked(self):
        self.assertEqual(self.controls["Combo1"]["items"], ["Textdatei"])
        for n in range(1, 9):
            with self.subTest(check=n):
                self.assertEqual(self.controls[f"Check{n}"]["check"], 1)


class SecondStart(VelkaroCase):
    """A start with the version already recorded writes nothing: a moved program keeps its
    old path."""

    OLD_PATH = r"D:\Elsewhere\Velkaro.exe"
    OLD_VERSION = "2.9.01"

    @classmethod
    def prepare(cls, app):
        app.reg_set_sz(KORVANDT, "Velkaro", VERSION)
        app.reg_set_sz(RECORD, "Version", cls.OLD_VERSION)
        app.reg_set_sz(RECORD, "Path", cls.OLD_PATH)

    def test_recorded_values_stay_as_they_were(self):
        self.assertEqual(self.app.reg_get(RECORD, "Path")["value"], self.OLD_PATH)
        self.assertEqual(self.app.reg_get(RECORD, "Version")["value"], self.OLD_VERSION)
        self.assertEqual(self.app.reg_get(KORVANDT, "Velkaro")["value"], VERSION)


class MainWindowMouse(VelkaroCase):
    """Menu clicks, hover highlighting and window dragging with real mouse input."""

    def visible_panels(self):
        controls = self.app.controls()
        return [p for p in PANELS if controls[p]["visible"]]

    def show_panel(self, label, panel):
        self.app.click(label)
        self.app.wait_control(panel, "visible", 10)

    def test_each_menu_label_shows_only_its_panel(self):
        # Right to left, so that every click changes the visible panel.
        for label, panel in reversed(list(zip(MENU_LABELS, PANELS))):
            with self.subTest(label=label):
                self.show_panel(label, panel)
                self.assertEqual(self.visible_panels(), [panel])

    def red_pixels(self, label):
        return self.app.grab_control(label).count(RED)

    def test_hover_turns_only_the_label_under_the_mouse_red(self):
        self.app.hover("Label8")
        wait_for(lambda: self.red_pixels("Label8") > 0, 5, what="CPU turns red")
        self.app.hover("Label9")
        wait_for(lambda: self.red_pixels("Label9") > 0 and self.red_pixels("Label8") == 0, 5,
                 what="Sonstiges red, CPU no longer")
        for label in MENU_LABELS:
            if label == "Label9":
                continue
            with self.subTest(label=label):
                image = self.app.grab_control(label)
                self.assertEqual(image.count(RED), 0)
                self.assertGreater(image.count(MENU_IDLE), 0)

    def test_right_button_drag_on_the_strip_does_not_move_the_window(self):
        before = self.app.main_window()["rect"]
        self.app.drag("Image10", 80, 60, button="right")
        # Input is handled in order: once a later click has shown its panel, the drag has
        # been handled too.
        self.show_panel("Label4", "P1(2)")
        self.show_panel("Label3", "P1(1)")
        self.assertEqual(self.app.main_window()["rect"], before)

    def test_left_button_drag_on_the_strip_moves_the_window_with_the_mouse(self):
        left, top, right, bottom = self.app.main_window()["rect"]
        self.app.drag("Image10", -70, 50)
        moved = [left - 70, top + 50, right - 70, bottom + 50]
        wait_for(lambda: self.app.main_window()["rect"] == moved, 5,
                 what=f"window moved from {[left, top, right, bottom]} to {moved}")


class HugeBinaryDump(VelkaroCase):
    """An old dx.txt of 24 MB of binary data without a line end (the tool cannot replace it):
    start-up neither crashes nor hangs on it."""

    @classmethod
    def prepare(cls, app):
        app.probe.setenv("WINEDLLOVERRIDES", NO_DXDIAG)
        dump = app.prefix.unix_path(r"C:\Velkaro\dx.txt")
        block = bytes(range(256)).replace(b"\r", b"").replace(b"\n", b"")
        with open(dump, "wb") as f:
            for _ in range(24 * 1024 * 1024 // len(block)):
                f.write(block)
            f.write(b"\r\n    DirectX Version: beyond what is read\r\n")

    wait_splash = True

    def test_splash_hands_over_on_time_and_the_program_runs_on(self):
        self.assertHandsOverOnTime()
        self.app.click("Label9")
        self.app.wait_control("P1(7)", "visible", 10)
        self.assertTrue(self.app.running())


class CloseButton(VelkaroCase):
    """The close button highlights under the mouse and ends the program at once."""

    def test_mouse_over_then_click_ends_the_program(self):
        self.assertTrue(self.app.control("Image1")["visible"])
        self.assertFalse(self.app.control("Image2")["visible"])
        self.app.hover("Image1")
        self.app.wait_control("Image2", "visible", 5)
        self.assertFalse(self.app.control("Image1")["visible"])
        self.app.click("Image2")
        ended = self.app.wait_exit(2)
        self.assertTrue(ended["exited"], "the program still runs 2 s after the click")
        self.assertIsNone(self.app.probe.window(MAIN))


if __name__ == "__main__":
    unittest.main()
