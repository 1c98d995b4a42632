"""Throw-away Wine prefixes: the template made once per run, a copy per test."""

import os
import shutil
import subprocess
import tempfile
from pathlib import Path

# Settings every prefix of the harness gets: no crash dialog; unmanaged windows, since Xvfb has
# no window manager (Wine would otherwise wait about 2 s whenever a top-level window is hidden
# or destroyed); installed fonts for the Windows font names the program asks for.
TEMPLATE_REG = r"""REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Arial"="Liberation Sans"
"Verdana"="DejaVu Sans"
"Georgia"="DejaVu Serif"
"""

FONT_FAMILIES = ("Liberation Sans", "DejaVu Sans", "DejaVu Serif")

# The loader of each kind of prefix, by path: once 32-bit Wine is installed, `wine` is the
# 32-bit loader, and in a 64-bit prefix its reg and regedit are the 32-bit tools, which write
# the Wow6432Node view the 64-bit program does not read. A 32-bit prefix (win32) runs no
# 64-bit program.
LOADERS = {"win64": "/usr/lib/wine/wine64", "win32": "/usr/lib/wine/wine"}


def wine_env(prefix, display, extra=None):
    """The environment of every Wine command of the harness."""
    env = dict(os.environ)
    env.update({
        "WINEPREFIX": str(prefix),
        "DISPLAY": display,
        "WINEDEBUG": "-all",
        "WINEDLLOVERRIDES": "mscoree,mshtml=",
    })
    env.pop("WAYLAND_DISPLAY", None)
    env.update(extra or {})
    return env


def check_fonts():
    """Raises when a font family the replacements name is not installed."""
    out = subprocess.run(["fc-list", ":", "family"], capture_output=True, text=True,
                         check=True).stdout
    families = {name.strip() for line in out.splitlines() for name in line.split(",")}
    missing = [f for f in FONT_FAMILIES if f not in families]
    if missing:
        raise RuntimeError(f"fonts missing: {missing} (scripts/setup.sh test installs them)")


class WinePrefix:
    """One prefix directory and its own wineserver, started under the X display; `arch` is
    win64 (the default, WoW64 once 32-bit Wine is installed) or win32."""

    def __init__(self, path, display, arch="win64"):
        self.path = Path(path)
        self.display = display
        self.arch = arch
        self.loader = LOADERS[arch]

    def env(self, **extra):
        return wine_env(self.path, self.display, {"WINEARCH": self.arch, **extra})

    @property
    def drive_c(self):
        return self.path / "drive_c"

    def unix_path(self, windows_path):
        """C:\\Velkaro\\x.txt -> <prefix>/drive_c/Velkaro/x.txt"""
        drive, _, rest = windows_path.partition(":")
        if drive.upper() != "C":
            raise ValueError(f"not a path on drive C: {windows_path}")
        return self.drive_c.joinpath(*[p for p in rest.split("\\") if p])

    def run(self, *args, timeout=60, check=True, env=None):
        """Runs a Wine command (the prefix's loader with ARGS) in it; returns (status, stdout).

        Output goes through files, not pipes: Wine's own processes started on the way
        (services, the desktop) inherit the command's output handles and outlive it, so a
        pipe would not reach its end before the wineserver does.
        """
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            status = subprocess.run([self.loader, *args], env=env or self.env(),
                                    stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                                    timeout=timeout).returncode
            out.seek(0)
            err.seek(0)
            stdout, stderr = out.read(), err.read()
        if check and status != 0:
            raise RuntimeError(f"wine {' '.join(args)} failed ({status}): "
                               f"{stderr.decode(errors='replace')[-2000:]}")
        return status, stdout

    def reg_add(self, key, name, reg_type, data):
        self.run("reg", "add", key, "/v", name, "/t", reg_type, "/d", data, "/f")

    def reg_import(self, text):
        """Imports a REGEDIT4 text (ASCII) with regedit."""
        path = self.drive_c / "velkaro-e2e-import.reg"
        path.write_bytes(text.replace("\n", "\r\n").encode("ascii"))
        try:
            self.run("regedit", "/S", r"C:\velkaro-e2e-import.reg")
        finally:
            path.unlink()

    def set_windows_version(self, version):
        """winecfg -v VERSION, e.g. winxp64, win2003, win7, win10; winxp and win98 only in a
        32-bit prefix."""
        self.run("winecfg", "-v", version)

    def start_server(self):
        """Starts this prefix's wineserver, persistent (-p), under the display, and Wine's own
        processes (services, desktop) with it, detached from any caller's output: a test
        process that started them would lend them its pipes (ctest then waits for the pipe
        to close until its timeout)."""
        subprocess.run(["wineserver", "-p"], env=self.env(), check=True, timeout=30,
                       stdin=subprocess.DEVNULL)
        self.run("cmd", "/c", "exit", timeout=120)

    def stop_server(self, timeout=30):
        """Kills this prefix's wineserver with all its processes and waits until it is gone."""
        if not self.path.exists():
            return
        for flag in ("-k", "-w"):  # kill, then wait until it has ended
            subprocess.run(["wineserver", flag], env=self.env(), timeout=timeout,
                           stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)

    def remove(self):
        shutil.rmtree(self.path, ignore_errors=True)


def make_template(path, display, arch="win64"):
    """A fresh prefix with the harness settings, its wineserver stopped."""
    check_fonts()
    prefix = WinePrefix(path, display, arch)
    prefix.remove()
    prefix.path.parent.mkdir(parents=True, exist_ok=True)
    try:
        prefix.run("wineboot", "-i", timeout=300)
        prefix.reg_import(TEMPLATE_REG)
    finally:
        prefix.stop_server()
    return prefix


def copy_prefix(template, path):
    """A copy of the template at `path` (an old one there is replaced).

    The Windows system folders (system32 and syswow64, hundreds of MB of DLLs that Wine only
    reads) are hard-linked, the rest (registry, settings, user folders) copied, so that a copy
    costs a fraction of a second and nothing a test changes reaches the template: Wine replaces
    its registry files by renaming, and a test writes its own files.
    """
    copy = WinePrefix(path, template.display, template.arch)
    copy.remove()
    windows = template.path / "drive_c" / "windows"
    system = {windows / "system32", windows / "syswow64"}

    def copy_file(src, dst):
        if Path(src).parent in system:
            os.link(src, dst)
        else:
            shutil.copy2(src, dst)

    shutil.copytree(template.path, copy.path, symlinks=True, copy_function=copy_file)
    return copy
