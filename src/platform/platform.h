// The platform services handed to the core, bundled.
#pragma once

#include "platform/clock.h"
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
  TextFiles& files;
  Management& management;
  Machine& machine;
  Devices& devices;
  PerfCounters& perf;
  Power& power;
  MemoryArena& arena;
};

}  // namespace velkaro
