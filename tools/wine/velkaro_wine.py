"""The Wine harness shared by the end-to-end tests (tests/e2e), the tour of `make run`
(scripts/tour.py) and `make bench` (scripts/bench.py): the real Velkaro.exe in a prefix of
wine_prefix.py, watched from inside by probe.exe (tools/wine/probe) and driven by the mouse."""

import contextlib
import json
import re
import resource
import select
import shutil
import signal
import subprocess
import time
from pathlib import Path, PureWindowsPath
from typing import NamedTuple

from PIL import ImageGrab

from wine_prefix import LOADERS, REPO, Session, processes_using  # noqa: F401

# The window classes of the splash, the main window, the wait window and a message box.
SPLASH, MAIN, LADE, BOX = "VelkaroSplash", "VelkaroForm1", "VelkaroLade", "#32770"
PROGRAM, REPORT = r"C:\Velkaro\Velkaro.exe", r"C:\SystemInfo.txt"


class MenuEntry(NamedTuple):
    label: str  # the menu label's control: "Label2"
    caption: str  # its text: "Windows"
    panel: str  # the panel it shows: "P1(0)"


def program_facts():
    """(menu, pause) as the program states them, so that no script restates them: the menu
    entries from left to right (kMenu in src/app/layout.h; the last one shows the report's panel)
    and the report's pause after each ticked category in seconds (kSectionPause in
    src/report/report.h). A small parse of those lines of the headers: should the program move or
    rename them, this function is the one place to adapt."""
    layout = (REPO / "src" / "app" / "layout.h").read_text("utf-8")
    report = (REPO / "src" / "report" / "report.h").read_text("utf-8")
    # kMenu's rows hold a MenuEntry's fields in order: {label, "caption", left, width, panel}.
    table = re.search(r"\bkMenu\[[^\]]*\]\s*=\s*\{(.*?)\};", layout, re.S)
    block = table[1] if table else ""
    rows = re.findall(r'\{\s*(\d+),\s*"([^"]*)",\s*\d+,\s*\d+,\s*(\d+)\s*\}', block)
    pause = re.search(r"\bkSectionPause\s*=\s*([\d.]+)\s*;", report)
    if not rows or len(rows) != block.count("{") or not pause:  # every row read, or none
        raise RuntimeError("program_facts(): kMenu's rows in src/app/layout.h or kSectionPause in "
                           "src/report/report.h are no longer as it reads them")
    return ([MenuEntry(f"Label{label}", caption, f"P1({panel})") for label, caption, panel in rows],
            float(pause[1]))


# The menu labels, their captions and the panels they show, left to right (the last is the
# report's); the report's pause after each category, in seconds.
MENU, SECTION_PAUSE = program_facts()


def wait_for(condition, timeout, what):
    """condition()'s first truthy value within `timeout` seconds, polled every 20 ms."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            value = condition()
        except Exception as e:  # the state may still be changing
            value = e
        if value and not isinstance(value, Exception):
            return value
        assert time.monotonic() < deadline, f"{what}: not within {timeout} s (last: {value!r})"
        time.sleep(0.02)


class Probe:
    """probe.exe in a prefix: one JSON command a call, one JSON answer. Wine gives a process the
    WINE*, LANG and LC_* variables of its parent's Unix environment, so those (`env`) and a limit
    on the size of the files it and what it launches may write (`file_limit`, as on a full disk)
    are the probe's own, fixed when it starts."""

    def __init__(self, prefix, exe, env=None, file_limit=None):
        def limit_files():
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)  # a failed write, not a killed process
            resource.setrlimit(resource.RLIMIT_FSIZE, (file_limit, file_limit))

        self.process = subprocess.Popen(
            [LOADERS[prefix.arch], str(exe)], env=prefix.env(**(env or {})),
            preexec_fn=limit_files if file_limit else None, cwd=prefix.drive_c,
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.hello = self("hello", timeout=60)

    def __call__(self, *command, timeout=20):
        """Sends ["name", args...]; returns the answer, or raises RuntimeError."""
        self.process.stdin.write(json.dumps(command).encode() + b"\n")
        self.process.stdin.flush()
        if not select.select([self.process.stdout], [], [], timeout)[0]:
            raise RuntimeError(f"no answer to {command[0]} within {timeout} s")
        answer = json.loads(self.process.stdout.readline() or '{"ok": 0, "error": "it ended"}')
        if not answer.pop("ok"):
            raise RuntimeError(f"{command}: {answer['error']}")
        return answer

    def wait(self, name, timeout, *args):  # a command with a deadline of `timeout` seconds
        return self(name, int(timeout * 1000), *args, timeout=timeout + 20)

    def quit(self):
        try:
            self.process.communicate(b'["quit"]\n', timeout=10)
        except (OSError, ValueError, subprocess.TimeoutExpired):
            self.process.kill()
            self.process.wait()


class App:
    """Velkaro.exe at C:\\Velkaro\\ in a fresh prefix of the session, the probe beside it."""

    def __init__(self, session, name, build, arch="win64"):
        self.session, self.build, self.probe = session, build, None
        self.prefix = session.new_prefix(name, arch)
        self.unix_path = self.prefix.unix_path
        self.unix_path(PROGRAM).parent.mkdir()
        shutil.copy2(build / "bin" / "Velkaro.exe", self.unix_path(PROGRAM))

    def start(self, overrides="", env=None, file_limit=None):
        """A new probe (`overrides` added to WINEDLLOVERRIDES), which starts the program."""
        if self.probe:
            self.probe.quit()
        env = {"WINEDLLOVERRIDES": "mscoree,mshtml=;" + overrides, **(env or {})}
        self.probe = Probe(self.prefix, self.build / "bin" / "probe.exe", env, file_limit)
        self.launch()

    def launch(self):  # probe times ("t", ms) count from here
        self.proc = self.probe("launch", PROGRAM, r"C:\Velkaro")["proc"]

    def wait_start(self):  # the splash's and the main window's answers ("t": when each showed)
        return self.wait_window(SPLASH, "visible", 10), self.wait_main()

    def wait_main(self, timeout=20):  # the main window's answer once it has every control
        main = self.wait_window(MAIN, "visible", timeout)
        wait_for(lambda: len(self.controls()) == self.probe.hello["controls"], timeout,
                 "every control of the main window")
        return main

    def close(self):
        try:
            if self.probe:
                self.probe.quit()
        finally:
            self.session.release(self.prefix)

    def window(self, cls, name=None):
        """The top-level window of the class, or with `name` its control, as it is now; or None."""
        return self.probe.wait("wait", 0, cls, name, "exists")["window"]

    def wait_window(self, cls, condition, timeout, name=None, text=None):
        """{"met", "t", "window"} once the window (or control) meets the condition (probe.cpp)."""
        answer = self.probe.wait("wait", timeout, cls, name, condition, text)
        assert answer["met"], f"{cls} {name} not {condition} {text} in {timeout} s: {answer}"
        return answer

    def controls(self, cls=MAIN):  # {name: control} of the window
        return {c["name"]: c for c in self.probe("controls", cls)["controls"]}

    def text(self, name):
        return self.window(MAIN, name)["text"]

    def wait_control(self, name, condition, timeout, text=None):
        return self.wait_window(MAIN, condition, timeout, name, text)["window"]

    def visible_panels(self):
        return [p for p, c in self.controls().items() if p.startswith("P1(") and c["visible"]]

    def sync(self, timeout, cls=MAIN):  # WM_NULL to the window: {"replied", "sent", "synced"}
        return self.probe.wait("sync", timeout, cls)

    def wait_exit(self, timeout):  # {"exited", "exit_code", "t"}
        return self.probe.wait("wait_exit", timeout, self.proc)

    def processes(self):
        """{exe name: Unix pid} of the prefix's processes (Wine's command line: the exe's path)."""
        found = {}
        for pid in processes_using(self.prefix.path):
            with contextlib.suppress(OSError):
                exe = Path(f"/proc/{pid}/cmdline").read_bytes().split(b"\0")[0].decode()
                found[PureWindowsPath(exe).name.lower()] = pid
        return found

    def maps(self, dll):
        """Whether the program has mapped the DLL, as Wine maps every DLL it loads."""
        return dll in Path(f"/proc/{self.processes()['velkaro.exe']}/maps").read_text().lower()

    def xdotool(self, *args):  # real input, through XTEST
        return subprocess.run(["xdotool", *map(str, args)], check=True, capture_output=True,
                              text=True, timeout=20, env={"DISPLAY": self.prefix.display}).stdout

    def move(self, x, y):
        self.xdotool("mousemove", x, y)
        wait_for(lambda: f"X={x}\nY={y}\n" in self.xdotool("getmouselocation", "--shell"), 5,
                 f"the pointer at {x}, {y}")

    def point_on(self, name, controls=None):
        """The point nearest to the control's centre (2-pixel grid) outside every other visible
        control that does not contain it."""
        controls = controls or self.controls()
        left, top, right, bottom = controls[name]["rect"]
        others = [r for n, c in controls.items() if c["visible"] and n != name for r in [c["rect"]]
                  if not (r[0] <= left and r[1] <= top and r[2] >= right and r[3] >= bottom)]
        points = sorted(((x, y) for x in range(left, right, 2) for y in range(top, bottom, 2)),
                        key=lambda p: (2 * p[0] - left - right) ** 2 + (2 * p[1] - top - bottom) ** 2)
        return next(p for p in points
                    if not any(r[0] <= p[0] < r[2] and r[1] <= p[1] < r[3] for r in others))

    def click(self, name, button=1, repeat=1, at=None):
        """Clicks with mouse button 1 (left) or 3 (right), `repeat` times 50 ms apart."""
        self.move(*(at or self.point_on(name)))
        self.xdotool("click", "--repeat", repeat, "--delay", 50, button)

    def hover(self, name):
        self.move(*self.point_on(name))

    def drag(self, name, dx, dy, button=1):
        """Presses on the control, moves by (dx, dy) in eight steps, releases."""
        x, y = self.point_on(name)
        self.move(x, y)
        self.xdotool("mousedown", button)
        for i in range(1, 9):
            self.move(x + dx * i // 8, y + dy * i // 8)
        self.xdotool("mouseup", button)

    def show(self, entry):
        """A click on the menu entry's label (of MENU), waited for until its panel shows: every
        earlier input is handled."""
        self.click(entry.label)
        self.wait_control(entry.panel, "visible", 10)

    def grab(self, rect=None):
        """The screen, or a rectangle of it, as a PIL image."""
        return ImageGrab.grab(rect and tuple(rect), xdisplay=self.prefix.display)

    def wait_message_box(self, timeout):
        """{"title", "text", "t"} of the message box once it shows."""
        answer = self.wait_window(BOX, "visible", timeout)
        return {"title": answer["window"]["text"], "t": answer["t"],
                "text": self.window(BOX, "65535")["text"]}

    def press_ok(self):
        self.click(None, at=self.point_on("1", self.controls(BOX)))  # IDOK
        self.wait_window(BOX, "gone", 10)

    def file_bytes(self, windows_path):
        path = self.unix_path(windows_path)
        return path.read_bytes() if path.exists() else None
