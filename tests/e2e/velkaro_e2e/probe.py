"""Client of probe.exe, the harness's agent inside the Wine prefix (tests/e2e/probe)."""

import json
import os
import resource
import select
import signal
import subprocess
import time

# Variables a Wine process takes from its parent's Unix environment only.
UNIX_ONLY = ("WINE", "LANG", "LC_")

class ProbeError(RuntimeError):
    """The probe refused a command, answered nonsense or did not answer in time."""


class Probe:
    """probe.exe running in a prefix; one command per call, one JSON answer per command.

    Times in answers ("t") are milliseconds since the latest launch, taken inside the
    prefix with QueryPerformanceCounter.
    """

    def __init__(self, prefix, exe, log_path, timeout=60):
        self._prefix, self._exe, self._log_path = prefix, exe, log_path
        self._unix_env = {}  # Wine's own variables for the probe and what it launches
        self._file_limit = None  # largest file the probe and what it launches may write
        self._launched = False
        self._start(timeout)

    def _start(self, timeout):
        self._log = open(self._log_path, "ab")
        self.process = subprocess.Popen(
            [self._prefix.loader, str(self._exe)], env=self._prefix.env(**self._unix_env),
            preexec_fn=self._limit_files if self._file_limit else None,
            cwd=str(self._prefix.drive_c), stdin=subprocess.PIPE, stdout=subprocess.PIPE,
            stderr=self._log)
        self._buffer = b""
        try:
            self.hello = self.call("hello", timeout=timeout)
        except Exception:
            self.kill()
            raise

    # ---- transport ----

    def call(self, command, *args, timeout=20):
        """Sends one command and returns its answer; raises ProbeError unless "ok"."""
        fields = [command, *(str(a) for a in args)]
        if any("\t" in f or "\n" in f for f in fields):
            raise ValueError(f"a probe field may not hold TAB or newline: {fields!r}")
        if self.process.poll() is not None:
            raise ProbeError(f"probe has ended (exit status {self.process.returncode})")
        try:
            self.process.stdin.write(("\t".join(fields) + "\n").encode("utf-8"))
            self.process.stdin.flush()
        except BrokenPipeError as e:
            raise ProbeError("probe has closed its input") from e
        line = self._read_line(timeout, command)
        try:
            answer = json.loads(line)
        except json.JSONDecodeError as e:
            raise ProbeError(f"probe answered {line!r} to {command}") from e
        if not answer.get("ok"):
            raise ProbeError(f"{' '.join(fields)}: {answer.get('error')}")
        return answer

    def _read_line(self, timeout, command):
        deadline = time.monotonic() + timeout
        fd = self.process.stdout.fileno()
        while b"\n" not in self._buffer:
            remaining = deadline - time.monotonic()
            if remaining <= 0:
                raise ProbeError(f"no answer to {command} within {timeout} s")
            ready, _, _ = select.select([fd], [], [], remaining)
            if ready:
                chunk = os.read(fd, 65536)
                if not chunk:
                    raise ProbeError(f"probe ended while answering {command}")
                self._buffer += chunk
        line, _, self._buffer = self._buffer.partition(b"\n")
        return line.decode("utf-8")

    def quit(self, timeout=10):
        """Ends the probe; kills it when it does not end in time."""
        if self.process.poll() is None:
            try:
                self.call("quit", timeout=timeout)
                self.process.wait(timeout=timeout)
            except (ProbeError, subprocess.TimeoutExpired, OSError):
                self.kill()
        self._close_pipes()

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait(timeout=10)
        self._close_pipes()

    def _close_pipes(self):
        for stream in (self.process.stdin, self.process.stdout):
            try:
                stream.close()
            except OSError:
                pass
        self._log.close()

    # ---- processes ----

    def setenv(self, name, value):
        """Sets a variable for the processes launched from now on.

        Wine gives a new process the WINE* variables (WINEDLLOVERRIDES, ...) and the locale
        (LANG, LC_*) of its parent's Unix environment, not of its Windows one: for those the
        probe starts anew with the variable, which is only possible before its first launch.
        """
        if not name.upper().startswith(UNIX_ONLY):
            self.call("setenv", name, value)
            return
        if self._launched:
            raise ProbeError(f"{name} must be set before the first launch")
        self.quit()
        self._unix_env[name] = value
        self._start(timeout=60)

    def limit_file_size(self, size):
        """Lets the processes launched from now on write files of at most `size` bytes, as a
        full disk would (a write beyond fails); only before the first launch."""
        self._file_limit = size
        self.restart()

    def _limit_files(self):
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)  # a failed write, not a killed process
        resource.setrlimit(resource.RLIMIT_FSIZE, (self._file_limit, self._file_limit))

    def restart(self, while_down=None, timeout=60):
        """Ends the probe, runs while_down() (a wineserver restart, say) and starts it anew;
        only before the first launch."""
        if self._launched:
            raise ProbeError("the probe can only restart before the first launch")
        self.quit()
        if while_down:
            while_down()
        self._start(timeout=timeout)

    def launch(self, command_line, cwd=""):
        """Starts a process; returns {"proc": n, "pid": ...}. Resets the time base."""
        self._launched = True
        return self.call("launch", command_line, cwd)

    def process_state(self, proc):
        return self.call("proc", proc)

    def wait_exit(self, proc, timeout):
        """{"exited", "exit_code", "t"}; waits at most `timeout` seconds."""
        ms = int(timeout * 1000)
        return self.call("wait_exit", proc, ms, timeout=timeout + 10)

    def terminate(self, proc):
        return self.call("terminate", proc, timeout=20)

    def processes(self):
        """[{"pid", "exe"}] of every process in the prefix."""
        return self.call("processes")["processes"]

    def modules(self, proc):
        """The names of the DLLs a launched process has loaded, in lower case."""
        return {name.lower() for name in self.call("modules", proc)["modules"]}

    def windows(self):
        """Every top-level window of the prefix's desktop: hwnd, pid, class, title, visible,
        rect, client."""
        return self.call("windows")["windows"]

    def close_window(self, hwnd):
        """Posts WM_CLOSE to a top-level window."""
        return self.call("close_window", hwnd)

    def now(self):
        return self.call("now")["t"]

    # ---- windows and controls ----

    def window(self, cls, title=None):
        """The top-level window of the class (a visible one first), or None."""
        args = [cls] if title is None else [cls, title]
        return self.call("window", *args)["window"]

    def wait_window(self, cls, condition, timeout, title=None):
        """Polls every 1 ms until the window exists/is visible/hidden/gone.

        Returns {"met", "t", "window"}. Condition "visible_sync" also syncs with the window
        at once when it shows (see sync) and adds "replied", "sent" and "synced".
        """
        args = [cls, int(timeout * 1000), condition] + ([] if title is None else [title])
        return self.call("wait_window", *args, timeout=timeout + 10)

    def control(self, cls, name):
        """The descendant control of the window with that name ("Text1(8)") or ID, or None."""
        return self.call("control", cls, name)["control"]

    def set_text(self, cls, name, text):
        """Writes the control's text with WM_SETTEXT, as if the user had typed it."""
        return self.call("set_text", cls, name, text)["sent"]

    def controls(self, cls):
        """All descendant controls of the window, each with id, name, class, visible, rect,
        text, and check or items where they apply."""
        return self.call("controls", cls, timeout=120)["controls"]

    def table(self):
        """The main window's control table as the program is built from it: id, name,
        parent name, visible at start, caption."""
        return self.call("table")["controls"]

    def wait_control(self, cls, name, condition, timeout, value=None):
        """Polls every 1 ms until the control exists/is visible/hidden/has text `value`
        (condition "text")/has another text ("text_not"). Returns {"met", "t", "control"}."""
        args = [cls, name, int(timeout * 1000), condition] + ([] if value is None else [value])
        return self.call("wait_control", *args, timeout=timeout + 10)

    def sync(self, cls, timeout=5):
        """SendMessageTimeout(WM_NULL) to the window: {"replied", "sent", "synced"}, the
        times at which it was sent and at which the window's thread took it."""
        return self.call("sync", cls, int(timeout * 1000), timeout=timeout + 10)

    # ---- registry ----

    def reg_get(self, key, name, view=""):
        """{"found", "type", "value"} of a value; `view` "32"/"64" picks a registry view."""
        return self.call("reg_get", key, name, view)

    def reg_set(self, key, name, reg_type, data):
        self.call("reg_set", key, name, reg_type, data)
