"""The end-to-end tests' part of the Wine harness: what only the tests need on top of the shared
harness of tools/wine (velkaro_wine.py, wine_prefix.py): the program as a scenario drives it
(ScenarioApp: the App with its checked actions), the expected values, and Scenario, a test of
program starts, each check a subtest."""

import os
import re
import subprocess
import sys
import unittest
from itertools import takewhile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools" / "wine"))
from velkaro_wine import (BOX, LADE, MAIN, MENU, PROGRAM, REPO, REPORT,  # noqa: E402,F401
                          SPLASH, App, Session, processes_using, wait_for)

# The builds of the programs per kind of prefix; the runner's --build and --build-x86.
BUILDS = {"win64": REPO / "build" / "x64", "win32": REPO / "build" / "x86"}
SKIP_WIN32 = os.environ.get("VELKARO_SKIP_WIN32") == "1"  # a host that runs no 32-bit programs
TITLE, DONE = "Velkaro 3.0", "Alle Daten Ausgewertet!"
CURRENT = r"HKLM\Software\Microsoft\Windows NT\CurrentVersion"
PROBE_DOCUMENT = r"C:\Velkaro\test~12345.html"  # the browser's look-up writes and deletes it
# Fields the status line rewrites four times a second: the report holds an earlier value.
LIVE = {"Text1(4)", "Text5(8)"} | {f"Text1({j})" for j in range(52, 59)}


class ScenarioApp(App):
    """The harness's App with the actions the scenarios check as they go."""

    def assert_alive(self):
        """The program runs, answers within 1 s, and no crash handler has started."""
        assert not self.wait_exit(0)["exited"], "the program has ended"
        assert self.sync(1)["replied"], "the main window does not answer within 1 s"
        assert "winedbg.exe" not in self.processes(), "a crash handler runs"

    def close_by_mouse(self, timeout):
        """The close button lights up under the mouse; a click on it. The exit's answer."""
        self.hover("Image1")
        self.wait_control("Image2", "visible", 5)
        assert not self.window(MAIN, "Image1")["visible"], "the close button's dark picture shows"
        self.click("Image2")
        return self.wait_exit(timeout)

    def tick(self, checks):
        """Ticks Check1..8 as `checks` says, by mouse, on the report panel."""
        self.show(MENU[-1])
        for n in range(1, 9):
            if self.window(MAIN, f"Check{n}")["check"] != (n in checks):
                self.click(f"Check{n}")
        wait_for(lambda: all(self.window(MAIN, f"Check{n}")["check"] == (n in checks)
                             for n in range(1, 9)), 5, "the ticks")

    def run_report(self, message=DONE, during=None, clicks=1, timeout=60):
        """Clicks "Daten Auswerten" (`clicks` times), runs during() while the wait window shows,
        checks the message (`message` or a pattern it matches), presses OK, checks that no second
        one follows and the program lives on. The box, with "controls" as the fills left them."""
        self.show(MENU[-1])
        self.click("Image17", repeat=clicks)
        if during:
            self.wait_window(LADE, "visible", 10)
            during()
        box = self.wait_message_box(timeout)
        assert (message.search(box["text"]) if isinstance(message, re.Pattern)
                else box["text"] == message), f"message {box}, expected {message}"
        assert box["title"] == TITLE, box
        box["controls"] = self.controls()
        self.press_ok()
        self.show(MENU[0])
        assert not self.window(BOX), "a second message box follows"
        self.assert_alive()
        return box

    def close_by_message(self, timeout):  # WM_CLOSE, as Alt+F4 or the taskbar: the exit's answer
        assert self.probe("close", MAIN)["posted"], "WM_CLOSE not posted"
        return self.wait_exit(timeout)

    def temp_files(self):  # the report's temporary files left in C:\
        return list(self.prefix.drive_c.glob("SystemInfo.txt.*.tmp"))


# The run's Session: the runner (tests/run_wine_tests.py) sets it and stops it.
SESSION = None


def program_version(arch="win64"):
    """The version text the build was made with ("3.0.06"), from its generated header."""
    header = (BUILDS[arch] / "generated" / "velkaro_version.h").read_text()
    return re.search(r'VELKARO_VERSION_TEXT "([^"]+)"', header).group(1)


def size(rect):
    return rect[2] - rect[0], rect[3] - rect[1]


def colours(image):
    """{(r, g, b): number of pixels} of a PIL image."""
    return {colour: n for n, colour in image.convert("RGB").getcolors(1 << 24)}


def report_sections():
    """[(header, drives, [caption and TABs of each line])] of the report as the unit tests' golden
    file of a German XP writes it in full (tests/data/scenarios/xp_german.golden, its first
    report); the drives' section (an empty line after its header) with its first drive's lines."""
    golden = (REPO / "tests" / "data" / "scenarios" / "xp_german.golden").read_text("utf-8")
    lines = takewhile(lambda line: line.startswith('  | "'),
                      golden.split("  file c:\\SystemInfo.txt\n", 1)[1].splitlines())
    text = "".join(line[5:-3].replace("\\t", "\t") + "\n" for line in lines)
    return [(header, bool(gap), [re.match(r"[^\t]*\t+", line)[0] for line in body.splitlines()])
            for header, gap, body in re.findall(r"^(######.*)\n(\n?)((?:.+\n)*)", text, re.M)]


SECTIONS = report_sections()
HEADERS = [header for header, *_ in SECTIONS]
DRIVE_LINES = next(captions for _, drives, captions in SECTIONS if drives)


def expected(controls, checks=range(1, 9)):
    """[(line, live)] of the report of the ticked sections: each line's caption and TABs from
    SECTIONS, its value from the fields read back, which stand on the section's panel in the
    report's order, top to bottom; a live line is its caption and TABs, followed by any text."""
    lines = []
    for check, (header, drives, captions), entry in zip(range(1, 9), SECTIONS, MENU):
        if check not in checks:
            continue
        lines += [("", False), (header, False)]
        if drives:  # every drive's lines, as its list shows them
            lines.append(("", False))
            for items in (controls[f"List1({i})"]["items"] for i in range(9)):
                lines += [(caption + item[len(caption.rstrip("\t")):], False)
                          for caption, item in zip(captions, items)] + [("", False)] * bool(items)
            continue
        fields = sorted((c["rect"][1], c["name"], c["text"]) for c in controls.values()
                        if c["parent"] == entry.panel and re.match(r"Text[15]\(", c["name"]))
        lines += [(caption + ("" if name in LIVE else text), name in LIVE)
                  for caption, (_, name, text) in zip(captions, fields, strict=True)]
    return lines


def lines_of(data):
    """The report's lines; it must be Windows-1252 text with CR LF line ends and no BOM."""
    assert data is not None, "no report"
    assert not data.startswith(b"\xef\xbb\xbf"), "a byte-order mark"
    text = data.decode("cp1252")
    assert text.count("\n") == text.count("\r\n") and text.endswith("\r\n"), "not CR LF lines"
    return text.split("\r\n")[:-1]


class Scenario(unittest.TestCase):
    maxDiff = None  # a failed comparison of the fields or controls in full

    def new_app(self, arch="win64", program=None):
        """A fresh prefix with the program of its kind (or `program`'s), removed at the end."""
        if SKIP_WIN32 and "win32" in (arch, program):
            self.skipTest("VELKARO_SKIP_WIN32=1")
        self.app = ScenarioApp(SESSION, type(self).__name__, BUILDS[program or arch], arch)
        self.addCleanup(self.app.close)
        return self.app

    def assertCentred(self, rect):  # the rectangle's centre is the screen's, give or take 1 px
        self.assertLessEqual(abs(rect[0] + rect[2] - 1280), 2, rect)
        self.assertLessEqual(abs(rect[1] + rect[3] - 1024), 2, rect)

    def assertHandsOver(self, splash, main):  # the main window about 3 s after the splash
        self.assertTrue(2500 <= main["t"] - splash["t"] <= 5000, main["t"] - splash["t"])

    def assertRecord(self, arch="win64"):
        """The program's registry record: its version, the version it recorded, its path."""
        key = r"HKCU\SOFTWARE\Korvandt"
        self.assertEqual([self.app.prefix.reg(key + k, n) for k, n in [
            ("", "Velkaro"), (r"\Velkaro", "Version"), (r"\Velkaro", "Path")]],
            [("REG_SZ", program_version(arch))] * 2 + [("REG_SZ", PROGRAM)])

    def assertReport(self, controls, checks=range(1, 9)):
        """The report file holds the ticked sections with the fields shown."""
        lines, want = lines_of(self.app.file_bytes(REPORT)), expected(controls, checks)
        self.assertEqual(len(lines), len(want), lines)
        self.assertEqual([n for n, (line, (text, live)) in enumerate(zip(lines, want), 1) if not (
            re.fullmatch(re.escape(text) + "[^\t]+", line) if live else line == text)], [], lines)

    def assertLoadRises(self):
        """The processor load reaches 90 % within 12 s while a spinner keeps the host's first
        processor (Wine's processor 0, whose times the program shows) busy."""
        self.assertIn(0, os.sched_getaffinity(0), "processor 0 is not this run's to keep busy")
        spinner = subprocess.Popen([sys.executable, "-c",
                                    "import os\nos.sched_setaffinity(0, {0})\nwhile True: pass"])

        def load():
            assert spinner.poll() is None, "the spinner has ended"
            return int(re.fullmatch(r"(\d+)%", self.app.text("Text5(8)"))[1]) >= 90
        try:
            wait_for(load, 12, "a processor load of 90 % or more")
        finally:
            spinner.kill()
            spinner.wait()
