// Program-wide helpers.
#pragma once

#include <string>

#include "platform/clock.h"
#include "platform/event_pump.h"

namespace velkaro::PrgKern {

// Waits the given number of seconds (fractions allowed) while window events go on being
// processed. Returns early when the program is ending.
void Pause(Clock& clock, EventPump& pump, double seconds);

// The time since Windows started: "1 Tag(e), 2 Stunde(n), 03 Minute(n), 04 Sekunde(n)".
std::string UptimeText(Clock& clock);

}  // namespace velkaro::PrgKern
