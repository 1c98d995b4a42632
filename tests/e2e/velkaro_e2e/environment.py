"""One test run's surroundings: its X server, its template prefix and its prefixes."""

import atexit
import os
import re
import shutil
import signal
import subprocess
import time
from pathlib import Path

from .wine import copy_prefix, make_template
from .xserver import Xvfb

REPO = Path(__file__).resolve().parents[3]
WORK_ROOT = REPO / "build" / "wine-e2e"


def default_build_dir(arch="win64"):
    """The build whose programs run in a prefix of that kind: for win64 $VELKARO_BUILD_DIR,
    else build/x64; for win32 $VELKARO_BUILD_DIR_X86, else build/x86."""
    variable, tree = ("VELKARO_BUILD_DIR", "x64") if arch == "win64" else \
        ("VELKARO_BUILD_DIR_X86", "x86")
    return Path(os.environ.get(variable) or REPO / "build" / tree).resolve()


def program_version(arch="win64"):
    """The version text the build was made with ("3.0.06"), from its generated header."""
    header = (default_build_dir(arch) / "generated" / "velkaro_version.h").read_text()
    return re.search(r'VELKARO_VERSION_TEXT "([^"]+)"', header).group(1)


class Environment:
    """Xvfb and a template prefix per kind (win64, and win32 when a test asks for one), made
    once; a fresh prefix copied from its template per test.

    Every prefix lives under build/wine-e2e/<pid of this process>/ and has its own
    wineserver, started under the display; stop() kills them all and removes everything.
    """

    def __init__(self, build_dir=None, x86_build_dir=None):
        self.build_dirs = {
            "win64": Path(build_dir).resolve() if build_dir else default_build_dir("win64"),
            "win32": Path(x86_build_dir).resolve() if x86_build_dir
            else default_build_dir("win32")}
        self.work_dir = WORK_ROOT / str(os.getpid())
        self.xvfb = None
        self.templates = {}
        self._prefixes = []
        self._count = 0
        self.strays = []  # processes that outlived their wineserver, killed by stop()

    @property
    def build_dir(self):
        return self.build_dirs["win64"]

    @property
    def display(self):
        return self.xvfb.display

    def program_for(self, arch="win64"):
        return self.build_dirs[arch] / "bin" / "Velkaro.exe"

    def probe_for(self, arch="win64"):
        return self.build_dirs[arch] / "bin" / "probe.exe"

    @property
    def program(self):
        return self.program_for()

    @property
    def probe(self):
        return self.probe_for()

    def start(self):
        sweep_stale_runs()
        self.work_dir.mkdir(parents=True, exist_ok=True)
        try:
            self.xvfb = Xvfb().start()
            self.template("win64")
        except BaseException:
            self.stop()
            raise
        return self

    def template(self, arch):
        """The template prefix of that kind, made on first use."""
        if arch not in self.templates:
            self.templates[arch] = make_template(self.work_dir / f"template-{arch}",
                                                 self.display, arch)
        return self.templates[arch]

    def new_prefix(self, name, arch="win64"):
        """A copy of the template with its wineserver running (-p) under the display."""
        self._count += 1
        prefix = copy_prefix(self.template(arch), self.work_dir / f"{self._count:02d}-{name}")
        self._prefixes.append(prefix)
        prefix.start_server()
        return prefix

    def release(self, prefix):
        """Kills the prefix's wineserver (and every process in it) and removes the prefix."""
        try:
            prefix.stop_server()
        finally:
            prefix.remove()
            if prefix in self._prefixes:
                self._prefixes.remove(prefix)

    def stop(self):
        for prefix in list(self._prefixes):
            self.release(prefix)
        for template in self.templates.values():
            template.stop_server()
            template.remove()
        self.templates = {}
        if self.xvfb:
            self.xvfb.stop()
            self.xvfb = None
        self.strays = kill_strays(self.work_dir)
        shutil.rmtree(self.work_dir, ignore_errors=True)
        _remove_if_empty(WORK_ROOT)


def _remove_if_empty(path):
    try:
        path.rmdir()
    except OSError:
        pass


def processes_using(work_dir):
    """Pids of live processes whose WINEPREFIX lies under work_dir (ours by construction)."""
    marker = b"WINEPREFIX=" + str(work_dir).encode()
    pids = []
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit() or int(entry.name) == os.getpid():
            continue
        try:
            environ = (entry / "environ").read_bytes()
        except OSError:
            continue
        if any(var.startswith(marker) for var in environ.split(b"\0")):
            pids.append(int(entry.name))
    return pids


def kill_strays(work_dir, timeout=10):
    """Kills processes left in the prefixes under work_dir; returns their pids."""
    strays = processes_using(work_dir)
    for pid in strays:
        try:
            os.kill(pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
    deadline = time.monotonic() + timeout
    while processes_using(work_dir) and time.monotonic() < deadline:
        time.sleep(0.05)
    return strays


def sweep_stale_runs():
    """Removes what a run that died without cleaning up left behind (its process is gone)."""
    if not WORK_ROOT.is_dir():
        return
    for run in WORK_ROOT.iterdir():
        if not run.name.isdigit() or Path("/proc", run.name).exists():
            continue
        for prefix in run.iterdir():
            if (prefix / "system.reg").exists():
                subprocess.run(["wineserver", "-k"], env={**os.environ, "WINEPREFIX": str(prefix)},
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
        kill_strays(run)
        shutil.rmtree(run, ignore_errors=True)


_shared = None


def environment():
    """The run's shared Environment, started on first use and stopped at exit."""
    global _shared
    if _shared is None:
        _shared = Environment().start()
        atexit.register(_stop_shared)
    return _shared


def use_environment(env):
    """Makes a started Environment the shared one (the test runner owns and stops it)."""
    global _shared
    _shared = env


def _stop_shared():
    global _shared
    if _shared is not None:
        _shared.stop()
        _shared = None
