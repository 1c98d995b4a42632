// The platform services handed to the core, bundled.
#pragma once

#include "platform/clock.h"
#include "platform/deadlines.h"
#include "platform/devices.h"
#include "platform/event_pump.h"
#include "platform/machine.h"
#include "platform/management.h"
#include "platform/perf.h"
#include "platform/power.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/system.h"
#include "platform/text_file.h"

namespace velkaro {

struct Platform {
  Registry& registry;
  System& system;
  Shell& shell;
  Clock& clock;
  EventPump& pump;
  Deadlines& deadlines;  // of the work under way, shared by every wait for a service
  TextFiles& files;
  Management& management;
  Machine& machine;
  Devices& devices;
  PerfCounters& perf;
  Power& power;
  MemoryArena& arena;
};

}  // namespace velkaro
