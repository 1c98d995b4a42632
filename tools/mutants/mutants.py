#!/usr/bin/python3
"""Seeded faults: each fault of faults.jsonl (one small realistic change to src/) is made in a
worktree of HEAD under build/mutants/, the tests are built and run, and the fault is taken back.
A fault that no test sees is a hole; a test that alone sees some fault earns its place. Writes
build/mutants/results.jsonl (resumed when run again, unless --fresh) and prints, per test, the faults it sees and
those it alone sees.

Layers: the unit tests (native) and the 64-bit Win32 tests (under Wine); with --e2e, a fault
they both miss also meets the end-to-end tests (the 64-bit program; with --x86 both programs).
A fault: {"id", "file", "find" (text that occurs once in the file), "replace", "why"}."""

import argparse
import json
import os
import re
import subprocess
import sys
import time
import xml.etree.ElementTree as ET
from collections import Counter
from pathlib import Path

HERE = Path(__file__).resolve().parent
REPO = HERE.parents[1]
sys.path.insert(0, str(REPO / "tools" / "wine"))
from wine_prefix import Session  # noqa: E402

WORK = REPO / "build" / "mutants"
TREE = WORK / "tree"
PYTHON = "/usr/bin/python3"  # Debian's, with the harness's modules


def sh(*command, timeout=1800, **kwargs):
    try:
        done = subprocess.run(command, cwd=TREE, capture_output=True, timeout=timeout, **kwargs)
        return done.returncode, (done.stdout + done.stderr).decode("utf-8", "replace")
    except subprocess.TimeoutExpired:
        return "timeout", ""


def failed_tests(report):
    """The failed GoogleTests of an XML report; a scenario's name is that of its golden file."""
    if not report.exists():
        return ["(no report: the test program died)"]
    failed = []
    for case in ET.parse(report).getroot().iter("testcase"):
        failures = case.findall("failure")
        if not failures:
            continue
        name = f"{case.get('classname')}.{case.get('name')}"
        goldens = sorted({g for f in failures for g in re.findall(r"(\w+)\.golden",
                                                                    f.get("message", ""))})
        failed += [f"scenario {g}" for g in goldens] if name.startswith("Scenarios.") else [name]
    return failed


class Runner:
    def __init__(self, session, e2e, x86):
        self.session, self.e2e, self.x86 = session, e2e, x86
        self.prefix = session.new_prefix("mutants")

    def build(self):
        trees = [("build/native", "unit_tests"), ("build/x64-gtest", "win32_tests")]
        for tree, target in trees + ([("build/x64", None)] if self.e2e else []) + (
                [("build/x86", None)] if self.e2e and self.x86 else []):
            code, out = sh("cmake", "--build", tree, *(["--target", target] if target else []))
            if code:
                return out[-1500:]
        return None

    def gtests(self, command, report, env=None):
        report.unlink(missing_ok=True)
        code, _ = sh(*command, timeout=600, env=env)
        if code == "timeout":
            return ["(timed out)"]
        failed = failed_tests(report) if code else []
        return failed or ([f"(exit status {code})"] if code else [])

    def test(self, fault):
        seen = self.gtests(["build/native/tests/unit/unit_tests",
                            f"--gtest_output=xml:{WORK / 'unit.xml'}"], WORK / "unit.xml")
        xml = WORK / "win32.xml"
        seen += self.gtests(["/usr/lib/wine/wine64", "build/x64-gtest/bin/win32_tests.exe",
                             "--gtest_output=xml:Z:" + str(xml).replace("/", "\\")], xml,
                            self.prefix.env())
        if self.e2e and not seen:
            env = {k: v for k, v in os.environ.items() if not k.startswith("WINE")}
            code, out = sh(PYTHON, "tests/run_wine_tests.py", "--no-ctest", "--build", "build/x64",
                           "--build-x86", "build/x86", timeout=1800,
                           env={**env, **({} if self.x86 else {"VELKARO_SKIP_WIN32": "1"})})
            (WORK / f"e2e-{fault}.log").write_text(out, "utf-8")  # what the tests said
            # A test fails once for each of its subtests that fails: named once.
            seen += sorted({f"e2e {line.split()[1]}" for line in out.splitlines()
                            if line.startswith(("FAIL:", "ERROR:"))}) or (
                [f"e2e ({code})"] if code else [])
        return seen


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--faults", type=Path, default=HERE / "faults.jsonl")
    parser.add_argument("--only", help="ids, comma-separated")
    parser.add_argument("--e2e", action="store_true", help="end-to-end tests for what is missed")
    parser.add_argument("--x86", action="store_true", help="with --e2e: the 32-bit program too")
    parser.add_argument("--fresh", action="store_true", help="forget the earlier results")
    args = parser.parse_args()
    faults = [json.loads(line) for line in args.faults.read_text().splitlines() if line.strip()]
    if args.only:
        faults = [f for f in faults if f["id"] in args.only.split(",")]
    WORK.mkdir(parents=True, exist_ok=True)
    if not TREE.exists():
        subprocess.run(["git", "worktree", "prune"], cwd=REPO, check=True)
        subprocess.run(["git", "worktree", "add", "--detach", str(TREE), "HEAD"], cwd=REPO,
                       check=True)
    # The commit checked out here; -f also takes back a fault an interrupted run left in.
    head = subprocess.run(["git", "rev-parse", "HEAD"], cwd=REPO, capture_output=True, text=True,
                          check=True).stdout.strip()
    subprocess.run(["git", "checkout", "-q", "-f", "--detach", head], cwd=TREE, check=True)
    targets = ["native", "x64-gtest"] + (["x64"] + (["x86"] if args.x86 else []) if args.e2e
                                         else [])
    subprocess.run(["make", "--no-print-directory", *targets], cwd=TREE, check=True,
                   stdout=subprocess.DEVNULL)
    results = WORK / "results.jsonl"
    if args.fresh:
        results.unlink(missing_ok=True)
    done = {json.loads(line)["id"] for line in results.open()} if results.exists() else set()
    session = Session(("win64", "win32") if args.x86 else ("win64",))
    try:
        runner = Runner(session, args.e2e, args.x86)
        for fault in (f for f in faults if f["id"] not in done):
            path = TREE / fault["file"]
            text = path.read_text("utf-8")
            result = {"id": fault["id"], "why": fault["why"]}
            if text.count(fault["find"]) != 1:
                result["seen"] = None
                result["stale"] = "the text to change is not there once"
            else:
                started = time.monotonic()
                try:
                    path.write_text(text.replace(fault["find"], fault["replace"]), "utf-8")
                    error = runner.build()
                    result["seen"] = ["(does not build)"] if error else runner.test(fault["id"])
                finally:
                    path.write_text(text, "utf-8")
                result["seconds"] = round(time.monotonic() - started)
            with results.open("a") as out:
                out.write(json.dumps(result, ensure_ascii=False) + "\n")
            print(f"{fault['id']:5} {'MISSED' if result['seen'] == [] else 'seen  '} "
                  f"{'; '.join(result['seen'] or [result.get('stale', '')])[:150]}", flush=True)
        runner.build()  # the tree as HEAD again
    finally:
        session.stop()
    summary([json.loads(line) for line in results.open()])


def summary(results):
    seen = [r for r in results if r["seen"]]
    print(f"\n{len(seen)} of {len(results)} faults seen; missed: "
          + (", ".join(r["id"] for r in results if r["seen"] == []) or "none"))
    stale = [r["id"] for r in results if r["seen"] is None]
    if stale:
        print("stale (src changed): " + ", ".join(stale))
    every, alone = Counter(), Counter()
    for r in seen:
        every.update(set(r["seen"]))
        if len(set(r["seen"])) == 1:
            alone.update(set(r["seen"]))
    print(f"\n{'sees':>5} {'alone':>5}  test")
    for test, n in sorted(every.items(), key=lambda t: (-alone[t[0]], -t[1], t[0])):
        print(f"{n:5} {alone[test]:5}  {test}")


if __name__ == "__main__":
    main()
