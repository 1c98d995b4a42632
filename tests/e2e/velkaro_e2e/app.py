"""The program under test in its own prefix, with the probe beside it."""

import shutil
import unittest

from . import desktop
from .environment import environment
from .probe import Probe
from .waiting import WaitTimeout, wait_for

SPLASH = "VelkaroSplash"
MAIN = "VelkaroForm1"
LADE = "VelkaroLade"
MESSAGE_BOX = "#32770"  # the class of a message box; its text is the static with ID 65535
MAIN_TITLE = "Velkaro 3.0"
INSTALL_DIR = r"C:\Velkaro"
PROGRAM = INSTALL_DIR + r"\Velkaro.exe"
# The nine menu labels and the panels they show, in menu order; the last is the report's.
MENU = [(f"Label{n}", f"P1({n - 2})") for n in range(2, 11)]
REPORT_DONE = "Alle Daten Ausgewertet!"


class VelkaroApp:
    """A fresh prefix with Velkaro.exe at C:\\Velkaro\\Velkaro.exe, a running probe, and helpers
    that drive the program like a user and read it back. `arch` win32 takes a 32-bit prefix and
    the x86 build's program and probe."""

    def __init__(self, name, env=None, program=None, arch="win64"):
        self.env = env or environment()
        program = program or self.env.program_for(arch)
        probe = self.env.probe_for(arch)
        if not program.is_file():
            raise FileNotFoundError(f"{program} is missing: build it first (make)")
        if not probe.is_file():
            raise FileNotFoundError(f"{probe} is missing: build the probe target")
        self.program = program
        self.prefix = self.env.new_prefix(name, arch)
        self.mouse = desktop.Mouse(self.env.display)
        self.proc = None
        self._table = None
        try:
            install = self.prefix.unix_path(INSTALL_DIR)
            install.mkdir(parents=True)
            shutil.copy2(program, install / "Velkaro.exe")
            self.probe = Probe(self.prefix, probe, self.prefix.path / "probe.log")
        except BaseException:
            self.env.release(self.prefix)
            raise

    def close(self):
        try:
            self.probe.quit()
        finally:
            self.env.release(self.prefix)

    # ---- the program ----

    def use_stalling_service(self, plan):
        """Replaces the management service's locator by the tests' stand-in (built beside the
        probe), which stalls as `plan` says ("connect", "query", "query:300", ...); before the
        launch."""
        stand_in = self.env.probe.parent / "stand_in" / "wbemprox.dll"
        shutil.copy2(stand_in, self.prefix.drive_c / "windows" / "system32" / "wbem" / "wbemprox.dll")
        self.probe.setenv("WINEDLLOVERRIDES", "mscoree,mshtml=;wbemprox=n")
        self.probe.setenv("VELKARO_STALL_WMI", plan)

    def assert_answering(self, seconds, timeout=1.0):
        """For `seconds`, asks the program's window (the splash before the main window) again
        and again to take a message: every ask must be answered within `timeout`."""
        end = self.probe.now() + seconds * 1000
        asks = 0
        while self.probe.now() < end:
            window = MAIN if self.probe.window(MAIN, MAIN_TITLE) else SPLASH
            answer = self.probe.sync(window, timeout * 4)
            asks += 1
            if not answer["replied"] or answer["synced"] - answer["sent"] > timeout * 1000:
                raise AssertionError(f"{window} took {answer} to answer (ask {asks})")
        return asks

    def restart_server(self):
        """Restarts the prefix's wineserver (and the probe), before the launch: what Wine reads
        when its server starts, like the port mapping in HKLM\\Software\\Wine\\Ports, takes
        effect, and the volatile keys under HKLM\\HARDWARE are gone (set them afterwards)."""
        self.probe.restart(lambda: (self.prefix.stop_server(), self.prefix.start_server()))

    def launch(self):
        """Starts C:\\Velkaro\\Velkaro.exe in C:\\Velkaro; probe times count from here."""
        self.proc = self.probe.launch(PROGRAM, INSTALL_DIR)["proc"]
        return self.proc

    def wait_splash(self, timeout=10):
        return self._wait_window(SPLASH, "visible", timeout)

    def wait_main(self, timeout=15):
        """Waits until the main window is visible and has every control of its table;
        returns the probe's answer for the window (with "t", when it became visible)."""
        answer = self._wait_window(MAIN, "visible", timeout, MAIN_TITLE)
        names = {c["name"] for c in self.table()}
        wait_for(lambda: names <= self.controls().keys(), timeout, 0.02,
                 "every control of the table in the main window")
        return answer

    def table(self):
        if self._table is None:
            self._table = self.probe.table()
        return self._table

    def _wait_window(self, cls, condition, timeout, title=None):
        answer = self.probe.wait_window(cls, condition, timeout, title)
        if not answer["met"]:
            raise WaitTimeout(f"window {cls} not {condition} within {timeout} s: {answer}")
        return answer

    def wait_exit(self, timeout):
        return self.probe.wait_exit(self.proc, timeout)

    def running(self):
        return self.probe.process_state(self.proc)["running"]

    def main_window(self):
        window = self.probe.window(MAIN, MAIN_TITLE)
        if window is None:
            raise AssertionError("the main window does not exist")
        return window

    # ---- controls ----

    def control(self, name):
        """The main window's control of that name ("Text1(8)", "Label2", "P1(0)") or ID."""
        found = self.probe.control(MAIN, name)
        if found is None:
            raise AssertionError(f"control {name} not found in the main window")
        return found

    def controls(self):
        """{name: control} of every control of the main window that has a name."""
        return {c["name"]: c for c in self.probe.controls(MAIN) if c["name"]}

    def wait_control(self, name, condition, timeout, value=None):
        answer = self.probe.wait_control(MAIN, name, condition, timeout, value)
        if not answer["met"]:
            raise WaitTimeout(f"{name} not {condition} {value or ''} within {timeout} s: "
                              f"{answer['control']}")
        return answer["control"]

    def text(self, name):
        return self.control(name)["text"]

    # ---- input ----

    def point_on(self, name):
        """A screen point where the control itself is hit: inside its rectangle and outside
        every other visible control that does not contain it (labels above the drag strip);
        the point nearest to the control's centre on a 2-pixel grid."""
        everything = self.probe.controls(MAIN)
        target = next((c for c in everything if c["name"] == name), None)
        if target is None or not target["visible"]:
            raise AssertionError(f"{name} is not a visible control: {target}")
        left, top, right, bottom = target["rect"]
        others = [c["rect"] for c in everything if c["visible"] and c is not target
                  and not _contains(c["rect"], target["rect"])]
        cx, cy = (left + right) // 2, (top + bottom) // 2
        points = sorted(((x, y) for x in range(left, right, 2) for y in range(top, bottom, 2)),
                        key=lambda p: (p[0] - cx) ** 2 + (p[1] - cy) ** 2)
        for x, y in points:
            if not any(_inside(x, y, r) for r in others):
                return x, y
        raise AssertionError(f"every point of {name} is covered by another control")

    def hover(self, name):
        self.mouse.move(*self.point_on(name))

    def click(self, name, button="left", repeat=1):
        self.mouse.click(*self.point_on(name), button=button, repeat=repeat)

    def drag(self, name, dx, dy, button="left"):
        """Presses on the control, moves by (dx, dy), releases."""
        x, y = self.point_on(name)
        self.mouse.drag((x, y), (x + dx, y + dy), button=button)

    # ---- message boxes ----

    def wait_message_box(self, timeout):
        """Waits for a message box; returns {"title", "text", "t", "window"}."""
        answer = self._wait_window(MESSAGE_BOX, "visible", timeout)
        text = self.probe.control(MESSAGE_BOX, "65535")
        return {"title": answer["window"]["title"], "text": text and text["text"],
                "t": answer["t"], "window": answer["window"]}

    def press_ok(self, timeout=10):
        """Clicks the OK button of the message box and waits until the box is gone."""
        button = self.probe.control(MESSAGE_BOX, "1")  # IDOK
        if button is None:
            raise AssertionError("the message box has no OK button")
        left, top, right, bottom = button["rect"]
        self.mouse.click((left + right) // 2, (top + bottom) // 2)
        self._wait_window(MESSAGE_BOX, "gone", timeout)

    # ---- screen ----

    def grab(self, rect):
        return desktop.grab(self.env.display, rect)

    def grab_control(self, name):
        return self.grab(self.control(name)["rect"])

    # ---- whole rounds ----

    def assert_alive(self):
        """The program runs, answers, and no crash handler has started."""
        if not self.running():
            raise AssertionError(f"the program has ended: {self.probe.process_state(self.proc)}")
        crashed = [p for p in self.probe.processes() if p["exe"].lower() == "winedbg.exe"]
        if crashed:
            raise AssertionError(f"a crash handler runs: {crashed}")

    def assert_answers(self):
        """The window's thread takes a message within 15 s (the work of the latest input has
        ended) and then one more within 1 s."""
        for timeout in (15, 1):
            answer = self.probe.sync(MAIN, timeout)
            if not answer["replied"]:
                raise AssertionError(f"no answer to WM_NULL within {timeout} s: {answer}")

    def show(self, label, panel):
        """A menu click, waited for until its panel shows and its fill has ended."""
        self.click(label)
        self.wait_control(panel, "visible", 10)
        self.assert_answers()

    def run_report(self, message=REPORT_DONE, during=None, clicks=1):
        """Clicks "Daten Auswerten" on the report panel (`clicks` times in a row: 2 is a double
        click), runs during() while the wait window shows (when given), and returns the message box after checking its text (equal to
        `message`, or found by it when it is a compiled pattern); presses OK
        and checks that no second message follows and the program lives on."""
        self.show(*MENU[-1])
        self.click("Image17", repeat=clicks)
        if during:
            self._wait_window(LADE, "visible", 10)
            during()
        box = self.wait_message_box(60)
        if not (message.search(box["text"]) if hasattr(message, "search") else
                box["text"] == message):
            raise AssertionError(f"message {box['text']!r}, expected {message!r}")
        self.press_ok()
        self.show(*MENU[0])  # a later input handled: any second message would stand by now
        if self.probe.window(MESSAGE_BOX):
            raise AssertionError("a second message box follows")
        self.assert_alive()
        return box

    def survive_full_round(self, message=REPORT_DONE, during=None, clicks=1):
        """Every menu label clicked and its fill waited for, then a report (see run_report);
        returns {name: control} as the fills left them."""
        for label, panel in MENU:
            self.show(label, panel)
        shown = self.controls()
        self.run_report(message, during, clicks)
        return shown

    # ---- registry and files ----

    def reg_get(self, key, name):
        return self.probe.reg_get(key, name)

    def reg_set_sz(self, key, name, data):
        self.probe.reg_set(key, name, "REG_SZ", data)

    def file_bytes(self, windows_path):
        """A file of the prefix read from the Linux side, or None when it is missing."""
        path = self.prefix.unix_path(windows_path)
        return path.read_bytes() if path.exists() else None


def _inside(x, y, rect):
    return rect[0] <= x < rect[2] and rect[1] <= y < rect[3]


def _contains(outer, inner):
    return (outer[0] <= inner[0] and outer[1] <= inner[1] and outer[2] >= inner[2]
            and outer[3] >= inner[3])


class VelkaroCase(unittest.TestCase):
    """Tests of one class share one program run in their own fresh prefix.

    The prefix is 64-bit unless the class sets arch = "win32" (the x86 program in a 32-bit
    prefix); windows_version, when set, is the Windows that winecfg makes the prefix report.
    prepare(app) runs before the launch (preset the registry, the environment, ...); then
    the program starts and the class waits, with wait_splash = True, for the splash
    (cls.splash) and, with wait_main = True, for the main window (cls.main): the answers of
    wait_splash and wait_main, with "t", when each showed.
    """

    arch = "win64"
    windows_version = None
    wait_splash = False
    wait_main = True

    @classmethod
    def setUpClass(cls):
        cls.app = VelkaroApp(cls.__name__, arch=cls.arch)
        cls.addClassCleanup(cls.app.close)
        if cls.windows_version:
            cls.app.prefix.set_windows_version(cls.windows_version)
        cls.prepare(cls.app)
        cls.app.launch()
        if cls.wait_splash:
            cls.splash = cls.app.wait_splash(timeout=10)
        if cls.wait_main:
            cls.main = cls.app.wait_main(timeout=20)

    def assertHandsOverOnTime(self):
        """The splash gave way to the main window about 3 s after it showed."""
        self.assertGreaterEqual(self.main["t"] - self.splash["t"], 2500)
        self.assertLessEqual(self.main["t"] - self.splash["t"], 5000)

    @classmethod
    def prepare(cls, app):
        pass
