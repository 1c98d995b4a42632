"""Wine prefixes for the harness (the end-to-end tests, the tour of `make run`, `make bench`): a
Session holds the run's Xvfb and a template prefix per kind (64-bit, 32-bit); a Prefix is a copy
of a template with its own wineserver."""

import contextlib
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time
from concurrent.futures import ThreadPoolExecutor
from pathlib import Path

from pyvirtualdisplay import Display

REPO = Path(__file__).resolve().parents[2]
WORK_ROOT = REPO / "build" / "wine-e2e"
# The loader of each kind of prefix, by path: once 32-bit Wine is installed, `wine` is the 32-bit
# loader, and in a 64-bit prefix its reg and regedit write the 32-bit registry view.
# VELKARO_WINE32_LOADER stands in for it, e.g. to act out a host that runs no 32-bit programs.
LOADERS = {"win64": "/usr/lib/wine/wine64",
           "win32": os.environ.get("VELKARO_WINE32_LOADER", "/usr/lib/wine/wine")}


def processes_using(folder, exact=False):
    """pids of live processes whose WINEPREFIX lies under the folder (or is the folder)."""
    marker, pids = b"WINEPREFIX=" + str(folder).encode(), []
    for entry in Path("/proc").glob("[0-9]*"):
        with contextlib.suppress(OSError):
            if any(v == marker if exact else v.startswith(marker)
                   for v in (entry / "environ").read_bytes().split(b"\0")):
                pids.append(int(entry.name))
    return pids


def describe(pid):  # "pid command line (its prefix's folder)", to tell where a stray came from
    with contextlib.suppress(OSError):
        environ = Path("/proc", str(pid), "environ").read_bytes().split(b"\0")
        prefix = next((v[11:].decode() for v in environ if v.startswith(b"WINEPREFIX=")), "?")
        command = Path("/proc", str(pid), "cmdline").read_bytes().replace(b"\0", b" ").decode()
        return f"{pid} {command.strip()} ({Path(prefix).name})"
    return str(pid)


def kill_strays(folder):
    """Kills the processes left in prefixes under the folder, waits 10 s at most; what they
    were."""
    pids, deadline = processes_using(folder), time.monotonic() + 10
    strays = [describe(pid) for pid in pids]
    for pid in pids:
        with contextlib.suppress(ProcessLookupError):
            os.kill(pid, signal.SIGKILL)
    while processes_using(folder) and time.monotonic() < deadline:
        time.sleep(0.05)
    return strays


class Prefix:
    def __init__(self, path, display, arch):
        self.path, self.display, self.arch = Path(path), display, arch
        self.drive_c = self.path / "drive_c"

    def env(self, **extra):
        env = {k: v for k, v in os.environ.items() if k != "WAYLAND_DISPLAY"}
        return {**env, "WINEPREFIX": str(self.path), "DISPLAY": self.display, "WINEDEBUG": "-all",
                "WINEDLLOVERRIDES": "mscoree,mshtml=", "WINEARCH": self.arch, **extra}

    def unix_path(self, windows_path):  # C:\Velkaro\x.txt -> <prefix>/drive_c/Velkaro/x.txt
        return self.drive_c.joinpath(*windows_path[2:].split("\\"))

    def run(self, *args, timeout=120):
        """A Wine command in the prefix; its output. Through files, not pipes: Wine's own
        processes started on the way inherit the output handles and outlive the command. A failure
        raises RuntimeError "wine ARGS failed (STATUS): what it printed"."""
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            status = subprocess.run([LOADERS[self.arch], *args], env=self.env(), timeout=timeout,
                                    stdin=subprocess.DEVNULL, stdout=out, stderr=err).returncode
            out.seek(0)
            if status != 0:
                err.seek(0)
                said = (out.read() + err.read()).replace(b"\0", b"").decode("latin-1").strip()
                raise RuntimeError(f"wine {' '.join(args)} failed ({status}): {said}")
            return out.read()

    def reg(self, key, name, *view):
        """(type, data) of the value as Wine's reg lists it (the prefix's own view, or /reg:32,
        /reg:64), or None when reg finds no such key or value; any other failure raises."""
        try:
            out = self.run("reg", "query", key, "/v", name, *view).decode("utf-8", "replace")
        except RuntimeError as e:
            if "Unable to find the specified registry" in str(e):
                return None
            raise
        return re.search(rf"^    {re.escape(name)}    (REG_\w+)    ?(.*)\r$", out, re.M).groups()

    def reg_import(self, text):
        """Imports a REGEDIT4 file's registry keys and values (ASCII)."""
        path = self.drive_c / "import.reg"
        path.write_bytes(text.replace("\n", "\r\n").encode("ascii"))
        self.run("regedit", "/S", r"C:\import.reg")
        path.unlink()

    def start_server(self):
        """The prefix's wineserver, kept up (-p), and Wine's own processes started detached from
        any caller's output (a test process that started them would lend them its pipes)."""
        subprocess.run(["wineserver", "-p"], env=self.env(), check=True, timeout=30)
        self.run("cmd", "/c", "exit")

    def stop_server(self):
        """Kills every process of the prefix and waits for the end. A process that was being
        started as the server ended (a service Wine starts on demand) starts a server of its own:
        another round ends that one."""
        for _ in range(3):
            for flag in ("-k", "-w"):
                subprocess.run(["wineserver", flag], env=self.env(), timeout=60,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            if not processes_using(self.path, exact=True):
                return


class Session:
    """Xvfb (1280x1024x24, 96 dpi) and the run's prefixes under build/wine-e2e/<pid>/, the
    templates made in parallel; stop() ends every process in them and removes them."""

    def __init__(self, arches=("win64", "win32")):
        for run in WORK_ROOT.glob("[0-9]*"):  # what a run that died left behind
            if not Path("/proc", run.name).exists():
                kill_strays(run)
                shutil.rmtree(run, ignore_errors=True)
        self.work, self.templates, self.strays, self._count = WORK_ROOT / str(os.getpid()), {}, [], 0
        self.xvfb = Display(size=(1280, 1024), color_depth=24, dpi=96, manage_global_env=False,
                            extra_args=["-noreset"]).start()
        self.display = self.xvfb.new_display_var
        try:
            with ThreadPoolExecutor() as pool:
                self.templates = dict(zip(arches, pool.map(self._template, arches)))
        except BaseException:
            self.stop()
            raise

    def _template(self, arch):
        prefix = Prefix(self.work / f"template-{arch}", self.display, arch)
        prefix.path.parent.mkdir(parents=True, exist_ok=True)
        prefix.run("wineboot", "-i", timeout=600)
        prefix.reg_import((Path(__file__).parent / "template.reg").read_text())
        prefix.stop_server()
        return prefix

    def new_prefix(self, name, arch="win64"):
        """A copy of the template (its system folders, which Wine only reads, hard-linked), its
        wineserver running."""
        self._count += 1
        template = self.templates[arch]
        prefix = Prefix(self.work / f"{self._count:02d}-{name}", self.display, arch)
        system = {template.drive_c / "windows" / d for d in ("system32", "syswow64")}
        shutil.copytree(template.path, prefix.path, symlinks=True, copy_function=lambda s, d: (
            os.link if Path(s).parent in system else shutil.copy2)(s, d))
        prefix.start_server()
        return prefix

    def release(self, prefix):
        prefix.stop_server()
        shutil.rmtree(prefix.path, ignore_errors=True)

    def stop(self):
        self.xvfb.stop()
        self.strays = kill_strays(self.work)
        shutil.rmtree(self.work, ignore_errors=True)
