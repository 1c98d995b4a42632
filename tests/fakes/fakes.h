// Every platform fake, bundled into one Platform for a test.
#pragma once

#include "fakes/fake_machine.h"
#include "fakes/fake_management.h"
#include "fakes/fake_system.h"
#include "platform/platform.h"

namespace velkaro::fakes {

struct FakePlatform {
  FakeRegistry registry;
  FakeSystem system;
  FakeShell shell;
  FakeClock clock;
  FakePump pump{clock};
  Deadlines deadlines{clock};
  FakeFiles files;
  FakeManagement management{clock, deadlines};
  FakeMachine machine;
  FakeDevices devices;
  FakePerf perf;
  FakePower power;
  FakeArena arena;
  Platform platform{registry,   system,  shell,   clock, pump,  deadlines, files,
                    management, machine, devices, perf,  power, arena};
};

}  // namespace velkaro::fakes
