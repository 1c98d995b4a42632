// The platform services handed to the core, bundled.
#pragma once

#include "platform/clock.h"
#include "platform/event_pump.h"
#include "platform/management.h"
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
};

}  // namespace velkaro
