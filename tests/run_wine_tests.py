#!/usr/bin/env python3
"""The Wine part of `make test`.

Starts Xvfb and a template Wine prefix, runs the Win32 GoogleTest binaries with ctest inside
throw-away prefixes (wineserver kept up with -p): the x64 ones in a 64-bit prefix, the x86 ones
in a 32-bit prefix set to Windows XP; then the end-to-end tests of tests/e2e (each test class
in a fresh copy of its template: 64-bit, or 32-bit for the x86 program's classes), and tears
everything down: its own wineservers, its own Xvfb, every prefix. Exits non-zero on any failure.

Usage: tests/run_wine_tests.py [--build DIR] [--gtest DIR] [--build-x86 DIR] [--gtest-x86 DIR]
                               [-k TEXT] [--no-ctest] [--no-e2e]
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


def run_ctest(env, build_dir, arch, windows_version=None):
    """The win32-labelled tests of the build, in one prefix of their own."""
    prefix = env.new_prefix(f"ctest-{arch}", arch)
    try:
        if windows_version:
            prefix.set_windows_version(windows_version)
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
    parser.add_argument("build_dir", nargs="?", help="the x64 program build (default build/x64)")
    parser.add_argument("--build", dest="build_option", help="the same, as an option")
    parser.add_argument("--gtest", help="the x64 Win32 GoogleTest build (default build/x64-gtest)")
    parser.add_argument("--build-x86", help="the x86 program build (default build/x86)")
    parser.add_argument("--gtest-x86", help="the x86 Win32 GoogleTest build "
                        "(default build/x86-gtest)")
    parser.add_argument("-k", dest="names", action="append", default=[],
                        help="run only the end-to-end tests whose name holds this text")
    parser.add_argument("--pattern", default="test*.py", help="end-to-end test files")
    parser.add_argument("--no-ctest", action="store_true", help="skip the Win32 GoogleTests")
    parser.add_argument("--no-e2e", action="store_true", help="skip the end-to-end tests")
    args = parser.parse_args()

    build = REPO / "build"
    build_dir = Path(args.build_option or args.build_dir or build / "x64").resolve()
    x86_dir = Path(args.build_x86 or build / "x86").resolve()
    gtests = [("win64", Path(args.gtest or build / "x64-gtest").resolve(), None),
              ("win32", Path(args.gtest_x86 or build / "x86-gtest").resolve(), "winxp")]
    needed = [] if args.no_e2e else [d / "bin" / exe for d in (build_dir, x86_dir)
                                     for exe in ("Velkaro.exe", "probe.exe")]
    needed += [] if args.no_ctest else [d / "bin" / "win32_tests.exe" for _, d, _ in gtests]
    for path in needed:
        if not path.is_file():
            print(f"run_wine_tests: {path} is missing: build it first", file=sys.stderr)
            return 2
    os.environ["VELKARO_BUILD_DIR"] = str(build_dir)
    os.environ["VELKARO_BUILD_DIR_X86"] = str(x86_dir)
    # A terminated run still tears down its prefixes, wineservers and X server.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(128 + signal.SIGTERM))

    started = time.monotonic()
    env = Environment(build_dir, x86_dir)
    ctest_status, e2e = {}, None
    timings = {}
    try:
        env.start()
        use_environment(env)
        timings["Xvfb and template prefix"] = time.monotonic() - started
        if not args.no_ctest:
            for arch, gtest_dir, version in gtests:
                t = time.monotonic()
                ctest_status[arch] = run_ctest(env, gtest_dir, arch, version)
                timings[f"Win32 GoogleTests, {arch}"] = time.monotonic() - t
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
    for arch, status in ctest_status.items():
        print(f"  ctest {arch}: {'passed' if status == 0 else f'FAILED (status {status})'}")
        failed |= status != 0
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
