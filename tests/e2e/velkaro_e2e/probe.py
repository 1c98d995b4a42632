"""Client of probe.exe, the harness's agent inside the Wine prefix (tests/e2e/probe)."""

import json
import os
import resource
import select
import signal
import subprocess
import time

from .wine import LOADERS


class ProbeError(RuntimeError):
    """The probe refused a command, or did not answer in time."""


class Probe:
    """probe.exe in a prefix: one JSON command a call, one JSON answer. Wine gives a process the
    WINE*, LANG and LC_* variables of its parent's Unix environment, so those (`env`) and a
    limit on the size of the files it and what it launches may write (`file_limit`, as on a
    full disk) are the probe's own, fixed when it starts."""

    def __init__(self, prefix, exe, env=None, file_limit=None):
        def limit_files():
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)  # a failed write, not a killed process
            resource.setrlimit(resource.RLIMIT_FSIZE, (file_limit, file_limit))

        self.process = subprocess.Popen(
            [LOADERS[prefix.arch], str(exe)], env=prefix.env(**(env or {})),
            preexec_fn=limit_files if file_limit else None, cwd=prefix.drive_c,
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self._buffer = b""
        self.hello = self("hello", timeout=60)

    def __call__(self, *command, timeout=20):
        """Sends ["name", args...]; returns the answer, or raises ProbeError."""
        self.process.stdin.write(json.dumps(command).encode() + b"\n")
        self.process.stdin.flush()
        deadline = time.monotonic() + timeout
        while b"\n" not in self._buffer:
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([self.process.stdout], [], [], left)[0]:
                raise ProbeError(f"no answer to {command[0]} within {timeout} s")
            chunk = os.read(self.process.stdout.fileno(), 1 << 16)
            if not chunk:
                raise ProbeError(f"the probe ended while answering {command[0]}")
            self._buffer += chunk
        line, _, self._buffer = self._buffer.partition(b"\n")
        answer = json.loads(line)
        if not answer.pop("ok"):
            raise ProbeError(f"{command}: {answer['error']}")
        return answer

    def wait(self, name, timeout, *args):
        """A wait_* or sync command, its deadline `timeout` seconds; its answer."""
        return self(name, int(timeout * 1000), *args, timeout=timeout + 20)

    def quit(self):
        try:
            self.process.communicate(b'["quit"]\n', timeout=10)
        except (OSError, ValueError, subprocess.TimeoutExpired):
            self.process.kill()
            self.process.wait()
