#!/usr/bin/python3
"""The Wine part of `make test`: the Win32 GoogleTests (x64 in a 64-bit prefix, x86 in a 32-bit
prefix set to Windows XP) and the end-to-end scenarios of tests/e2e, under one Xvfb, in throw-away
prefixes under build/wine-e2e/ that it removes again (the Wine harness of tools/wine). Exits
non-zero on a failure, when a process of its prefixes outlives the run and when the 32-bit loader
does not run (unless VELKARO_SKIP_WIN32=1 skips the 32-bit program's runs)."""

import argparse
import signal
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

E2E = Path(__file__).resolve().parent / "e2e"
sys.path[:0] = [str(E2E), str(E2E.parents[1] / "tools" / "wine")]
import velkaro_e2e  # noqa: E402
from velkaro_e2e import BUILDS  # noqa: E402
from velkaro_wine import LOADERS, REPO, Session, processes_using  # noqa: E402


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    for name, tree in [("build", "x64"), ("gtest", "x64-gtest"), ("build-x86", "x86"),
                       ("gtest-x86", "x86-gtest")]:
        parser.add_argument(f"--{name}", type=Path, default=REPO / "build" / tree)
    parser.add_argument("-k", dest="names", action="append", help="scenarios whose name holds it")
    parser.add_argument("--no-ctest", action="store_true", help="no Win32 GoogleTests")
    args = parser.parse_args()
    BUILDS.update(win64=args.build.resolve(), win32=args.build_x86.resolve())
    arches = ("win64",) if velkaro_e2e.SKIP_WIN32 else ("win64", "win32")
    try:  # a kernel built or booted without 32-bit emulation (or WSL 1) cannot exec the loader
        if "win32" in arches:
            subprocess.run([LOADERS["win32"], "--version"], capture_output=True, timeout=60)
    except OSError as e:
        print(f"The 32-bit Wine loader does not run ({e}), as where the kernel runs no 32-bit "
              "programs (32-bit emulation off, WSL 1): VELKARO_SKIP_WIN32=1 (make test "
              "SKIP_WIN32=1) skips the 32-bit program's Wine runs")
        return 1
    skipped = [] if args.no_ctest or "win32" in arches else ["Win32 GoogleTests, win32"]
    # A terminated run still tears down its prefixes, wineservers and X server.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(128 + signal.SIGTERM))
    failed, started = [], time.monotonic()
    run = velkaro_e2e.SESSION = Session(arches)
    times = {"Xvfb and templates": time.monotonic() - started}
    try:
        # The two programs' GoogleTests side by side, each in its own prefix and wineserver: they
        # mostly wait (timers, deadlines), so together they take about as long as one.
        ctests = [("win64", args.gtest, None), ("win32", args.gtest_x86, "winxp")]
        mark, running = time.monotonic(), []
        for arch, build, version in [c for c in ctests if c[0] in arches and not args.no_ctest]:
            prefix = run.new_prefix(f"ctest-{arch}", arch)
            if version:
                prefix.run("winecfg", "-v", version)
            out = tempfile.TemporaryFile()
            running.append((arch, prefix, out, subprocess.Popen(
                ["ctest", "--test-dir", build, "-L", "win32", "--timeout", "600",
                 "--no-tests=error", "--output-on-failure"], env=prefix.env(),
                stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT)))
        for arch, prefix, out, ctest in running:
            if ctest.wait():
                failed.append(f"Win32 GoogleTests, {arch}")
            out.seek(0)
            sys.stdout.write(out.read().decode("utf-8", "replace"))
            sys.stdout.flush()
            out.close()
            run.release(prefix)
        if running:
            arches_run = " + ".join(arch for arch, *_ in running)
            times[f"Win32 GoogleTests, {arches_run}"] = time.monotonic() - mark
        mark, loader = time.monotonic(), unittest.TestLoader()
        loader.testNamePatterns = args.names and [f"*{n}*" for n in args.names]
        result = unittest.TextTestRunner(stream=sys.stdout, verbosity=2).run(
            loader.discover(str(E2E), top_level_dir=str(E2E)))
        times["end-to-end scenarios"] = time.monotonic() - mark
        skipped += [t.id() for t, why in result.skipped if why == "VELKARO_SKIP_WIN32=1"]
        if not result.wasSuccessful() or not result.testsRun:
            failed.append("end-to-end scenarios")
    finally:
        run.stop()
    if run.strays + processes_using(run.work):
        failed.append(f"processes left over: {run.strays}")
    print("\n== Wine tests ==")
    for step, seconds in {**times, "total": time.monotonic() - started}.items():
        print(f"  {step:<34} {seconds:6.1f} s")
    print("  " + ("FAILED: " + "; ".join(failed) if failed else "passed"))
    if skipped:
        print("  skipped, the 32-bit program (VELKARO_SKIP_WIN32=1): " + "; ".join(skipped))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
