"""End-to-end harness: the real Velkaro.exe under Xvfb and Wine, driven like a user. A Session
(wine.py) holds the run's Xvfb and template prefixes; an App (app.py) is the program in a copy of
a template with probe.exe beside it; a Scenario (scenario.py) is a test of program starts."""

from .app import BOX, DONE, LADE, MAIN, MENU, PROGRAM, REPORT, SPLASH, TITLE, App, Probe, wait_for
from .scenario import (HEADERS, Scenario, build_dir, colours, lines_of, program_version, session,
                       size)
from .wine import REPO, Session, processes_using
