// Program-wide helpers.
#pragma once

#include "platform/clock.h"
#include "platform/event_pump.h"

namespace velkaro::PrgKern {

// Waits the given number of seconds (fractions allowed) while window events go on being
// processed. Returns early when the program is ending.
void Pause(Clock& clock, EventPump& pump, double seconds);

}  // namespace velkaro::PrgKern
