"""End-to-end harness: the real Velkaro.exe under Xvfb + Wine, driven like a user.

Xvfb and a template prefix are made once per run (environment()); each test class gets a
fresh copy of the template with its own wineserver, the program at C:\\Velkaro\\Velkaro.exe and
probe.exe (tests/e2e/probe) to watch windows, controls, the registry and files from inside.
"""

from .app import (INSTALL_DIR, LADE, MAIN, MAIN_TITLE, MENU, MESSAGE_BOX, PROGRAM, REPORT_DONE,
                  SPLASH, VelkaroApp, VelkaroCase)
from .desktop import Image, Mouse, grab
from .environment import (REPO, Environment, default_build_dir, environment, program_version,
                          use_environment)
from .probe import Probe, ProbeError
from .waiting import WaitTimeout, wait_for
from .wine import WinePrefix
