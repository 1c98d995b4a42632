"""A private X server (Xvfb) for a test run."""

import os
import select
import shutil
import subprocess
import time


class Xvfb:
    """Xvfb on a free display number chosen by the server itself (-displayfd)."""

    def __init__(self, width=1280, height=1024, depth=24):
        self.geometry = f"{width}x{height}x{depth}"
        self.process = None
        self.display = None

    def start(self, timeout=15):
        if not shutil.which("Xvfb"):
            raise RuntimeError("Xvfb is not installed (scripts/setup.sh test)")
        read_fd, write_fd = os.pipe()
        try:
            self.process = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", self.geometry,
                 "-nolisten", "tcp", "-dpi", "96", "-noreset"],
                pass_fds=(write_fd,), stdin=subprocess.DEVNULL,
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        finally:
            os.close(write_fd)
        number = b""
        deadline = time.monotonic() + timeout
        try:
            # The server writes the display number and a newline once it accepts connections.
            while not number.endswith(b"\n"):
                if time.monotonic() > deadline or self.process.poll() is not None:
                    self.stop()
                    raise RuntimeError("Xvfb did not start")
                ready, _, _ = select.select([read_fd], [], [], 0.1)
                if not ready:
                    continue
                chunk = os.read(read_fd, 64)
                if not chunk:
                    self.stop()
                    raise RuntimeError("Xvfb closed its display pipe without a number")
                number += chunk
        finally:
            os.close(read_fd)
        self.display = ":" + number.decode().strip()
        return self

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait(timeout=10)
        self.process = None

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()

