"""The test case of a scenario, one or more program starts that check many things, each check a
subtest of its own, so that one failing check does not hide the others; and the report expected
from tests/data/report_sections.txt and the fields the program shows."""

import atexit
import os
import re
import subprocess
import sys
import time
import unittest
from pathlib import Path

from .app import PROGRAM, REPORT, App, wait_for
from .wine import REPO, Session

_session = None
# Fields the status line rewrites four times a second: the report holds an earlier value.
LIVE = {"Text1(4)", "Text5(8)"} | {f"Text1({j})" for j in range(52, 59)}


def session(runner_session=None):
    """The run's Session: the runner's once given, else one started on first use."""
    global _session
    if runner_session:
        _session = runner_session
    elif _session is None:
        _session = Session()
        atexit.register(_session.stop)
    return _session


def build_dir(arch="win64"):
    """The build of the programs of a prefix of that kind: $VELKARO_BUILD_DIR or build/x64 for
    win64, $VELKARO_BUILD_DIR_X86 or build/x86 for win32."""
    variable, tree = {"win64": ("VELKARO_BUILD_DIR", "x64"),
                      "win32": ("VELKARO_BUILD_DIR_X86", "x86")}[arch]
    return Path(os.environ.get(variable) or REPO / "build" / tree).resolve()


def program_version(arch="win64"):
    """The version text the build was made with ("3.0.06"), from its generated header."""
    header = (build_dir(arch) / "generated" / "velkaro_version.h").read_text()
    return re.search(r'VELKARO_VERSION_TEXT "([^"]+)"', header).group(1)


def size(rect):
    return rect[2] - rect[0], rect[3] - rect[1]


def colours(image):
    """{(r, g, b): number of pixels} of a PIL image."""
    return {colour: n for n, colour in image.convert("RGB").getcolors(1 << 24)}


def sections():
    """[(check, header, [("field", caption, tabs, control) or ("drive", caption, tabs)])]"""
    result = []
    for line in (REPO / "tests" / "data" / "report_sections.txt").read_text("utf-8").splitlines():
        kind, *fields = line.split("|")
        if kind == "section":
            result.append((int(fields[0]), fields[1], []))
        elif kind in ("field", "drive"):
            result[-1][2].append((kind, fields[0], int(fields[1]), *fields[2:]))
    return result


HEADERS = [header for _, header, _ in sections()]


def expected(controls, checks=range(1, 9)):
    """[(line, live)] of the report of the ticked sections, from the fields read back: a live
    line is its caption and TABs, followed by any text."""
    lines = []
    for check, header, records in sections():
        if check not in checks:
            continue
        lines += [("", False), (header, False)]
        drives = [r[1:] for r in records if r[0] == "drive"]
        if drives:  # the drive lists show each line's caption and value
            lines.append(("", False))
            for items in (controls[f"List1({i})"]["items"] for i in range(9)):
                lines += [(caption + "\t" * tabs + item[len(caption):], False)
                          for (caption, tabs), item in zip(drives, items)]
                lines += [("", False)] if items else []
        for _, caption, tabs, name in (r for r in records if r[0] == "field"):
            lines.append((caption + "\t" * tabs + ("" if name in LIVE else controls[name]["text"]),
                          name in LIVE))
    return lines


def lines_of(data):
    """The report's lines; it must be Windows-1252 text with CR LF line ends and no BOM."""
    assert data is not None, "no report"
    assert not data.startswith(b"\xef\xbb\xbf"), "a byte-order mark"
    text = data.decode("cp1252")
    assert text.count("\n") == text.count("\r\n") and text.endswith("\r\n"), "not CR LF lines"
    return text.split("\r\n")[:-1]


class Scenario(unittest.TestCase):
    def run(self, result=None):
        started = time.monotonic()
        try:
            return super().run(result)
        finally:
            print(f"  {type(self).__name__}: {time.monotonic() - started:.1f} s", flush=True)

    def new_app(self, arch="win64", version=None):
        """A fresh prefix with the program in it (self.app), removed when the test ends."""
        self.app = App(session(), type(self).__name__, build_dir(arch), arch, version)
        self.addCleanup(self.app.close)
        return self.app

    def check(self, what):
        """A named check: a failure inside is reported, and the scenario goes on."""
        return self.subTest(what)

    def assertCentred(self, rect):
        """The rectangle's centre is the screen's, give or take a pixel."""
        self.assertLessEqual(abs(rect[0] + rect[2] - 1280), 2, rect)
        self.assertLessEqual(abs(rect[1] + rect[3] - 1024), 2, rect)

    def assertHandsOver(self, splash, main):
        """The splash gave way to the main window about 3 s after it showed."""
        self.assertTrue(2500 <= main["t"] - splash["t"] <= 5000, main["t"] - splash["t"])

    def assertRecord(self, arch="win64"):
        """The program's registry record: its version, the version it recorded, its path."""
        values = self.app.prefix.reg(r"HKCU\SOFTWARE\Korvandt", "/s")
        self.assertEqual([values.get(n) for n in ("Velkaro", r"Velkaro\Version", r"Velkaro\Path")],
                         [("REG_SZ", program_version(arch))] * 2 + [("REG_SZ", PROGRAM)])

    def assertReport(self, controls, checks=range(1, 9)):
        """The report file holds the ticked sections with the fields shown (a live field: any
        value)."""
        lines, want = lines_of(self.app.file_bytes(REPORT)), expected(controls, checks)
        self.assertEqual(len(lines), len(want), lines)
        self.assertEqual([n for n, (line, (text, live)) in enumerate(zip(lines, want), 1) if not (
            re.fullmatch(re.escape(text) + "[^\t]+", line) if live else line == text)], [], lines)

    def assertLoadRises(self):
        """The processor load reaches 50 % within 12 s while the host's first processor (Wine's
        processor 0) is kept busy."""
        if 0 not in os.sched_getaffinity(0):
            self.skipTest("the host's first processor is not ours to load")
        spinner = subprocess.Popen([sys.executable, "-c",
                                    "import os\nos.sched_setaffinity(0, {0})\nwhile True: pass"])
        try:
            wait_for(lambda: int(re.fullmatch(r"(\d+)%", self.app.text("Text5(8)"))[1]) >= 50, 12,
                     "a processor load of 50 % or more")
        finally:
            spinner.kill()
            spinner.wait()
