"""The test case of a scenario: one or two program starts that check many things, each check a
subtest of its own, so that one failing check does not hide the others."""

import atexit
import os
import re
import subprocess
import sys
import time
import unittest
from pathlib import Path

from .app import App, wait_for
from .wine import REPO, Session

_session = None


def session():
    """The run's Session: the runner's (use_session), or one started on first use."""
    global _session
    if _session is None:
        _session = Session()
        atexit.register(_session.stop)
    return _session


def use_session(s):
    global _session
    _session = s


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
