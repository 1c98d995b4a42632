"""End-to-end harness: the real Velkaro.exe under Xvfb and Wine, driven like a user.

A Session (wine.py) holds the run's Xvfb and template prefixes; an App (app.py) is the program in
a fresh copy of a template, with probe.exe (tests/e2e/probe) beside it to watch windows, controls,
the registry and processes from inside the prefix; a Scenario (scenario.py) is a test of one or
two program starts.
"""

from .app import BOX, DONE, LADE, MAIN, MENU, PROGRAM, REPORT, SPLASH, TITLE, App, wait_for
from .scenario import Scenario, build_dir, colours, program_version, session, size, use_session
from .wine import REPO, Session, processes_using
