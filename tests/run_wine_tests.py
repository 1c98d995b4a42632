#!/usr/bin/env python3
"""The Wine part of `make test`.

Starts Xvfb and a template Wine prefix, runs the Win32 GoogleTest binaries of the x64 build
with ctest inside one throw-away prefix (wineserver kept up with -p), then the end-to-end
tests of tests/e2e (each test class in a fresh copy of the template), and tears everything
down: its own wineservers, its own Xvfb, every prefix. Exits non-zero on any failure.

Usage: tests/run_wine_tests.py [BUILD_DIR | --build BUILD_DIR] [-k TEXT] [--no-ctest] [--no-e2e]
"""

import argparse
import os
import signal
import subprocess
import sys
import time
import unittest
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
E2E = REPO / "tests" / "e2e"
sys.path.insert(0, str(E2E))

from velkaro_e2e import Environment, use_environment  # noqa: E402
from velkaro_e2e.environment import processes_using  # noqa: E402


class TimedResult(unittest.TextTestResult):
    """Keeps the time spent per test class: from the end of the previous test to the end of
    its last test, so the class's set-up (a fresh prefix, a program start) counts too."""

    def __init__(self, *args, **kwargs):
        super().__init__(*args, **kwargs)
        self.class_seconds = {}
        self._mark = time.monotonic()

    def stopTest(self, test):
        super().stopTest(test)
        now = time.monotonic()
        name = type(test).__name__
        self.class_seconds[name] = self.class_seconds.get(name, 0) + now - self._mark
        self._mark = now


def run_ctest(env, build_dir):
    """The win32-labelled tests of the build, in one prefix of their own."""
    prefix = env.new_prefix("ctest")
    try:
        return subprocess.run(
            ["ctest", "--test-dir", str(build_dir), "-L", "win32", "--output-on-failure",
             "--no-tests=error", "--timeout", "600"],
            env=prefix.env(), stdin=subprocess.DEVNULL).returncode
    finally:
        env.release(prefix)


def run_e2e(pattern, names):
    loader = unittest.TestLoader()
    if names:
        loader.testNamePatterns = [f"*{n}*" for n in names]
    suite = loader.discover(start_dir=str(E2E), pattern=pattern, top_level_dir=str(E2E))
    runner = unittest.TextTestRunner(stream=sys.stdout, verbosity=2, resultclass=TimedResult)
    return runner.run(suite)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build_dir", nargs="?", help="the x64 build (default build/x64)")
    parser.add_argument("--build", dest="build_option", help="the same, as an option")
    parser.add_argument("-k", dest="names", action="append", default=[],
                        help="run only the end-to-end tests whose name holds this text")
    parser.add_argument("--pattern", default="test*.py", help="end-to-end test files")
    parser.add_argument("--no-ctest", action="store_true", help="skip the Win32 GoogleTests")
    parser.add_argument("--no-e2e", action="store_true", help="skip the end-to-end tests")
    args = parser.parse_args()

    build_dir = Path(args.build_option or args.build_dir or REPO / "build" / "x64").resolve()
    for exe in ("Velkaro.exe", "probe.exe"):
        if not args.no_e2e and not (build_dir / "bin" / exe).is_file():
            print(f"run_wine_tests: {build_dir / 'bin' / exe} is missing: build {build_dir} first",
                  file=sys.stderr)
            return 2
    os.environ["VELKARO_BUILD_DIR"] = str(build_dir)
    # A terminated run still tears down its prefixes, wineservers and X server.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(128 + signal.SIGTERM))

    started = time.monotonic()
    env = Environment(build_dir)
    ctest_status, e2e = None, None
    timings = {}
    try:
        env.start()
        use_environment(env)
        timings["Xvfb and template prefix"] = time.monotonic() - started
        if not args.no_ctest:
            t = time.monotonic()
            ctest_status = run_ctest(env, build_dir)
            timings["Win32 GoogleTests (ctest)"] = time.monotonic() - t
        if not args.no_e2e:
            t = time.monotonic()
            e2e = run_e2e(args.pattern, args.names)
            timings["end-to-end tests"] = time.monotonic() - t
    finally:
        t = time.monotonic()
        env.stop()
        timings["teardown"] = time.monotonic() - t
        strays = env.strays + processes_using(env.work_dir)

    print("\n== Wine tests ==")
    for step, seconds in timings.items():
        print(f"  {step:<28} {seconds:6.1f} s")
    if e2e is not None:
        for name, seconds in sorted(e2e.class_seconds.items()):
            print(f"    {name:<26} {seconds:6.1f} s")
    print(f"  {'total':<28} {time.monotonic() - started:6.1f} s")
    failed = False
    if ctest_status is not None:
        print(f"  ctest: {'passed' if ctest_status == 0 else f'FAILED (status {ctest_status})'}")
        failed |= ctest_status != 0
    if e2e is not None:
        bad = len(e2e.failures) + len(e2e.errors) + len(e2e.unexpectedSuccesses)
        print(f"  end-to-end: {e2e.testsRun} run, {len(e2e.skipped)} skipped, {bad} failed")
        failed |= bad > 0 or e2e.testsRun == 0
    if strays:
        print(f"  left-over processes: {strays}")
        failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
