"""The tool launchers of the real Velkaro.exe under Wine. Only the launchers are clicked here:
the power actions and the memory release are never run outside the unit tests' fakes."""

import unittest

from velkaro_e2e import VelkaroCase, wait_for


class ToolLaunchers(VelkaroCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.pid = cls.app.main_window()["pid"]

    def foreign_windows(self):
        """{hwnd: window} of the visible top-level windows of other processes."""
        return {w["hwnd"]: w for w in self.app.probe.windows()
                if w["visible"] and w["pid"] != self.pid}

    def process_names(self):
        return [p["exe"].lower() for p in self.app.probe.processes()]

    def show_panel(self, label, panel):
        """A menu click whose effect is waited for: it also proves that every earlier input has
        been handled and that the window still answers."""
        self.app.click(label)
        self.app.wait_control(panel, "visible", 5)

    def test_systempanel_starts_the_control_panel_and_returns_at_once(self):
        self.show_panel("Label2", "P1(0)")
        before = self.foreign_windows()
        self.app.click("Image8")
        new = wait_for(lambda: {h: w for h, w in self.foreign_windows().items()
                                if h not in before}, 20, 0.05, "a window of control.exe")
        owners = {p["pid"]: p["exe"].lower() for p in self.app.probe.processes()}
        self.assertIn("control.exe", {owners.get(w["pid"]) for w in new.values()})
        # The program did not wait for the tool: its window takes messages while the tool's
        # window is open (which may cover the menu, so no click here).
        self.assertTrue(self.app.probe.sync("VelkaroForm1", timeout=5)["replied"])
        for hwnd in new:
            self.app.probe.close_window(hwnd)
        wait_for(lambda: not set(new) & set(self.foreign_windows()), 20, 0.05,
                 "the control panel closed")
        wait_for(lambda: "control.exe" not in self.process_names(), 20, 0.05,
                 "control.exe ended")
        self.show_panel("Label3", "P1(1)")
        self.assertTrue(self.app.running())

    def test_tools_that_wine_lacks_change_nothing(self):
        # Windows Update (wupdmgr.exe) and the volume control (system folder + sndvol32.exe).
        self.show_panel("Label2", "P1(0)")
        windows = set(self.foreign_windows())
        self.app.click("Image9")
        self.show_panel("Label3", "P1(1)")
        self.app.click("Image11")
        self.show_panel("Label2", "P1(0)")
        self.assertEqual(set(self.foreign_windows()), windows)
        self.assertFalse({"wupdmgr.exe", "sndvol32.exe", "winedbg.exe"} & set(self.process_names()))
        self.assertTrue(self.app.running())
        self.assertEqual(self.app.text("Label13"), "0 %")  # the memory release never ran


if __name__ == "__main__":
    unittest.main()
